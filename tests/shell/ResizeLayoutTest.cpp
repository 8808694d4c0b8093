#include "shell/ResizeLayout.h"
#include "chartview/render/ChartControl.h"
#include "shell/ChartSpacing.h"
#include "shell/SpacingFollower.h"

#include <gtest/gtest.h>

using namespace qel;
using shell::ResizeLayout;

namespace {

// Chart1 as placed for the smallest window: the reference of the first resize.
constexpr int ChartWidth = ResizeLayout::MinWidth - 1920;   // 8380
constexpr int ChartHeight = ResizeLayout::MinHeight - 1700; // 6300

ResizeLayout::Result resized(ResizeLayout &layout, int w, int h)
{
    ResizeLayout::Result result;
    EXPECT_TRUE(layout.resize(QSize(w, h), [&](const ResizeLayout::Result &r) { result = r; }));
    return result;
}

// A window whose Chart1 is factor times the reference width.
int widthForChart(double factor)
{
    return int(ChartWidth * factor) + 1920;
}

} // namespace

TEST(ResizeLayout, TheMinimumWindowShowsTheDesignedPlaces)
{
    ResizeLayout layout;
    const auto r = resized(layout, 10300, 8000);
    EXPECT_FALSE(r.enlargeWidth || r.enlargeHeight);
    EXPECT_EQ(r.geometry.chart1, QRect(0, 0, ChartWidth, ChartHeight));
    EXPECT_EQ(r.geometry.chart2, QRect(0, 0, ChartWidth, 7500));
    EXPECT_EQ(r.geometry.legend.top(), 6400);
    EXPECT_EQ(r.geometry.legend.width(), ChartWidth);
    EXPECT_EQ(r.geometry.frame2.left(), 8440);
    EXPECT_EQ(r.geometry.frame3.left(), 8440);
    EXPECT_EQ(r.rx, 1);
    EXPECT_EQ(r.ry, 1);
    EXPECT_FALSE(r.scalesSpacing());
    EXPECT_EQ(layout.reference(), QSize(ChartWidth, ChartHeight));
}

TEST(ResizeLayout, ASmallWindowIsEnlargedToTheMinimum)
{
    const struct
    {
        QSize asked;
        QSize counted;
        bool wider;
        bool higher;
    } cases[] = {
        {{9000, 7000}, {10300, 8000}, true, true},    {{12000, 7999}, {12000, 8000}, false, true},
        {{10299, 9000}, {10300, 9000}, true, false},  {{0, 0}, {10300, 8000}, true, true},
        {{10300, 8000}, {10300, 8000}, false, false},
    };
    for (const auto &c : cases) {
        ResizeLayout layout;
        const auto r = resized(layout, c.asked.width(), c.asked.height());
        EXPECT_EQ(r.inner, c.counted) << c.asked.width() << "x" << c.asked.height();
        EXPECT_EQ(r.enlargeWidth, c.wider);
        EXPECT_EQ(r.enlargeHeight, c.higher);
        EXPECT_EQ(r.geometry.chart1.width(), c.counted.width() - 1920);
        EXPECT_EQ(r.geometry.chart1.height(), c.counted.height() - 1700);
        EXPECT_EQ(r.geometry.chart2.height(), c.counted.height() - 500);
        EXPECT_EQ(r.geometry.legend.top(), c.counted.height() - 1600);
        EXPECT_EQ(r.geometry.frame2.left(), c.counted.width() - 1860);
    }
}

TEST(ResizeLayout, DoublingTheChartWidthScalesTheSpacing)
{
    ResizeLayout layout;
    resized(layout, 10300, 8000);
    const auto r = resized(layout, widthForChart(2), 8000);
    EXPECT_EQ(r.rx, 2);
    EXPECT_EQ(r.ry, 1);
    EXPECT_FALSE(r.resetX || r.resetY);
    EXPECT_TRUE(r.scalesSpacing());
    EXPECT_EQ(layout.reference(), QSize(ChartWidth, ChartHeight)) << "the reference stays";
}

TEST(ResizeLayout, FourTimesWiderMakesTheNewSizeTheReference)
{
    ResizeLayout layout;
    resized(layout, 10300, 8000);
    const auto r = resized(layout, widthForChart(4), 8000);
    EXPECT_EQ(r.rx, 1);
    EXPECT_TRUE(r.resetX);
    EXPECT_FALSE(r.resetY);
    EXPECT_FALSE(r.scalesSpacing());
    EXPECT_EQ(layout.reference(), QSize(4 * ChartWidth, ChartHeight));
    // From there, half the width is a factor of 0.5 against the new reference.
    const auto back = resized(layout, widthForChart(2), 8000);
    EXPECT_EQ(back.rx, 0.5);
    EXPECT_FALSE(back.resetX);
}

