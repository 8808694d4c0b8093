#include "chartview/AxisScale.h"
#include "chartview/CfxOcx.h"
#include "chartview/render/ChartControl.h"
#include "chartview/render/ChartPainter.h"
#include "support/ChartFill.h"
#include "support/Pictures.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace qel::chartview;

namespace {

struct GeometryCase
{
    const char *name;
    quint32 chartType;
    bool view3D;
    int elevation;
    int rotation;
    QSize size;
    bool hasXValues = false;
};

std::ostream &operator<<(std::ostream &os, const GeometryCase &c)
{
    return os << c.name;
}

// Four series of nine points with distinct values; point (1, 4) is hidden.
ChartModel testModel(const GeometryCase &c)
{
    ChartControl chart;
    qel::test::fillChart(
        chart, 4, 9, [](int s, int p) { return 12 + 9 * s + 4 * ((p * 7 + s * 3) % 9); },
        [](int s, int p) { return 1.5 * p + 0.3 * s; });
    for (int p = 0; p < 9; ++p)
        chart.setPointCaption(p, QStringLiteral("P%1").arg(p + 1));
    chart.setActiveSeries(1);
    chart.setValueY(4, EmptyPointValue);
    chart.setTitleCaption(0, QStringLiteral("左タイトル"));
    chart.setTitleCaption(3, QStringLiteral("X\r\n\r\nFig. 試験"));
    chart.setChartType(c.chartType);
    chart.setHasXValues(c.hasXValues);
    chart.setView3D(c.view3D);
    chart.setViewAngles(MakeLong(qint16(c.elevation), qint16(c.rotation)));
    return chart.model();
}

class ChartGeometry : public ::testing::TestWithParam<GeometryCase>
{
};

TEST_P(ChartGeometry, EveryDrawnPointHitTestsBackToItself)
{
    const GeometryCase c = GetParam();
    ChartControl chart;
    chart.setModel(testModel(c));
    chart.setViewSize(c.size);
    qel::test::savePicture(chart.renderImage(c.size), QString::fromLatin1(c.name));
    int checked = 0;
    for (int s = 0; s < 4; ++s) {
        for (int p = 0; p < 9; ++p) {
            const QPoint pos = qel::test::pointPosition(chart, s, p);
            if (s == 1 && p == 4) {
                EXPECT_TRUE(chart.ErrorPending()) << "a hidden point has no position";
                chart.clearError();
                continue;
            }
            ASSERT_FALSE(chart.ErrorPending()) << s << "," << p;
            const qint16 x = qint16(pos.x()), y = qint16(pos.y());
            EXPECT_GE(x, 0);
            EXPECT_GE(y, 0);
            EXPECT_LT(x, c.size.width());
            EXPECT_LT(y, c.size.height());
            const qint32 hit = chart.ChartQuery(QueryHitTest, MakeLong(x, y));
            const qint16 hs = LowWordOf(hit);
            EXPECT_EQ(hs, s) << "point " << s << "," << p << " at " << x << "," << y;
            EXPECT_EQ((hit - hs) / 65536, p) << "point " << s << "," << p;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 35);
    // The chart's corner is no point.
    EXPECT_LT(LowWordOf(chart.ChartQuery(QueryHitTest, MakeLong(1, 1))), 0);
}

TEST_P(ChartGeometry, PaintedLayoutMatchesTheQueries)
{
    const GeometryCase c = GetParam();
    ChartControl chart;
    chart.setModel(testModel(c));
    chart.setViewSize(c.size);
    QImage image(c.size, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    const ChartLayout painted = chart.paint(&painter, QRectF(QPointF(0, 0), QSizeF(c.size)));
    painter.end();
    const ChartLayout &queried = chart.currentLayout();
    ASSERT_EQ(painted.anchors.size(), queried.anchors.size());
    for (std::size_t i = 0; i < painted.anchors.size(); ++i)
        EXPECT_EQ(painted.anchors[i].position, queried.anchors[i].position);
}

TEST_P(ChartGeometry, YAxisMinimumLiesBelowItsMaximum)
{
    const GeometryCase c = GetParam();
    if ((c.chartType & GalleryMask) == GalleryPie)
        GTEST_SKIP() << "a pie has no axes";
    if (c.view3D && c.elevation == 90)
        GTEST_SKIP() << "seen from straight above the value axis points at the viewer";
    ChartControl chart;
    chart.setModel(testModel(c));
    chart.setViewSize(c.size);
    const qint32 bottom = chart.ChartQuery(QueryValuePosition, chart.AxisValue(AxisYMin));
    const qint32 top = chart.ChartQuery(QueryValuePosition, chart.AxisValue(AxisYMax));
    EXPECT_GT(bottom, top);
    chart.setQueryAxis(2);
    const qint32 left = chart.ChartQuery(QueryValuePosition, chart.AxisValue(AxisXMin));
    const qint32 right = chart.ChartQuery(QueryValuePosition, chart.AxisValue(AxisXMax));
    // Turned more than a quarter round, the X axis runs from right to left.
    const bool turned = c.view3D && c.rotation > 90 && c.rotation < 270;
    EXPECT_EQ(turned, left > right) << left << " " << right;
}

const quint32 Styled = 0x4500 | 0x20000;

INSTANTIATE_TEST_SUITE_P(
    TypesSizesAndAngles, ChartGeometry,
    ::testing::Values(
        GeometryCase{"lines_2d", GalleryLines | Styled, false, 30, 0, {800, 500}},
        GeometryCase{"lines_small", GalleryLines | Styled, false, 30, 0, {320, 240}},
        GeometryCase{"scatter_2d", GalleryScatter, false, 30, 0, {640, 480}},
        GeometryCase{"scatter_x_values", GalleryScatter, false, 30, 0, {640, 480}, true},
        GeometryCase{"bars_2d", GalleryBars, false, 30, 0, {900, 400}},
        GeometryCase{"bars_styled", GalleryBars | Styled, false, 30, 0, {500, 500}},
        GeometryCase{"area_2d", GalleryArea | Styled, false, 30, 0, {700, 420}},
        GeometryCase{"marks_2d", GalleryMarks, false, 30, 0, {700, 420}},
        GeometryCase{"pie_2d", GalleryPie | Styled, false, 30, 0, {800, 600}},
        GeometryCase{"pie_3d", GalleryPie | Styled, true, 30, 0, {800, 600}},
        GeometryCase{"surface_2d", GallerySurface | Styled, false, 30, 0, {700, 420}},
        GeometryCase{"lines_3d_0", GalleryLines | Styled, true, 30, 0, {900, 560}},
        GeometryCase{"lines_3d_45", GalleryLines | Styled, true, 30, 45, {900, 560}},
        GeometryCase{"lines_3d_8", GalleryLines | Styled, true, 30, 8, {900, 560}},
        GeometryCase{"lines_3d_90", GalleryLines | Styled, true, 30, 90, {900, 560}},
        GeometryCase{"lines_3d_180", GalleryLines | Styled, true, 30, 180, {900, 560}},
        GeometryCase{"lines_3d_270", GalleryLines | Styled, true, 30, 270, {900, 560}},
        GeometryCase{"lines_3d_below", GalleryLines | Styled, true, -20, 30, {900, 560}},
        GeometryCase{"bars_3d_0", GalleryBars | Styled, true, 30, 0, {900, 560}},
        GeometryCase{"bars_3d_30", GalleryBars | Styled, true, 30, 30, {900, 560}},
        GeometryCase{"bars_3d_150", GalleryBars | Styled, true, 30, 150, {900, 560}},
        GeometryCase{"bars_3d_300", GalleryBars | Styled, true, 20, 300, {640, 480}},
        GeometryCase{"area_3d_20", GalleryArea | Styled, true, 30, 20, {900, 560}},
        GeometryCase{"scatter_3d", GalleryScatter, true, 30, 60, {800, 500}},
        GeometryCase{"surface_3d_mosaic", GallerySurface | Styled, true, 90, 0, {800, 500}},
        GeometryCase{"surface_3d_30", GallerySurface | Styled, true, 35, 30, {800, 500}}),
    [](const ::testing::TestParamInfo<GeometryCase> &info) {
        return std::string(info.param.name);
    });

TEST(ChartPainting, AHiddenPointIsNeverDrawn)
{
    ChartControl chart;
    qel::test::fillChart(chart, 1, 3, [](int, int p) { return p == 1 ? 47 : 10 * (p + 1); });
    chart.setChartType(GalleryMarks);
    chart.setViewSize(QSize(400, 300));
    const QPoint at = qel::test::pointPosition(chart, 0, 1); // off the grid lines
    const QColor marker = chart.renderImage(chart.viewSize()).pixelColor(at);

    chart.setAxisValue(AxisYMin, chart.AxisValue(AxisYMin)); // keep the scale as it was
    chart.setAxisValue(AxisYMax, chart.AxisValue(AxisYMax));
    chart.setActiveSeries(0);
    chart.setValueY(1, EmptyPointValue);
    const QColor hidden = chart.renderImage(chart.viewSize()).pixelColor(at);
    EXPECT_NE(marker, hidden);
    EXPECT_EQ(hidden, toQColor(chart.model().backColorB)) << "the plot shows through, no zero";
    EXPECT_LT(LowWordOf(chart.ChartQuery(QueryHitTest, MakeLong(qint16(at.x()), qint16(at.y())))),
              0);
}

TEST(ChartPainting, AHiddenPointBreaksTheLine)
{
    ChartControl chart;
    qel::test::fillChart(chart, 1, 3, [](int, int) { return 43; }); // off the grid lines
    chart.setChartType(GalleryLines);
    chart.setViewSize(QSize(400, 300));
    chart.setAxisValue(AxisYMin, 0);
    chart.setAxisValue(AxisYMax, 100);
    const QPoint between =
        (qel::test::pointPosition(chart, 0, 0) + qel::test::pointPosition(chart, 0, 1)) / 2;
    EXPECT_NE(chart.renderImage(chart.viewSize()).pixelColor(between),
              toQColor(chart.model().backColorB));
    chart.setActiveSeries(0);
    chart.setValueY(1, EmptyPointValue);
    EXPECT_EQ(chart.renderImage(chart.viewSize()).pixelColor(between),
              toQColor(chart.model().backColorB))
        << "no line is drawn towards a hidden point";
}

TEST(ChartPainting, MarkersOnTheEndsOfTheAxesStayInsideThem)
{
    // The lowest point on both axis minima, the highest on both maxima.
    for (quint32 gallery : {GalleryScatter, GalleryLines | TypeShowMarkers, GalleryMarks}) {
        ChartControl chart;
        const double ys[] = {9.5, 11, 14};
        qel::test::fillChart(
            chart, 1, 3, [&](int, int p) { return ys[p]; }, [](int, int p) { return p + 1; });
        chart.setChartType(gallery);
        chart.setAxisValue(AxisXMin, 1);
        chart.setAxisValue(AxisXMax, 3);
        chart.setAxisValue(AxisYMin, 9.5);
        chart.setAxisValue(AxisYMax, 14);
        chart.setViewSize(QSize(500, 300));
        const ChartLayout &l = chart.currentLayout();
        const double r = 7.0 / 2; // the smallest marker
        ASSERT_EQ(l.anchors.size(), 3u);
        for (const PointAnchor &a : l.anchors) {
            EXPECT_TRUE(a.marker);
            EXPECT_TRUE(l.plot.adjusted(r, r, -r, -r).contains(a.position))
                << gallery << " point " << a.point << " at " << a.position.x() << ","
                << a.position.y();
        }
    }
}

TEST(ChartPainting, ALongSeriesDropsOnlyItsOwnMarkers)
{
    // 200 points in one series, 9 in the other: only the long one is too dense for markers.
    ChartControl chart;
    qel::test::fillChart(
        chart, 2, 200,
        [](int s, int p) {
            return s == 1 && p >= 9 ? EmptyPointValue : s * 10 + std::sin(p * 0.3);
        },
        [](int s, int p) { return s == 0 ? p * 0.05 : p + 0.5; });
    chart.setChartType(GalleryScatter);
    chart.setViewSize(QSize(500, 300));
    int marked[2] = {0, 0};
    for (const PointAnchor &a : chart.currentLayout().anchors)
        marked[a.series] += a.marker;
    EXPECT_EQ(marked[0], 0);
    EXPECT_EQ(marked[1], 9);
}

TEST(ChartPainting, OddChartsPaintWithoutHarm)
{
    std::vector<ChartModel> models(6);
    models[1].resizeGrid(3, 0);
    models[2].resizeGrid(2, 5); // every point hidden
    models[3].resizeGrid(1, 4);
    models[3].values = {1e30, -1e30, 0, 3};
    models[3].axisValues = {{AxisYMin, 5}, {AxisYMax, 5}, {AxisYStep, -1}};
    models[4].resizeGrid(2, 20000);
    for (float &v : models[4].values)
        v = float(&v - models[4].values.data()) * 0.5f;
    models[5].resizeGrid(1, 1);
    models[5].values = {7};
    models[5].spacing = {400, 400, 400, 400};
    models[5].depth3D = 999;
    for (const ChartModel &base : models) {
        for (quint32 gallery : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 10u, 15u}) {
            for (bool view3D : {false, true}) {
                ChartModel m = base;
                m.chartType = gallery | 0x4500 | 0x20000;
                m.view3D = view3D;
                m.viewAngles = MakeLong(90, 200);
                for (QSize size : {QSize(16, 16), QSize(300, 200)}) {
                    QImage image(size, QImage::Format_ARGB32_Premultiplied);
                    QPainter painter(&image);
                    const ChartLayout l =
                        ChartPainter(m).paint(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
                    // Whatever the chart, every recorded point is a real place.
                    for (const PointAnchor &a : l.anchors) {
                        ASSERT_TRUE(std::isfinite(a.position.x()) && std::isfinite(a.position.y()))
                            << gallery << " " << a.series << "," << a.point;
                    }
                    if (&base == &models[2]) {
                        EXPECT_TRUE(l.anchors.empty()) << "every point is hidden";
                    }
                }
            }
        }
    }
}

TEST(ChartPainting, BackgroundHookPaintsTheSurround)
{
    ChartControl chart;
    chart.setViewSize(QSize(200, 150));
    int calls = 0;
    chart.setBackgroundPainter([&](QPainter *p, const QRect &area) {
        ++calls;
        p->fillRect(area, QColor(255, 0, 255));
        return true;
    });
    const QImage image = chart.renderImage(chart.viewSize());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(image.pixelColor(1, 1), QColor(255, 0, 255));
}

TEST(ChartPainting, JapaneseFontNamesMapToTheIpaFonts)
{
    EXPECT_EQ(ChartPainter::resolveFamily(QStringLiteral("ＭＳ Ｐ明朝")),
              QStringLiteral("IPAPMincho"));
    EXPECT_EQ(ChartPainter::resolveFamily(QStringLiteral("ＭＳ 明朝")),
              QStringLiteral("IPAMincho"));
    EXPECT_EQ(ChartPainter::resolveFamily(QStringLiteral("ＭＳ Ｐゴシック")),
              QStringLiteral("IPAPGothic"));
    EXPECT_EQ(ChartPainter::resolveFamily(QStringLiteral("IPAMincho")),
              QStringLiteral("IPAMincho"));
    EXPECT_EQ(ChartPainter::resolveFamily(QStringLiteral("DejaVu Sans")),
              QStringLiteral("DejaVu Sans"));
}

} // namespace

TEST(AxisScale, TicksReachEndsThatCameFromSingles)
{
    AxisScale s;
    s.min = double(1.0f);
    s.max = double(15 * 0.2f);
    s.step = double(0.2f);
    const std::vector<double> t = s.ticks();
    ASSERT_FALSE(t.empty());
    EXPECT_NEAR(t.front(), 1.0, 1e-6);
    EXPECT_NEAR(t.back(), 3.0, 1e-6);
    EXPECT_EQ(t.size(), 11u);
}

// A 3D ribbon of far more points than pixels is drawn whole, yet covers each of its points
// and keeps every point for the mouse.
TEST(ChartGeometry, DenseRibbonCoversItsPointsAndKeepsEveryPoint)
{
    constexpr int Points = 20000;
    ChartControl chart;
    chart.BeginDataLoad(ChannelValues, 1, Points);
    chart.BeginDataLoad(ChannelXValues, 1, Points);
    chart.setActiveSeries(0);
    double v = 50;
    for (int p = 0; p < Points; ++p) {
        v += ((p * 7919) % 13 - 6) * 0.3; // a walk up and down
        chart.setValueY(p, v);
    }
    chart.EndDataLoad(ChannelValues);
    chart.EndDataLoad(ChannelXValues);
    chart.setChartType(GalleryLines);
    chart.setView3D(true);
    chart.setDepth3D(900);
    chart.setViewAngles(MakeLong(qint16(20), qint16(35)));

    QImage image(700, 450, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const ChartLayout layout = chart.paint(&painter, QRectF(0, 0, 700, 450));
    painter.end();

    ASSERT_EQ(layout.anchors.size(), std::size_t(Points));
    const QColor series = toQColor(chart.model().seriesColor(0));
    for (int p = 0; p < Points; p += 997) {
        QPointF at;
        ASSERT_TRUE(layout.pointPosition(0, p, at));
        EXPECT_EQ(layout.hitTest(at, 0.01), std::make_pair(0, p));
        const QColor c = image.pixelColor(at.toPoint());
        EXPECT_NEAR(c.hueF(), series.hueF(), 0.06) << "point " << p << " is not covered";
        EXPECT_GT(c.saturationF(), 0.3) << "point " << p;
    }
}

// Many anchors are searched through a grid; it finds what a scan of every anchor finds, equal
// distances and the edge of the radius included.
TEST(ChartGeometry, HitTestOverManyAnchorsFindsWhatAScanFinds)
{
    ChartLayout layout;
    std::mt19937 rng(16);
    std::uniform_int_distribution<int> coordinate(0, 400);
    for (int i = 0; i < 20000; ++i) {
        // Whole pixels, so several anchors share a place and distances tie.
        layout.anchors.push_back(
            {i % 7, i, QPointF(coordinate(rng), coordinate(rng) / 2.0), false});
    }
    const auto scan = [&](const QPointF &pos, double radius) {
        const PointAnchor *best = nullptr;
        double bestDistance = radius * radius;
        for (const PointAnchor &a : layout.anchors) {
            const double dx = a.position.x() - pos.x(), dy = a.position.y() - pos.y();
            if (dx * dx + dy * dy <= bestDistance) {
                bestDistance = dx * dx + dy * dy;
                best = &a;
            }
        }
        return best ? std::make_pair(best->series, best->point) : std::make_pair(-1, -1);
    };
    std::uniform_real_distribution<double> place(-20, 420);
    for (int i = 0; i < 3000; ++i) {
        const QPointF pos = i % 3 ? QPointF(place(rng), place(rng) / 2)
                                  : QPointF(coordinate(rng), coordinate(rng) / 2.0 + 3);
        const double radius = i % 5 == 0 ? 3 : 6;
        ASSERT_EQ(layout.hitTest(pos, radius), scan(pos, radius))
            << pos.x() << "," << pos.y() << " r " << radius;
    }
}

// A painted line chart records its anchors in stretches ordered along x; a query bisects them
// and finds what a look at every anchor finds, in 2D and in 3D views, with dense series whose
// markers are dropped, a gap and fitted-curve points on X values that go back and forth.
TEST(ChartGeometry, OrderedStretchesAnswerAsEveryAnchorWouldBeLookedAt)
{
    struct Case
    {
        const char *name;
        bool view3D;
        int rotation;
        int points;
    };
    const Case cases[] = {
        {"2D, markers", false, 0, 40},
        {"2D, dense", false, 0, 4000},
        {"3D from the front, dense", true, 0, 4000},
        {"3D turned, dense", true, 35, 4000},
        {"3D turned the other way, dense", true, -140, 4000},
    };
    for (const Case &c : cases) {
        ChartControl chart;
        qel::test::fillChart(
            chart, 3, c.points, [](int s, int p) { return 50 + 20 * s + ((p * 37 + s) % 23); },
            [](int, int p) { return double(p); });
        chart.setActiveSeries(1);
        chart.setValueY(c.points / 2, EmptyPointValue);
        chart.setChartType(GalleryLines | TypeShowMarkers);
        chart.setView3D(c.view3D);
        chart.setViewAngles(MakeLong(qint16(20), qint16(c.rotation)));
        const QSize size(700, 400);
        chart.setViewSize(size);
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        ChartLayout bisected = chart.paint(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
        painter.end();
        std::size_t covered = 0;
        for (const auto &run : bisected.xOrderedRuns)
            covered += run.end - run.begin;
        if (!c.view3D || c.points > 100) {
            EXPECT_EQ(covered, bisected.anchors.size()) << c.name;
        }
        ChartLayout scanned = bisected;
        scanned.xOrderedRuns.clear();
        std::mt19937 rng(3);
        std::uniform_real_distribution<double> xs(0, size.width()), ys(0, size.height());
        for (int i = 0; i < 400; ++i) {
            // Half the queries land on an anchor, where equal distances are likeliest.
            const QPointF pos =
                i % 2 ? QPointF(xs(rng), ys(rng))
                      : bisected.anchors[std::size_t(i * 7919) % bisected.anchors.size()].position;
            ASSERT_EQ(bisected.hitTest(pos), scanned.hitTest(pos))
                << c.name << " at " << pos.x() << "," << pos.y();
        }
    }
}
