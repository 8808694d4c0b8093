#include "chartview/render/ChartClipboard.h"
#include "chartview/render/ChartControl.h"
#include "support/ChartFill.h"
#include "support/Pictures.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QMimeData>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace qel::chartview;

namespace {

constexpr Rgb Blue = rgb(0, 0, 255);

// One series of three values (10, 50, 90) on an axis from 0 to 100, without grid lines.
void fillChart(ChartControl &chart, quint32 gallery = GalleryLines)
{
    chart.setViewSize(QSize(480, 320));
    qel::test::fillChart(chart, 1, 3, [](int, int p) { return 10 + 40 * p; });
    chart.setAxisValue(AxisYMin, 0);
    chart.setAxisValue(AxisYMax, 100);
    chart.setAxisValue(AxisYStep, 20);
    chart.setLineWidth(2, 0);
    chart.setChartType(gallery | TypeShowMarkers);
    chart.setSeriesColor(0, Blue);
}

bool isBlue(const QColor &c)
{
    return c.blue() > 200 && c.red() < 60 && c.green() < 60;
}

// The pixels of a row across the plot that pass a test.
int pixelsWhere(const QImage &image, int y, const QRectF &plot,
                const std::function<bool(const QColor &)> &test)
{
    int n = 0;
    for (int x = int(plot.left()) + 2; x < int(plot.right()) - 2; ++x)
        n += test(image.pixelColor(x, y));
    return n;
}

// ... that have colour c (within a small distance).
int pixelsLike(const QImage &image, int y, const QRectF &plot, const QColor &c)
{
    return pixelsWhere(image, y, plot, [&](const QColor &p) {
        return std::abs(p.red() - c.red()) + std::abs(p.green() - c.green()) +
                   std::abs(p.blue() - c.blue()) <
               30;
    });
}

bool isReddish(const QColor &c)
{
    return c.red() > c.green() + 60 && c.red() > c.blue() + 60;
}

} // namespace

TEST(ChartStyling, ConstantLinesAreDrawnAtTheirValuesAndEmptyOnesNot)
{
    ChartControl chart;
    fillChart(chart, GalleryMarks);
    chart.BeginDataLoad(ChannelConstants, 2, 0);
    chart.setConstantValue(0, 30);
    chart.setConstantCaption(0, QStringLiteral("目標"));
    chart.setConstantValue(1, EmptyPointValue);
    chart.setConstantStyle(3);
    chart.EndDataLoad(ChannelConstants);
    const QImage image = chart.renderImage(chart.viewSize());
    qel::test::savePicture(image, QStringLiteral("styling-constants"));
    const ChartLayout &l = chart.currentLayout();
    const int y = int(std::lround(l.valuePosition(30, false).y()));
    const int red = std::max({pixelsWhere(image, y, l.plot, isReddish),
                              pixelsWhere(image, y - 1, l.plot, isReddish),
                              pixelsWhere(image, y + 1, l.plot, isReddish)});
    EXPECT_GT(red, l.plot.width() * 0.3) << "a dashed line across the plot";
    for (int row = int(l.plot.top()) + 2; row < int(l.plot.bottom()) - 2; ++row) {
        if (row > y + 2 || row < y - 26) { // the line and its caption above it
            EXPECT_LT(pixelsWhere(image, row, l.plot, isReddish), 3) << row;
        }
    }
}

TEST(ChartStyling, BandsFillTheirValueRanges)
{
    ChartControl chart;
    fillChart(chart, GalleryMarks);
    const QColor pink(255, 200, 200);
    chart.BeginDataLoad(ChannelBands, 2, 0);
    chart.StripeBand(0, 22, 38, fromQColor(pink));
    chart.StripeBand(1, EmptyPointValue, EmptyPointValue, rgb(0, 255, 0));
    chart.EndDataLoad(ChannelBands);
    const QImage image = chart.renderImage(chart.viewSize());
    qel::test::savePicture(image, QStringLiteral("styling-bands"));
    const ChartLayout &l = chart.currentLayout();
    const auto rowAt = [&](double v) { return int(std::lround(l.valuePosition(v, false).y())); };
    EXPECT_GT(pixelsLike(image, rowAt(30), l.plot, pink), l.plot.width() * 0.8);
    EXPECT_EQ(pixelsLike(image, rowAt(45), l.plot, pink), 0);
    EXPECT_EQ(pixelsLike(image, rowAt(15), l.plot, pink), 0);
    for (int row = int(l.plot.top()) + 2; row < int(l.plot.bottom()) - 2; ++row)
        EXPECT_EQ(pixelsLike(image, row, l.plot, QColor(0, 255, 0)), 0) << "no band without values";
}