TEST(ResizeLayout, AMuchTallerWindowResetsOnlyTheHeight)
{
    ResizeLayout layout;
    resized(layout, 10300, 8000);
    const auto r = resized(layout, widthForChart(1.5), ChartHeight * 3 + 1700);
    EXPECT_EQ(r.rx, 1.5);
    EXPECT_EQ(r.ry, 1);
    EXPECT_TRUE(r.resetY);
    EXPECT_EQ(layout.reference(), QSize(ChartWidth, ChartHeight * 3));
}

TEST(ResizeLayout, TheFirstResizeMeasuresAgainstTheDesignedChart)
{
    ResizeLayout layout;
    const auto r = resized(layout, 12960, 9720); // a 864 x 648 pixel window at 96 dpi
    EXPECT_DOUBLE_EQ(r.rx, 11040.0 / ChartWidth);
    EXPECT_DOUBLE_EQ(r.ry, 8020.0 / ChartHeight);
    EXPECT_TRUE(r.scalesSpacing());
}

namespace {

// The window's part: each resize hands its factors to the spacing follower.
struct ResizedChart
{
    ResizeLayout layout;
    shell::SpacingFollower spacing;
    chartview::ChartControl chart;

    ResizedChart()
    {
        chart.setSpacing(5, 20);
        chart.setSpacing(7, 20);
        chart.setPointGap(20);
    }
    void resize(int w, int h)
    {
        layout.resize({w, h}, [this](const ResizeLayout::Result &r) {
            spacing.follow(chart, r.rx, r.ry, r.resetX, r.resetY);
        });
    }
};

} // namespace

TEST(SpacingFollower, DoublingTheChartDoublesTheSpacingOnceOnly)
{
    ResizedChart w;
    w.resize(10300, 8000);
    w.resize(widthForChart(2), 8000);
    EXPECT_EQ(w.chart.Spacing(5), 40);
    EXPECT_EQ(w.chart.PointGap(), 40);
    EXPECT_EQ(w.chart.Spacing(7), 20) << "the height did not change";
    w.resize(widthForChart(2), 8000);
    EXPECT_EQ(w.chart.Spacing(5), 40) << "the same size again changes nothing";
    w.resize(10300, 8000);
    EXPECT_EQ(w.chart.Spacing(5), 20) << "back at the reference, back to the start";
}

TEST(SpacingFollower, DraggingThroughManySizesEndsLikeOneStep)
{
    ResizedChart dragged, jumped;
    dragged.resize(10300, 8000);
    jumped.resize(10300, 8000);
    for (int step = 1; step <= 40; ++step)
        dragged.resize(10300 + step * 200, 8000 + step * 100);
    jumped.resize(10300 + 40 * 200, 8000 + 40 * 100);
    EXPECT_EQ(dragged.chart.Spacing(5), jumped.chart.Spacing(5));
    EXPECT_EQ(dragged.chart.Spacing(7), jumped.chart.Spacing(7));
    EXPECT_EQ(dragged.chart.PointGap(), jumped.chart.PointGap());
    EXPECT_EQ(jumped.chart.Spacing(5), 39); // 20 x 16380 / 8380
    EXPECT_EQ(jumped.chart.Spacing(7), 33); // 20 x 10300 / 6300
}

TEST(SpacingFollower, AResetKeepsTheSpacingTheChartHasThen)
{
    ResizedChart w;
    w.resize(10300, 8000);
    w.resize(widthForChart(2), 8000);
    w.resize(widthForChart(5), 8000); // 2.5 times the reference: a new reference
    EXPECT_EQ(w.chart.Spacing(5), 40);
    w.resize(widthForChart(2.5), 8000); // half the new reference
    EXPECT_EQ(w.chart.Spacing(5), 20);
}

TEST(SpacingFollower, AChangeMadeElsewhereIsKept)
{
    ResizedChart w;
    w.resize(10300, 8000);
    w.resize(widthForChart(2), 8000);
    // The text size button shrinks the spacing while the chart is twice as wide.
    shell::changeChartFont_GapSize(w.chart, 0.85, 0.85);
    EXPECT_EQ(w.chart.Spacing(5), 34);
    w.resize(widthForChart(2), 8000);
    EXPECT_EQ(w.chart.Spacing(5), 34);
    w.resize(10300, 8000);
    EXPECT_EQ(w.chart.Spacing(5), 17);
}

TEST(ResizeLayout, AResizeDuringAResizeIsIgnored)
{
    ResizeLayout layout;
    bool nested = true;
    EXPECT_TRUE(layout.resize({9000, 7000}, [&](const ResizeLayout::Result &) {
        EXPECT_TRUE(layout.inProgress());
        // Enlarging the window reports the new size at once.
        nested = layout.resize({10300, 8000}, nullptr);
    }));
    EXPECT_FALSE(nested);
    EXPECT_FALSE(layout.inProgress());
    EXPECT_TRUE(layout.resize({10300, 8000}, nullptr));
}

