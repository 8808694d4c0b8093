#include "os/Useful.h"

#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

using qel::os::wait;

namespace {

qint64 elapsedMsOfWait(double seconds, double timeOfDay, bool pump = false)
{
    QElapsedTimer timer;
    timer.start();
    wait(seconds, pump, [timeOfDay] { return timeOfDay; });
    return timer.elapsed();
}

} // namespace

TEST(Wait, ZeroSecondsEndsAtTheNextWholeSecond)
{
    const qint64 ms = elapsedMsOfWait(0, 100.8);
    EXPECT_GE(ms, 195);
    EXPECT_LT(ms, 600);
}

TEST(Wait, OnAWholeSecondZeroSecondsReturnsAtOnce)
{
    EXPECT_LT(elapsedMsOfWait(0, 100.0), 150);
}

TEST(Wait, CrossesAWholeSecondBoundary)
{
    // 0.5 s from 10.7 ends at 11.2, which rounds up to the boundary 12: 1.3 s.
    const qint64 ms = elapsedMsOfWait(0.5, 10.7);
    EXPECT_GE(ms, 1295);
    EXPECT_LT(ms, 1900);
}

TEST(Wait, EndsWhenMidnightFallsInside)
{
    // 86399.9 + 0.2 passes midnight; the next whole second after it is 1.1 s away.
    const qint64 ms = elapsedMsOfWait(0.2, 86399.9);
    EXPECT_GE(ms, 1095);
    EXPECT_LT(ms, 1700);
}

TEST(Wait, PumpsEventsWhileWaiting)
{
    bool fired = false;
    QTimer::singleShot(10, [&] { fired = true; });
    elapsedMsOfWait(0.2, 5.0);
    EXPECT_FALSE(fired) << "no events without the pump flag";
    elapsedMsOfWait(0.2, 5.0, true);
    EXPECT_TRUE(fired);
}
