#include "chartview/render/GradientPainter.h"
#include "chartview/render/ChartControl.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace qel::chartview;

namespace {

constexpr Rgb Yellow = rgb(255, 255, 128);
constexpr Rgb Cyan = rgb(0, 255, 255);

BackgroundGradient gradientOf(int kind)
{
    return {true, qint16(kind), Yellow, Cyan};
}

// The paint area of W = 300 and h = 149: 300 x 150 pixels.
const QRect BoxArea(0, 0, 300, 150);

} // namespace

TEST(GradientPainter, BoxGradientPaintsSeventySixNestedBoxes)
{
    const std::vector<GradientPainter::Band> bands =
        GradientPainter::bands(gradientOf(GradientBox), BoxArea);
    ASSERT_EQ(bands.size(), 76u);
    EXPECT_EQ(bands.front(), (GradientPainter::Band{0, 0, 301, 151, Yellow}))
        << "the first box is the whole area, in colour 1";
    EXPECT_EQ(bands.front().filled(), BoxArea);
    EXPECT_EQ(bands.back().color, Cyan) << "the last box has colour 2";
    for (std::size_t i = 1; i < bands.size(); ++i) {
        const GradientPainter::Band &a = bands[i - 1], &b = bands[i];
        EXPECT_EQ(b.left - a.left, 2) << i;
        EXPECT_EQ(a.right - b.right, 2) << i;
        EXPECT_EQ(b.top - a.top, 1) << i;
        EXPECT_EQ(a.bottom - b.bottom, 1) << i;
    }
}

TEST(GradientPainter, BandsRunFromColourOneToColourTwo)
{
    struct Case
    {
        const char *name;
        int kind;
    } cases[] = {{"vertical", GradientVertical}, {"two-way", GradientTwoWay}, {"box", GradientBox}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto bands = GradientPainter::bands(gradientOf(c.kind), QRect(10, 20, 640, 401));
        ASSERT_EQ(bands.size(), 76u);
        EXPECT_EQ(bands.front().color, Yellow);
        EXPECT_EQ(bands.back().color, Cyan);
        // Band 25: t = 50/75 of colour 1 (255, 255, 128) and 25/75 of colour 2 (0, 255, 255).
        EXPECT_EQ(bands[25].color, rgb(170, 255, 170));
        EXPECT_EQ(bands.front().left, 10);
        EXPECT_EQ(bands.front().top, 20);
    }
}

TEST(GradientPainter, VerticalBandsFollowEachOtherDownTheArea)
{
    // H = 300: two pixels a step, bands of four pixels, the last ones cut at the bottom.
    const auto bands = GradientPainter::bands(gradientOf(GradientVertical), QRect(0, 0, 200, 300));
    for (std::size_t i = 0; i < bands.size(); ++i) {
        EXPECT_EQ(bands[i].top, int(4 * i)) << i;
        EXPECT_EQ(bands[i].right, 201) << i;
        EXPECT_LE(bands[i].bottom, 300) << i;
        if (i + 1 < bands.size() && bands[i + 1].top < 300) {
            EXPECT_EQ(bands[i].filled().bottom() + 1, bands[i + 1].top) << "no gap after " << i;
        }
    }
}

TEST(GradientPainter, TwoWayBandsNarrowTowardsTheMiddle)
{
    const auto bands = GradientPainter::bands(gradientOf(GradientTwoWay), QRect(0, 0, 300, 300));
    for (std::size_t i = 0; i < bands.size(); ++i) {
        EXPECT_EQ(bands[i].top, int(2 * i));
        EXPECT_EQ(bands[i].bottom, int(300 - 2 * i));
        EXPECT_EQ(bands[i].left, 0);
    }
}

TEST(GradientPainter, NothingIsPaintedWithoutAGradient)
{
    EXPECT_TRUE(GradientPainter::bands({false, GradientBox, Yellow, Cyan}, BoxArea).empty())
        << "switched off (rotation, the error trap)";
    EXPECT_TRUE(GradientPainter::bands({true, GradientNone, Yellow, Cyan}, BoxArea).empty());
    EXPECT_TRUE(GradientPainter::bands({true, 3, Yellow, Cyan}, BoxArea).empty())
        << "kinds other than 1, 2 and 4";
    EXPECT_TRUE(GradientPainter::bands(gradientOf(GradientBox), QRect()).empty());
}

TEST(GradientPainter, TheChartShowsItsGradientInsteadOfBackColorA)
{
    ChartControl chart;
    chart.setViewSize(QSize(400, 300));
    chart.BeginDataLoad(ChannelValues, 1, 3);
    chart.setBackColorA(rgb(0, 192, 192));
    chart.setBackgroundGradient(gradientOf(GradientVertical));
    QImage image = chart.renderImage(chart.viewSize());
    EXPECT_EQ(image.pixelColor(1, 1), toQColor(Yellow)) << "colour 1 at the top";
    const QColor bottom = image.pixelColor(1, 298);
    EXPECT_LT(bottom.red(), 10) << "nearly colour 2 at the bottom";
    EXPECT_GT(bottom.blue(), 245);

    chart.setBackgroundGradient({false, GradientVertical, Yellow, Cyan});
    image = chart.renderImage(chart.viewSize());
    EXPECT_EQ(image.pixelColor(1, 1), QColor(0, 192, 192)) << "off: BackColorA again";
}

TEST(GradientPainter, TheBoxGradientShowsThroughAPlotWithoutColour)
{
    ChartControl chart;
    chart.setViewSize(QSize(400, 300));
    chart.BeginDataLoad(ChannelValues, 1, 3);
    chart.setBackColorB(NoColor);
    chart.setBackColorC(NoColor);
    chart.setLineWidth(2, 0); // no grid lines over the middle
    chart.setBackgroundGradient(gradientOf(GradientBox));
    const QImage image = chart.renderImage(chart.viewSize());
    const QColor middle = image.pixelColor(chart.currentLayout().plot.center().toPoint());
    EXPECT_LT(middle.red(), 60) << "the inner boxes, near colour 2, in the plot";
    EXPECT_EQ(image.pixelColor(0, 0), toQColor(Yellow));
}

TEST(GradientPainter, PrintingPaintsTheSameBackground)
{
    ChartControl chart;
    chart.setViewSize(QSize(400, 300));
    chart.BeginDataLoad(ChannelValues, 1, 3);
    chart.setBackgroundGradient(gradientOf(GradientTwoWay));
    const QImage screen = chart.renderImage(chart.viewSize());
    for (int mode : {1, 3}) {
        QImage page(QSize(800, 600), QImage::Format_ARGB32_Premultiplied);
        page.fill(Qt::white);
        QPainter painter(&page);
        chart.PaintTo(&painter, QRect(QPoint(0, 0), page.size()), mode);
        painter.end();
        EXPECT_EQ(page.pixelColor(2, 2), screen.pixelColor(1, 1)) << mode;
        EXPECT_EQ(page.pixelColor(2, 597), screen.pixelColor(1, 298)) << mode;
        EXPECT_EQ(page.pixelColor(3, 300), screen.pixelColor(1, 150)) << "the middle, " << mode;
    }
}
