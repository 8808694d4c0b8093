#include "os/Useful.h"

#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

// The wait ends at the next whole second of the time of day at or after now + seconds; the
// time of day comes from the test, so only the least it must wait is measured, never the most.
TEST(Wait, EndsAtTheNextWholeSecondOfTheTimeOfDay)
{
    const struct
    {
        const char *name;
        double seconds, timeOfDay;
        qint64 leastMs;
    } rows[] = {
        {"zero seconds waits for the next whole second", 0, 100.8, 195},
        {"a wait across a whole second goes on to the next", 0.5, 10.7, 1295},
        {"midnight inside the wait", 0.2, 86399.9, 1095},
    };
    for (const auto &row : rows) {
        QElapsedTimer timer;
        timer.start();
        qel::os::wait(row.seconds, false, [&] { return row.timeOfDay; });
        EXPECT_GE(timer.elapsed(), row.leastMs) << row.name;
    }
}

TEST(Wait, OnAWholeSecondZeroSecondsReturnsAfterOnePass)
{
    // A zero timer fires once on every pass of the pump.
    int passes = 0;
    QTimer pass;
    QObject::connect(&pass, &QTimer::timeout, [&] { ++passes; });
    pass.start(0);
    qel::os::wait(0, true, [] { return 100.0; });
    EXPECT_EQ(passes, 1);
}

TEST(Wait, PumpsEventsOnlyWhenAsked)
{
    bool fired = false;
    QTimer::singleShot(10, [&] { fired = true; });
    qel::os::wait(0.2, false, [] { return 5.0; });
    EXPECT_FALSE(fired) << "no events without the pump flag";
    qel::os::wait(0.2, true, [] { return 5.0; });
    EXPECT_TRUE(fired);
}
