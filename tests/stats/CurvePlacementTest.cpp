#include "stats/RegressionCurves.h"
#include "stats/RegressionJob.h"
#include "stats/RegressionOptions.h"

#include "StatsTestChart.h"
#include "support/ChartFill.h"
#include "support/FakeDialogs.h"
#include "support/Pictures.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qel;
using namespace qel::stats;
using chartview::ChartControl;
using chartview::ChartLayout;
using chartview::isEmptyPoint;

namespace {

// The charts a regression can run on: the data points stand at their X values or at the
// point numbers 1, 2, …; the fitted curves must land on the same scale.
struct ChartKind
{
    const char *name;
    quint32 chartType;
    bool hasXValues;
    // What the X values of the points hold: none (0), X values that the chart draws by, or
    // X values a category axis ignores.
    enum class Stored { None, XValues } stored;
    bool atPointNumbers; // where the chart draws the data points
};

struct RunKind
{
    const char *name;
    int job;
    RegressionOptions::Method method;
    bool se;
};

struct PlacementCase
{
    ChartKind chart;
    RunKind run;
};

std::ostream &operator<<(std::ostream &os, const PlacementCase &c)
{
    return os << c.chart.name << "_" << c.run.name;
}

const quint32 Markers = chartview::TypeShowMarkers;

const ChartKind Charts[] = {
    {"lines_without_x", chartview::GalleryLines | Markers, false, ChartKind::Stored::None, true},
    {"lines_ignoring_x", chartview::GalleryLines | Markers, false, ChartKind::Stored::XValues,
     true},
    {"lines_with_x", chartview::GalleryLines | Markers, true, ChartKind::Stored::XValues, false},
    {"scatter_without_x", chartview::GalleryScatter, false, ChartKind::Stored::None, true},
    {"scatter_stored_x", chartview::GalleryScatter, false, ChartKind::Stored::XValues, false},
    {"scatter_with_x", chartview::GalleryScatter, true, ChartKind::Stored::XValues, false},
};

const RunKind Runs[] = {
    {"line", 1, RegressionOptions::Linear, false},
    {"fixed_point", 1, RegressionOptions::FixedPoint, false},
    {"parabola", 1, RegressionOptions::Parabolic, false},
    {"se_curves", 1, RegressionOptions::Linear, true},
    {"smoothing", 77, RegressionOptions::Linear, false},
};

std::vector<PlacementCase> allCases()
{
    std::vector<PlacementCase> cases;
    for (const ChartKind &c : Charts)
        for (const RunKind &r : Runs)
            cases.push_back({c, r});
    return cases;
}

// Twelve points of two series; stored X values start at 0, so a point at X = 0 is among them.
void fillChart(ChartControl &chart, const ChartKind &kind)
{
    const bool stored = kind.stored == ChartKind::Stored::XValues;
    qel::test::fillChart(
        chart, 2, 12, [](int s, int p) { return 6 + s * 9 + 0.8 * p + 1.5 * std::sin(p * 1.3); },
        [stored](int, int p) { return stored ? p * 0.75 : 0.0; });
    for (int p = 0; p < 12; ++p)
        chart.setPointCaption(p, QStringLiteral("%1月").arg(p + 1));
    chart.setChartType(kind.chartType);
    chart.setHasXValues(kind.hasXValues);
    chart.setAxisValue(chartview::AxisYMin, 0);
    chart.setAxisValue(chartview::AxisYMax, 30);
    if (!kind.atPointNumbers) {
        chart.setAxisValue(chartview::AxisXMin, -1);
        chart.setAxisValue(chartview::AxisXMax, 10);
    } else {
        chart.setAxisValue(chartview::AxisXMin, 0);
        chart.setAxisValue(chartview::AxisXMax, 13);
    }
}

// Where a value pair lands, worked out from two data points of series 1, which the run leaves
// alone: both axes are linear.
struct Calibration
{
    double ax = 0, bx = 0, ay = 0, by = 0;
    QPointF at(double x, double y) const { return {ax + bx * x, ay + by * y}; }
};

Calibration calibrate(const ChartControl &chart, const ChartLayout &layout, bool pointNumbers)
{
    const auto placedX = [&](int p) { return pointNumbers ? p + 1.0 : chart.model().xValue(1, p); };
    QPointF a, b;
    EXPECT_TRUE(layout.pointPosition(1, 0, a));
    EXPECT_TRUE(layout.pointPosition(1, 11, b));
    const double x0 = placedX(0), x1 = placedX(11);
    const double y0 = chart.model().value(1, 0), y1 = chart.model().value(1, 11);
    Calibration c;
    c.bx = (b.x() - a.x()) / (x1 - x0);
    c.ax = a.x() - c.bx * x0;
    c.by = (b.y() - a.y()) / (y1 - y0);
    c.ay = a.y() - c.by * y0;
    return c;
}

class CurvePlacement : public ::testing::TestWithParam<PlacementCase>
{
};

} // namespace