TEST(ChartSpacing, ScalesEachDirectionOnlyWhenItsFactorIsNotOne)
{
    chartview::ChartControl chart;
    for (int member = 5; member <= 8; ++member)
        chart.setSpacing(member, 10);
    shell::changeChartFont_GapSize(chart, 2, 1);
    EXPECT_EQ(chart.Spacing(7), 20);
    EXPECT_EQ(chart.Spacing(8), 20);
    EXPECT_EQ(chart.Spacing(5), 10);
    EXPECT_EQ(chart.PointGap(), 0) << "the gap follows the horizontal factor only";

    shell::changeChartFont_GapSize(chart, 1, 1.5);
    EXPECT_EQ(chart.Spacing(5), 15);
    EXPECT_EQ(chart.Spacing(6), 15);
    EXPECT_EQ(chart.Spacing(7), 20);
    EXPECT_EQ(chart.PointGap(), 45) << "a gap of 0 draws as 30 and scales from there";

    chart.setPointGap(40);
    shell::changeChartFont_GapSize(chart, 0.85, 0.85);
    EXPECT_EQ(chart.PointGap(), 34);
    EXPECT_EQ(chart.Spacing(7), 17);
}

TEST(ChartSpacing, RoundsHalvesToEven)
{
    chartview::ChartControl chart;
    chart.setSpacing(5, 5); // 7.5 -> 8
    chart.setSpacing(6, 7); // 10.5 -> 10
    shell::changeChartFont_GapSize(chart, 1, 1.5);
    EXPECT_EQ(chart.Spacing(5), 8);
    EXPECT_EQ(chart.Spacing(6), 10);
}

TEST(ResizeLayout, TheColumnTakesTheWidthItsFramesNeedAndStandsBesideWhenTooLow)
{
    const struct
    {
        const char *name;
        QSize frame2, frame3; // what the frames need
        QSize available;      // empty: no limit
        QSize inner;          // the window asked for
        QSize counted;        // W and H as the rule counts them
        bool beside;
        int columnWidth;
    } rows[] = {
        {"designed", {1800, 3060}, {1800, 4920}, {}, {9000, 7000}, {10300, 8000}, false, 1800},
        {"wider captions",
         {3000, 3000},
         {3400, 4000},
         {},
         {12000, 9000},
         {12000, 9000},
         false,
         3400},
        {"a wide column widens the minimum",
         {3400, 3000},
         {3400, 4000},
         {},
         {9000, 7000},
         {8380 + 3400 + 120, 8000},
         false,
         3400},
        {"a tall column heightens the minimum",
         {3000, 4500},
         {3000, 6000},
         {},
         {9000, 7000},
         {8380 + 3000 + 120, 10500},
         false,
         3000},
        {"a low screen sets them side by side",
         {3000, 4500},
         {3000, 6000},
         {20000, 7500},
         {9000, 7000},
         {8380 + 6060 + 120, 7500},
         true,
         6060},
        {"never beyond the screen",
         {3000, 4500},
         {3000, 6000},
         {12000, 7500},
         {9000, 7000},
         {12000, 7500},
         true,
         6060},
    };
    for (const auto &r : rows) {
        ResizeLayout layout;
        layout.setFrameNeeds(r.frame2, r.frame3);
        layout.setAvailable(r.available);
        const ResizeLayout::Result result = resized(layout, r.inner.width(), r.inner.height());
        const ResizeLayout::Geometry &g = result.geometry;
        EXPECT_EQ(result.inner, r.counted) << r.name;
        EXPECT_EQ(result.besideEachOther, r.beside) << r.name;
        EXPECT_EQ(layout.columnSize(r.counted.height()).width(), r.columnWidth) << r.name;
        // The charts keep the designed 60 twips from the column, the column 60 from the edge.
        const int w = r.counted.width();
        EXPECT_EQ(g.frame2.left(), w - r.columnWidth - 60) << r.name;
        EXPECT_EQ(g.chart1.width(), w - r.columnWidth - 120) << r.name;
        EXPECT_EQ(g.chart2.width(), g.chart1.width()) << r.name;
        EXPECT_EQ(g.legend.top(), r.counted.height() - 1600) << r.name;
        if (r.beside) {
            EXPECT_EQ(g.frame3.top(), 0) << r.name;
            EXPECT_EQ(g.frame3.left(), g.frame2.right() + 1 + 60) << r.name;
        } else {
            EXPECT_EQ(g.frame3.left(), g.frame2.left()) << r.name;
            EXPECT_EQ(g.frame3.top(), g.frame2.bottom() + 1) << r.name;
        }
    }
}
