#include "shell/ResizeLayout.h"
#include "chartview/render/ChartControl.h"
#include "shell/ChartSpacing.h"
#include "shell/SpacingFollower.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qel;
using shell::ResizeLayout;

namespace {

// Chart1 as placed for the smallest window: the reference of the first resize.
constexpr int ChartWidth = ResizeLayout::MinWidth - 1920;   // 8380
constexpr int ChartHeight = ResizeLayout::MinHeight - 1700; // 6300
const QSize Minimum(ResizeLayout::MinWidth, ResizeLayout::MinHeight);

ResizeLayout::Result resized(ResizeLayout &layout, const QSize &size)
{
    ResizeLayout::Result result;
    EXPECT_TRUE(layout.resize(size, [&](const ResizeLayout::Result &r) { result = r; }));
    return result;
}

// A window whose Chart1 is factor times the reference width.
int widthForChart(double factor)
{
    return int(ChartWidth * factor) + 1920;
}

} // namespace

TEST(ResizeLayout, ASmallWindowIsEnlargedToTheMinimumAndTheControlsPlaced)
{
    const struct
    {
        QSize asked, counted;
        bool wider, higher;
    } rows[] = {
        {{9000, 7000}, {10300, 8000}, true, true},    {{12000, 7999}, {12000, 8000}, false, true},
        {{10299, 9000}, {10300, 9000}, true, false},  {{0, 0}, {10300, 8000}, true, true},
        {{10300, 8000}, {10300, 8000}, false, false},
    };
    for (const auto &c : rows) {
        SCOPED_TRACE(testing::Message() << c.asked.width() << "x" << c.asked.height());
        ResizeLayout layout;
        const auto r = resized(layout, c.asked);
        const int w = c.counted.width(), h = c.counted.height();
        EXPECT_EQ(r.inner, c.counted);
        EXPECT_EQ(r.enlargeWidth, c.wider);
        EXPECT_EQ(r.enlargeHeight, c.higher);
        EXPECT_EQ(r.geometry.chart1, QRect(0, 0, w - 1920, h - 1700));
        EXPECT_EQ(r.geometry.chart2, QRect(0, 0, w - 1920, h - 500));
        EXPECT_EQ(r.geometry.legend.top(), h - 1600);
        EXPECT_EQ(r.geometry.legend.width(), w - 1920);
        EXPECT_EQ(r.geometry.frame2.left(), w - 1860);
        EXPECT_EQ(r.geometry.frame3.left(), w - 1860);
    }
}

// Each resize measures Chart1 against the reference size; four times the reference (or a
// quarter) makes the new size the reference in that direction.
TEST(ResizeLayout, FactorsAgainstTheReferenceAndResets)
{
    struct Step
    {
        QSize size;
        double rx, ry;
        bool resetX, resetY;
        QSize reference;
    };
    const QSize designed(ChartWidth, ChartHeight);
    const Step atMinimum{Minimum, 1, 1, false, false, designed};
    const struct
    {
        const char *name;
        std::vector<Step> steps;
    } rows[] = {
        // A 864 x 648 pixel window at 96 dpi, measured against the designed chart.
        {"first resize",
         {{{12960, 9720}, 11040.0 / ChartWidth, 8020.0 / ChartHeight, false, false, designed}}},
        {"twice as wide", {atMinimum, {{widthForChart(2), 8000}, 2, 1, false, false, designed}}},
        {"four times as wide",
         {atMinimum,
          {{widthForChart(4), 8000}, 1, 1, true, false, {4 * ChartWidth, ChartHeight}},
          {{widthForChart(2), 8000}, 0.5, 1, false, false, {4 * ChartWidth, ChartHeight}}}},
        {"three times as high",
         {atMinimum,
          {{widthForChart(1.5), ChartHeight * 3 + 1700},
           1.5,
           1,
           false,
           true,
           {ChartWidth, 3 * ChartHeight}}}},
    };
    for (const auto &row : rows) {
        ResizeLayout layout;
        for (std::size_t i = 0; i < row.steps.size(); ++i) {
            const Step &step = row.steps[i];
            SCOPED_TRACE(testing::Message() << row.name << ", step " << i);
            const auto r = resized(layout, step.size);
            EXPECT_DOUBLE_EQ(r.rx, step.rx);
            EXPECT_DOUBLE_EQ(r.ry, step.ry);
            EXPECT_EQ(r.resetX, step.resetX);
            EXPECT_EQ(r.resetY, step.resetY);
            EXPECT_EQ(r.scalesSpacing(), step.rx * step.ry != 1);
            EXPECT_EQ(layout.reference(), step.reference);
        }
    }
}

