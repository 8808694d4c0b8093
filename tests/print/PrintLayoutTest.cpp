#include "print/PrintLayout.h"

#include <gtest/gtest.h>

#include <limits>

using qel::print::PageMetrics;
using qel::print::PrintLayout;

namespace {

// A4 and Letter printable areas with 10 mm margins, at 1200 and 600 dots per inch.
const PageMetrics A4At1200{(210 - 20) / 25.4 * 1440, (297 - 20) / 25.4 * 1440, 1.2, 1.2};
const PageMetrics LetterAt600{(8.5 - 0.787) * 1440, (11 - 0.787) * 1440, 2.4, 2.4};
const PageMetrics A4LandscapeAt1200{A4At1200.height, A4At1200.width, 1.2, 1.2};

} // namespace

// The standard page against the layout worked out by hand: top at H/k, height H/2.6, left at
// W/10, right at W - 0.8 of the left margin; in mode 2 the second chart after a gap of H/12.
TEST(PrintLayout, StandardPageInBothModes)
{
    struct Row
    {
        const char *name;
        PageMetrics page;
        int mode;
        QRect chart1;
        QRect chart2;
    };
    // Worked out with a calculator: A4 less 10 mm margins at 1200 dpi is 8976.4 x 13086.6
    // pixels.
    const Row rows[] = {
        {"A4 mode 1", A4At1200, 1, QRect(898, 1870, 8258 - 898, 6903 - 1870), QRect()},
        {"A4 mode 2", A4At1200, 2, QRect(898, 1091, 8258 - 898, 6124 - 1091),
         QRect(898, 7215, 8258 - 898, 12248 - 7215)},
        {"Letter mode 1", LetterAt600, 1, QRect(463, 875, 4257 - 463, 3232 - 875), QRect()},
        {"Letter mode 2", LetterAt600, 2, QRect(463, 511, 4257 - 463, 2868 - 511),
         QRect(463, 3379, 4257 - 463, 5736 - 3379)},
        {"A4 landscape mode 1", A4LandscapeAt1200, 1, QRect(1309, 1282, 12039 - 1309, 4734 - 1282),
         QRect()},
        {"A4 landscape mode 2", A4LandscapeAt1200, 2, QRect(1309, 748, 12039 - 1309, 4200 - 748),
         QRect(1309, 4948, 12039 - 1309, 8400 - 4948)},
        // One pixel a twip: the page values themselves.
        {"1440 dpi mode 1", PageMetrics{12000, 15600, 1, 1}, 1,
         QRect(1200, 2229, 11040 - 1200, 8229 - 2229), QRect()},
        {"1440 dpi mode 2", PageMetrics{12000, 15600, 1, 1}, 2,
         QRect(1200, 1300, 11040 - 1200, 7300 - 1300),
         QRect(1200, 8600, 11040 - 1200, 14600 - 8600)},
    };
    for (const Row &row : rows) {
        const auto placed = PrintLayout::standardPage(row.mode, row.page);
        EXPECT_EQ(placed.chart1, row.chart1) << row.name;
        EXPECT_EQ(placed.chart2, row.chart2) << row.name;
    }
}

// Mode 2 raises the first chart from H/7 to H/12 so that both charts fit on the page.
TEST(PrintLayout, SecondChartFitsBelowTheFirst)
{
    for (const PageMetrics &page : {A4At1200, LetterAt600, A4LandscapeAt1200}) {
        const auto one = PrintLayout::standardPage(1, page);
        const auto two = PrintLayout::standardPage(2, page);
        EXPECT_NEAR(one.chart1.top(), page.height / (7 * page.ty), 0.5);
        EXPECT_NEAR(two.chart1.top(), page.height / (12 * page.ty), 0.5);
        EXPECT_LT(two.chart1.bottom(), two.chart2.top());
        EXPECT_NEAR(two.chart2.top() - (two.chart1.top() + two.chart1.height()),
                    page.height / (12 * page.ty), 1);
        EXPECT_LE(two.chart2.bottom(), page.height / page.ty) << "the second chart is on the page";
        EXPECT_EQ(two.chart1.height(), two.chart2.height());
    }
}

TEST(PrintLayout, FillingTheWidthTakesTheUpperHalf)
{
    struct Row
    {
        PageMetrics page;
        QRect expected;
    };
    const Row rows[] = {
        // m = 100 twips: 83.3 pixels at 1.2 twips a pixel.
        {A4At1200, QRect(83, 83, 8935 - 83, 6460 - 83)},
        {PageMetrics{12000, 16000, 1, 1}, QRect(100, 100, 11950 - 100, 7900 - 100)},
        {PageMetrics{12000, 16000, 10, 10}, QRect(10, 10, 1195 - 10, 790 - 10)},
    };
    for (const Row &row : rows)
        EXPECT_EQ(PrintLayout::fillingWidth(row.page), row.expected);
}

TEST(PrintLayout, AsScreenKeepsPlaceAndProportions)
{
    const PageMetrics page{12000, 16000, 10, 10};
    struct Row
    {
        const char *name;
        QRect chartTwips;
        QRect expected;
    };
    const Row rows[] = {
        {"fits", QRect(0, 0, 8000, 6000), QRect(0, 0, 800, 600)},
        {"placed", QRect(300, 450, 6000, 3000), QRect(30, 45, 600, 300)},
        // A chart wider than the paper is scaled down evenly: 24000 x 6000 into 12000 wide.
        {"too wide", QRect(0, 0, 24000, 6000), QRect(0, 0, 1200, 300)},
        {"empty", QRect(0, 0, 0, 100), QRect()},
    };
    for (const Row &row : rows)
        EXPECT_EQ(PrintLayout::asScreen(row.chartTwips, page), row.expected) << row.name;
}

TEST(PrintLayout, PictureAndViewerGeometry)
{
    const PageMetrics page{14000, 21000, 2, 3};
    EXPECT_EQ(PrintLayout::picturePosition(page), QPoint(1000, 1000));
    // A picture of 3000 x 2000 twips gives a window of 3150 x 2450 twips.
    EXPECT_EQ(PrintLayout::viewerWindow(QSize(3000, 2000)), QSize(3150, 2450));
    // A picture larger than the room below and right of (W/7, H/7) is scaled to fit.
    const QRect big = PrintLayout::fitOnPage(QPoint(1000, 1000), QSize(28000, 6000), page);
    EXPECT_EQ(big, QRect(1000, 1000, 6000, 857));
}

TEST(PrintLayout, NoPageGivesNoRectangles)
{
    const PageMetrics none;
    EXPECT_TRUE(PrintLayout::standardPage(1, none).chart1.isNull());
    EXPECT_TRUE(PrintLayout::fillingWidth(none).isNull());
    EXPECT_EQ(PrintLayout::toInt(2.5), 2);
    EXPECT_EQ(PrintLayout::toInt(3.5), 4);
    EXPECT_EQ(PrintLayout::toInt(std::numeric_limits<double>::quiet_NaN()), 0);
}