TEST_P(CurvePlacement, FittedPointsLandWhereTheirValuesAreOnTheDataScale)
{
    const PlacementCase c = GetParam();
    ChartControl chart;
    fillChart(chart, c.chart);
    chart.setViewSize(QSize(420, 320));
    qel::test::FakeDialogs dialogs;
    RegressionOptions options;
    options.selectMethod(c.run.method);
    options.setTxtX(QStringLiteral("0"));
    options.setTxtY(QStringLiteral("5"));
    options.setSeChecked(c.run.se);
    options.setWhole(true);
    RegressionFields fields;
    qint16 colorGroups = 0;
    RegressionJob job(chart, dialogs, options, fields, colorGroups);
    const JobResult r = job.runRegressionJob(0, c.run.job);
    ASSERT_TRUE(r.succeeded()) << r.message.toStdString();
    std::ostringstream name;
    name << c;
    qel::test::savePicture(chart.renderImage(chart.viewSize()), QString::fromStdString(name.str()));

    const ChartLayout &layout = chart.currentLayout();
    const Calibration cal = calibrate(chart, layout, c.chart.atPointNumbers);
    int curvePoints = 0;
    for (int s = 0; s < chart.SeriesTotal(); ++s) {
        if (chart.model().seriesAttrColors[std::size_t(s)] == 0)
            continue;
        for (int p = 0; p < chart.PointTotal(); ++p) {
            const double y = chart.model().value(s, p);
            if (isEmptyPoint(y))
                continue;
            QPointF drawn;
            ASSERT_TRUE(layout.pointPosition(s, p, drawn)) << s << "," << p;
            const QPointF expected = cal.at(chart.model().xValue(s, p), y);
            EXPECT_NEAR(drawn.x(), expected.x(), 1.0) << "series " << s << " point " << p;
            EXPECT_NEAR(drawn.y(), expected.y(), 1.0) << "series " << s << " point " << p;
            ++curvePoints;
        }
    }
    EXPECT_GE(curvePoints, 2);

    // The field grew for the curve; the data keep the width of the plot.
    QPointF last;
    ASSERT_TRUE(layout.pointPosition(1, 11, last));
    EXPECT_GT(last.x(), layout.plot.left() + 0.8 * layout.plot.width());
    // A curve of many points leaves the markers of the data alone.
    for (const chartview::PointAnchor &a : layout.anchors) {
        if (a.series == 1) {
            EXPECT_TRUE(a.marker) << "point " << a.point;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(ChartsAndRuns, CurvePlacement, ::testing::ValuesIn(allCases()),
                         [](const ::testing::TestParamInfo<PlacementCase> &info) {
                             std::ostringstream name;
                             name << info.param;
                             return name.str();
                         });

TEST(CurveLegend, ListsTheSeriesThatHoldACurveAndNotTheEmptyOnes)
{
    // Five groups: the line of group 1 goes to group 6; groups 7 to 10 are made but stay empty.
    ChartControl chart;
    statstest::Points pts;
    for (int i = 0; i < 10; ++i)
        pts.emplace_back(i + 1, 2 * i + 1 + (i % 3));
    statstest::fillScatter(chart, {pts, pts, pts, pts, pts});
    chart.setViewSize(QSize(800, 500));
    qel::test::FakeDialogs dialogs;
    RegressionOptions options;
    RegressionFields fields;
    qint16 colorGroups = 0;
    RegressionJob job(chart, dialogs, options, fields, colorGroups);
    ASSERT_TRUE(job.runRegressionJob(0, 1).succeeded());
    ASSERT_EQ(chart.SeriesTotal(), 10);
    EXPECT_EQ(chart.currentLayout().legend, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(chart.SeriesCaption(5), QStringLiteral("Regr #1"));

    options.setSeChecked(true);
    ASSERT_TRUE(job.runRegressionJob(2, 1).succeeded());
    ASSERT_EQ(chart.SeriesTotal(), 15);
    EXPECT_EQ(chart.currentLayout().legend, (std::vector<int>{0, 1, 2, 3, 4, 5, 7, 12}));
    EXPECT_EQ(chart.SeriesCaption(12), QStringLiteral("SEy #3"));
}