TEST(ResizeLayout, AResizeDuringAResizeIsIgnored)
{
    ResizeLayout layout;
    bool nested = true;
    EXPECT_TRUE(layout.resize({9000, 7000}, [&](const ResizeLayout::Result &) {
        EXPECT_TRUE(layout.inProgress());
        // Enlarging the window reports the new size at once.
        nested = layout.resize(Minimum, nullptr);
    }));
    EXPECT_FALSE(nested);
    EXPECT_FALSE(layout.inProgress());
    EXPECT_TRUE(layout.resize(Minimum, nullptr));
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

// The spacing follows the chart's size from where it stood, so a size visited again gives
// the same spacing, and a change made in between (the text size button) is kept.
TEST(SpacingFollower, TheSpacingFollowsTheChartsSize)
{
    const struct
    {
        const char *name;
        int width, height; // 0: the text size button shrinks everything by 0.85
        int horizontal, vertical, gap;
    } rows[] = {
        {"minimum", Minimum.width(), 8000, 20, 20, 20},
        {"twice as wide", widthForChart(2), 8000, 40, 20, 40},
        {"the same again", widthForChart(2), 8000, 40, 20, 40},
        {"back at the reference", Minimum.width(), 8000, 20, 20, 20},
        {"twice as wide again", widthForChart(2), 8000, 40, 20, 40},
        {"the text size button", 0, 0, 34, 17, 34},
        {"the same size", widthForChart(2), 8000, 34, 17, 34},
        {"back at the reference", Minimum.width(), 8000, 17, 17, 17},
        {"twice as wide", widthForChart(2), 8000, 34, 17, 34},
        {"a new reference", widthForChart(5), 8000, 34, 17, 34},
        {"half of it", widthForChart(2.5), 8000, 17, 17, 17},
    };
    ResizedChart w;
    for (const auto &row : rows) {
        if (row.width == 0)
            shell::changeChartFont_GapSize(w.chart, 0.85, 0.85);
        else
            w.resize(row.width, row.height);
        EXPECT_EQ(w.chart.Spacing(5), row.horizontal) << row.name;
        EXPECT_EQ(w.chart.Spacing(7), row.vertical) << row.name;
        EXPECT_EQ(w.chart.PointGap(), row.gap) << row.name;
    }
}

TEST(SpacingFollower, DraggingThroughManySizesEndsLikeOneStep)
{
    ResizedChart dragged, jumped;
    dragged.resize(Minimum.width(), Minimum.height());
    jumped.resize(Minimum.width(), Minimum.height());
    for (int step = 1; step <= 40; ++step)
        dragged.resize(10300 + step * 200, 8000 + step * 100);
    jumped.resize(10300 + 40 * 200, 8000 + 40 * 100);
    EXPECT_EQ(dragged.chart.Spacing(5), jumped.chart.Spacing(5));
    EXPECT_EQ(dragged.chart.Spacing(7), jumped.chart.Spacing(7));
    EXPECT_EQ(dragged.chart.PointGap(), jumped.chart.PointGap());
    EXPECT_EQ(jumped.chart.Spacing(5), 39); // 20 x 16380 / 8380
    EXPECT_EQ(jumped.chart.Spacing(7), 33); // 20 x 10300 / 6300
}

TEST(ChartSpacing, ScalesEachDirectionOnlyWhenItsFactorIsNotOneAndRoundsHalvesToEven)
{
    const struct
    {
        int before[4], gapBefore; // members 5 to 8
        double rx, ry;
        int after[4], gap;
    } rows[] = {
        {{10, 10, 10, 10}, 0, 2, 1, {10, 10, 20, 20}, 0},    // the gap follows the second factor
        {{10, 10, 10, 10}, 0, 1, 1.5, {15, 15, 10, 10}, 45}, // a gap of 0 draws as 30
        {{20, 20, 20, 20}, 40, 0.85, 0.85, {17, 17, 17, 17}, 34},
        {{5, 7, 10, 10}, 0, 1, 1.5, {8, 10, 10, 10}, 45}, // 7.5 and 10.5
    };
    for (const auto &row : rows) {
        chartview::ChartControl chart;
        for (int member = 5; member <= 8; ++member)
            chart.setSpacing(member, row.before[member - 5]);
        chart.setPointGap(row.gapBefore);
        shell::changeChartFont_GapSize(chart, row.rx, row.ry);
        for (int member = 5; member <= 8; ++member)
            EXPECT_EQ(chart.Spacing(member), row.after[member - 5])
                << row.rx << " " << row.ry << " member " << member;
        EXPECT_EQ(chart.PointGap(), row.gap) << row.rx << " " << row.ry;
    }
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
        const ResizeLayout::Result result = resized(layout, r.inner);
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