struct MarkerCase
{
    const char *name;
    qint16 style;
    // Blue (1), not blue (0) or either (-1): at the centre, in the upper right corner, to the
    // right and below on the left.
    int centre, corner, right, lowLeft;
};

class ChartMarkers : public ::testing::TestWithParam<MarkerCase>
{
};

TEST_P(ChartMarkers, EachStyleHasItsShape)
{
    const MarkerCase c = GetParam();
    ChartControl chart;
    fillChart(chart, GalleryMarks);
    chart.setLineWidth(0, 10); // markers of 25 pixels
    chart.setMarkerStyle(0, c.style);
    const QImage image = chart.renderImage(chart.viewSize());
    qel::test::savePicture(image,
                           QStringLiteral("styling-marker-%1").arg(QString::fromUtf8(c.name)));
    const double r = 25 / 2.0;
    QPointF at;
    ASSERT_TRUE(chart.currentLayout().pointPosition(0, 1, at));
    const auto expectBlue = [&](double dx, double dy, int expected, const char *where) {
        if (expected >= 0) {
            EXPECT_EQ(isBlue(image.pixelColor(QPointF(at.x() + dx, at.y() + dy).toPoint())),
                      expected == 1)
                << where;
        }
    };
    expectBlue(0, 0, c.centre, "centre");
    expectBlue(0.9 * r, -0.9 * r, c.corner, "corner");
    expectBlue(0.75 * r, 0, c.right, "right");
    expectBlue(-0.75 * r, 0.6 * r, c.lowLeft, "low left");
}

INSTANTIATE_TEST_SUITE_P(
    Styles, ChartMarkers,
    testing::Values(MarkerCase{"square", 1, 1, 1, 1, 1}, MarkerCase{"circle", 2, 1, 0, 1, -1},
                    MarkerCase{"triangle", 3, 1, 0, 0, 1},
                    MarkerCase{"doubleCircle", 4, 1, 0, 0, 0}, MarkerCase{"none", -1, 0, 0, 0, 0}),
    [](const testing::TestParamInfo<MarkerCase> &info) { return std::string(info.param.name); });

TEST(ChartStyling, ASeriesOnTheSecondAxisUsesItsOwnScale)
{
    ChartControl chart;
    chart.setViewSize(QSize(480, 320));
    chart.BeginDataLoad(ChannelValues, 2, 3);
    for (int s = 0; s < 2; ++s) {
        chart.setActiveSeries(qint16(s));
        for (int p = 0; p < 3; ++p)
            chart.setValueY(p, s == 0 ? 1 + p * 4 : 1000 + p * 500);
    }
    chart.EndDataLoad(ChannelValues);
    chart.setSecondYAxis(1, 1);
    const ChartLayout &l = chart.currentLayout();
    EXPECT_LE(l.y2Scale.min, 1000);
    EXPECT_GE(l.y2Scale.max, 2000);
    EXPECT_LT(l.yScale.max, 100) << "the first axis keeps to the first series";
    QPointF top0, top1;
    ASSERT_TRUE(l.pointPosition(0, 2, top0));
    ASSERT_TRUE(l.pointPosition(1, 2, top1));
    // Both series reach up the plot, each on its own axis.
    EXPECT_LT(top0.y(), l.plot.top() + l.plot.height() * 0.3);
    EXPECT_LT(top1.y(), l.plot.top() + l.plot.height() * 0.3);
    EXPECT_LT(l.plot.right(), 480 - 20) << "room for the second axis' labels on the right";
    qel::test::savePicture(chart.renderImage(chart.viewSize()),
                           QStringLiteral("styling-second-axis"));
}

