#include "chartview/CfxOcx.h"
#include "chartview/render/ChartControl.h"

#include <gtest/gtest.h>

using namespace qel::chartview;

TEST(CfxOcx, PacksAndUnpacksWords)
{
    EXPECT_EQ(LowWordOf(0x0000FFFF), -1);
    EXPECT_EQ(LowWordOf(0x00017FFF), 32767);
    EXPECT_EQ(HighWordOf(qint32(0xFFFF0000)), -1);
    EXPECT_EQ(HighWordOf(-1), 0);
    EXPECT_EQ(HighWordOf(0x0005FFFF), 5);
    EXPECT_EQ(HighWordOf(65535), 0);
    EXPECT_EQ(HighWordOf(-65535), 0);
    EXPECT_EQ(MakeLong(30, 90), 90 * 65536 + 30);
    EXPECT_EQ(MakeLong(-1, 2), 2 * 65536 - 1);
    for (qint16 low : {qint16(0), qint16(5), qint16(-1), qint16(32767), qint16(-32768)}) {
        for (qint16 high : {qint16(0), qint16(7), qint16(300)}) {
            EXPECT_EQ(LowWordOf(MakeLong(low, high)), low);
            if (low >= 0) {
                EXPECT_EQ(HighWordOf(MakeLong(low, high)), high);
            }
        }
    }
}

TEST(CfxOcx, LayoutPairAccessWritesAndReadsBothHalves)
{
    ChartControl chart;
    qint16 a = 1200, b = -40;
    LayoutPairAccess(chart, 0, 1, a, b);
    EXPECT_EQ(chart.LayoutPair(0x4001), MakeLong(1200, -40));
    qint16 ra = 0, rb = 0;
    LayoutPairAccess(chart, 1, 1, ra, rb);
    EXPECT_EQ(ra, 1200);
    // The high word comes back through the truncating division, as the chart always did.
    EXPECT_EQ(rb, -39);
    qint16 ua = 9, ub = 9;
    LayoutPairAccess(chart, 0, 2, ua, ub);
    LayoutPairAccess(chart, 1, 5, ua, ub);
    EXPECT_EQ(ua, 9) << "any other selector does nothing";
    EXPECT_EQ(chart.LayoutPair(0x4000), 0);
}

namespace {

// Counts the recovery commands the trap sends.
class RecordingChart : public ChartControl
{
public:
    qint32 ChartCommand(qint16 code, qint32 param) override
    {
        if (code == CommandRecover)
            ++recoveries;
        return ChartControl::ChartCommand(code, param);
    }
    int recoveries = 0;
};

int beeps = 0;
void countBeep()
{
    ++beeps;
}

} // namespace

TEST(ChartErrorTrap, TwoErrorsSendOneRecoveryUntilACallSucceeds)
{
    RecordingChart chart;
    chart.setBackgroundGradient({true, GradientVertical, rgb(255, 255, 128), rgb(0, 255, 255)});
    ChartErrorTrap trap(chart);
    trap.setBeep(countBeep);
    beeps = 0;

    chart.setActiveSeries(5); // no such series: the call fails
    runChartErrorTrap();
    EXPECT_EQ(chart.recoveries, 1);
    EXPECT_FALSE(chart.backgroundGradient().on)
        << "the program's own painting stops after an error";
    EXPECT_EQ(chart.backgroundGradient().kind, GradientVertical) << "the kind is kept";
    EXPECT_TRUE(trap.chartErrorShown());

    chart.setValueY(99, 1.0);
    runChartErrorTrap();
    EXPECT_EQ(chart.recoveries, 1) << "the second error sends nothing more";
    EXPECT_EQ(beeps, 2);

    runChartErrorTrap(); // no error pending: a success
    EXPECT_FALSE(trap.chartErrorShown());
    chart.setActiveSeries(-3);
    runChartErrorTrap();
    EXPECT_EQ(chart.recoveries, 2);
}

TEST(ChartErrorTrap, OnlyTheInstalledTrapRuns)
{
    RecordingChart chart;
    bool gradient = true;
    {
        ChartErrorTrap trap(chart);
        trap.setGradientSwitchOff([&] { gradient = false; });
        EXPECT_EQ(ChartErrorTrap::installed(), &trap);
    }
    EXPECT_EQ(ChartErrorTrap::installed(), nullptr);
    chart.setActiveSeries(5);
    runChartErrorTrap();
    EXPECT_EQ(chart.recoveries, 0);
    EXPECT_TRUE(gradient);
}

TEST(ChartErrorTrap, UnpackingANumberRunsNoTrap)
{
    RecordingChart chart;
    bool gradient = true;
    ChartErrorTrap trap(chart);
    trap.setGradientSwitchOff([&] { gradient = false; });
    chart.setActiveSeries(5); // out of range: an error is pending
    EXPECT_EQ(HighWordOf(0x0005FFFF), 5);
    EXPECT_EQ(chart.recoveries, 0) << "a getter has no side effect";
    EXPECT_TRUE(gradient);
    runChartErrorTrap();
    EXPECT_EQ(chart.recoveries, 1);
    EXPECT_FALSE(gradient);
}
