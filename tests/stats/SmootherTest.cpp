#include "stats/Smoother.h"

#include "stats/JobFailure.h"

#include "StatsTestChart.h"
#include "support/FakeDialogs.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qel;
using namespace qel::stats;
using chartview::ChartControl;
using chartview::EmptyPointValue;
using chartview::isEmptyPoint;

namespace {

std::vector<QPointF> zigzag(int n)
{
    std::vector<QPointF> v;
    for (int i = 0; i < n; ++i)
        v.emplace_back(i * 1.5, (i % 2 ? 4.0 : 1.0) + 0.1 * i);
    return v;
}

statstest::Points asPairs(const std::vector<QPointF> &v)
{
    statstest::Points p;
    for (const QPointF &q : v)
        p.emplace_back(q.x(), q.y());
    return p;
}

} // namespace

struct StepCase
{
    int valid;
    double step;
};

class SmoothingStep : public ::testing::TestWithParam<StepCase>
{
};

TEST_P(SmoothingStep, GrowsWithThePointCount)
{
    EXPECT_EQ(Smoother::stepFor(GetParam().valid), GetParam().step);
}

INSTANTIATE_TEST_SUITE_P(Counts, SmoothingStep,
                         ::testing::Values(StepCase{2, 0.05}, StepCase{9, 0.05}, StepCase{10, 0.1},
                                           StepCase{19, 0.1}, StepCase{20, 0.2}, StepCase{39, 0.2},
                                           StepCase{40, 0.25}, StepCase{49, 0.25},
                                           StepCase{50, 0.5}, StepCase{99, 0.5}, StepCase{100, 0},
                                           StepCase{5000, 0}));

TEST(Smoother, KernelPassesThroughItsThreePoints)
{
    const auto q = Smoother::kernel(2, -1, 7);
    const auto at = [&](double t) { return q[0] + q[1] * t + q[2] * t * t; };
    EXPECT_FLOAT_EQ(at(0), 2);
    EXPECT_FLOAT_EQ(at(1), -1);
    EXPECT_FLOAT_EQ(at(2), 7);
    EXPECT_EQ(Smoother::kernel(3, 3, 3), (Smoother::Quadratic{3, 0, 0}));
}

TEST(Smoother, NinePointsGive161AndTenGive91)
{
    const auto nine = Smoother::smoothPoints(zigzag(9), Smoother::stepFor(9));
    EXPECT_EQ(nine.size(), 161u);
    const auto ten = Smoother::smoothPoints(zigzag(10), Smoother::stepFor(10));
    EXPECT_EQ(ten.size(), 91u);

    // The curve runs through every original point: one per segment of 1 / h outputs.
    const auto in = zigzag(9);
    for (int k = 0; k < 9; ++k) {
        EXPECT_NEAR(nine[std::size_t(20 * k)].x(), in[std::size_t(k)].x(), 1e-5) << k;
        EXPECT_NEAR(nine[std::size_t(20 * k)].y(), in[std::size_t(k)].y(), 1e-5) << k;
    }
}

TEST(Smoother, EmptyPointsEndTheCurve)
{
    const QPointF e(EmptyPointValue, EmptyPointValue);
    const QPointF a(0, 0), b(1, 1), c(2, 0), d(5, 5), f(6, 6);
    // Three points (1 + 20 + 20), the first empty ends them, the second is copied,
    // then two points come out as they are.
    const auto out = Smoother::smoothPoints({a, b, c, e, e, d, f}, 0.05);
    ASSERT_EQ(out.size(), 41u + 1u + 2u);
    EXPECT_EQ(out[40], c);
    EXPECT_TRUE(isEmptyPoint(out[41].y()));
    EXPECT_EQ(out[42], d);
    EXPECT_EQ(out[43], f);

    // A single point is not repeated at the end.
    EXPECT_EQ(Smoother::smoothPoints({e, a}, 0.05), (std::vector<QPointF>{e, a}));
    // A point with only its X missing counts as empty too.
    EXPECT_EQ(Smoother::smoothPoints({a, QPointF(EmptyPointValue, 3), b}, 0.05).size(), 2u);
}

namespace {

struct SmoothFixture : ::testing::Test
{
    ChartControl chart;
    qel::test::FakeDialogs dialogs;
    RegressionFields fields;
    Smoother smoother{chart, dialogs, fields};
};

} // namespace

TEST_F(SmoothFixture, ReplacesTheSeriesAndResizesEveryGroup)
{
    statstest::fillScatter(chart, {asPairs(zigzag(9)), {{0, 1}, {1, 2}, {2, 3}}});
    chart.setAxisValue(chartview::AxisYMin, -2);
    chart.setAxisValue(chartview::AxisYMax, 9);

    smoother.runSmoothing(0);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages.first().text,
              QStringLiteral("現在のデータに上書きして平滑化データに変換します。\n"
                             "必要な場合はファイルをコピーして実行してください。"));
    EXPECT_EQ(dialogs.messages.first().buttons, os::MessageButtons::OkCancel);
    EXPECT_EQ(chart.PointTotal(), 161);
    EXPECT_EQ(fields.firstPoint, QStringLiteral("1"));
    EXPECT_EQ(fields.lastPoint, QStringLiteral("161"));
    // The other group keeps its points; those added to it are empty.
    EXPECT_EQ(chart.model().value(1, 2), 3);
    EXPECT_TRUE(isEmptyPoint(chart.model().value(1, 3)));
    EXPECT_TRUE(isEmptyPoint(chart.model().value(1, 160)));
    // The Y-axis range is the one before smoothing.
    EXPECT_EQ(chart.AxisValue(chartview::AxisYMin), -2);
    EXPECT_EQ(chart.AxisValue(chartview::AxisYMax), 9);
    EXPECT_FALSE(chart.ErrorPending());
}

TEST_F(SmoothFixture, GapsSplitTheCurve)
{
    // 60 points, empty at 0, 15, 30 and 45: the leading empty one is copied, the others end
    // a curve of 14 points each (1 + 12 x 2 + 2 outputs at step 0.5).
    statstest::Points pts;
    for (int i = 0; i < 60; ++i)
        pts.emplace_back(i, i % 15 == 0 ? EmptyPointValue : std::sin(i / 10.0));
    statstest::fillScatter(chart, {pts});
    ASSERT_TRUE(smoother.smoothSeries(0));
    EXPECT_EQ(chart.PointTotal(), 1 + 4 * 27);
    EXPECT_TRUE(isEmptyPoint(chart.model().value(0, 0)));
    EXPECT_NEAR(chart.model().value(0, 1), std::sin(0.1), 1e-6);
    EXPECT_NEAR(chart.model().value(0, 27), std::sin(1.4), 1e-6);
}