TEST(ChartClipboard, CarriesAPngAndAnSvgOfTheChart)
{
    ChartControl chart;
    fillChart(chart);
    chart.setBackgroundGradient({true, GradientVertical, rgb(255, 255, 128), rgb(0, 255, 255)});
    std::unique_ptr<QMimeData> data(ChartClipboard::mimeData(chart));
    ASSERT_TRUE(data->hasFormat(QStringLiteral("image/png")));
    ASSERT_TRUE(data->hasFormat(QStringLiteral("image/svg+xml")));
    EXPECT_TRUE(data->hasImage());

    QByteArray png = data->data(QStringLiteral("image/png"));
    QBuffer buffer(&png);
    QImageReader reader(&buffer, "PNG");
    const QImage image = reader.read();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), chart.viewSize() * 2) << "twice the screen's pixels";
    EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, 192, 1) << "so it pastes at the screen's size";
    EXPECT_EQ(image.pixelColor(2, 2), QColor(255, 255, 128)) << "the gradient is on it";

    const QByteArray svg = data->data(QStringLiteral("image/svg+xml"));
    EXPECT_TRUE(svg.contains("<svg"));
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 480 320\""));
    EXPECT_TRUE(svg.contains("#ffff80")) << "the gradient's first band";
}

namespace {

struct ViewCase
{
    const char *name;
    int rotation;
    int elevation;
};

class Chart3DWalls : public ::testing::TestWithParam<ViewCase>
{
};

} // namespace

// The floor and the walls take the plot's colour; the walls' own colour only edges them, so a
// 3D chart shows no block of it whatever the angle.
TEST_P(Chart3DWalls, ShowThePlotColourAndOnlyEdgesInTheWallColour)
{
    const ViewCase c = GetParam();
    ChartControl chart;
    chart.setViewSize(QSize(900, 560));
    chart.BeginDataLoad(ChannelValues, 5, 12);
    for (int s = 0; s < 5; ++s) {
        chart.setActiveSeries(qint16(s));
        for (int p = 0; p < 12; ++p)
            chart.setValueY(p, 200 + 150 * s + 20 * ((p * 5 + s) % 7));
    }
    chart.EndDataLoad(ChannelValues);
    chart.setIndexedColor(IndexedWalls, rgb(180, 180, 180));
    chart.setView3D(true);
    chart.setViewAngles(qint32(c.rotation) * 65536 + c.elevation);
    const QImage image = chart.renderImage(chart.viewSize());
    qel::test::savePicture(image, QStringLiteral("walls-%1").arg(QString::fromUtf8(c.name)));
    const QRect box = chart.currentLayout().dataRect.toRect();
    int wall = 0, all = 0;
    for (int y = box.top(); y <= box.bottom(); y += 2) {
        for (int x = box.left(); x <= box.right(); x += 2) {
            const QColor p = image.pixelColor(x, y);
            ++all;
            wall += std::abs(p.red() - 180) < 25 && std::abs(p.green() - 180) < 25 &&
                    std::abs(p.blue() - 180) < 25 && p.red() == p.blue();
        }
    }
    EXPECT_LT(wall, all / 20) << "pixels in the walls' grey: " << wall << " of " << all;

    // The side wall that carries the value grid lines from the labels to the data shows
    // (seen from the front or the back: the oblique view), or the back wall faces the viewer.
    const Projection3D &pr = chart.currentLayout().projection;
    const double uFar = pr.rightIsFar() ? 1 : 0;
    const double sideWidth = std::abs(pr.map(uFar, 0, 0).x() - pr.map(uFar, 0, 1).x());
    const double backWidth = std::abs(pr.map(0, 0, 0).x() - pr.map(1, 0, 0).x());
    EXPECT_GT(std::max(sideWidth, backWidth), 60);
    if (c.rotation % 180 == 0) {
        EXPECT_GT(sideWidth, 20) << "the side wall is no line";
    }
}

INSTANTIATE_TEST_SUITE_P(Angles, Chart3DWalls,
                         testing::Values(ViewCase{"r0", 0, 30}, ViewCase{"r8", 8, 30},
                                         ViewCase{"r30", 30, 30}, ViewCase{"r90", 90, 30},
                                         ViewCase{"r180", 180, 30}, ViewCase{"r270", 270, 30},
                                         ViewCase{"r360", 360, 30}, ViewCase{"r45e60", 45, 60},
                                         ViewCase{"r30below", 30, -20}, ViewCase{"r0e0", 0, 0}),
                         [](const testing::TestParamInfo<ViewCase> &info) {
                             return std::string(info.param.name);
                         });
