#include "print/ChartPrint.h"

#include "FakePage.h"
#include "chartdoc/SampleChart.h"
#include "chartview/render/ChartControl.h"
#include "print/PicturePrint.h"
#include "print/PrintHeader.h"

#include <gtest/gtest.h>

using namespace qel;
using print::ChartPrint;
using print::PrintLayout;
using test::FakePage;

namespace {

// The smallest rectangle holding every pixel that is not white.
QRect inked(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0xffffff) != 0xffffff)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

struct Charts
{
    Charts()
    {
        chart1.setViewSize(QSize(900, 500));
        chart2.setViewSize(QSize(900, 500));
        chartdoc::buildSampleChart(chart1, chart2);
    }
    print::PrintSource source(int mode) const
    {
        print::PrintSource s;
        s.chart1 = const_cast<chartview::ChartControl *>(&chart1);
        s.chart2 = const_cast<chartview::ChartControl *>(&chart2);
        s.version = QStringLiteral("3.0.0");
        s.currentFile = QStringLiteral("/data/売上.tbx");
        s.chart2File = mode == 2 ? QStringLiteral("/data/multi.chf") : QString();
        s.printedAt = QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9));
        s.legendText = QStringLiteral("凡例の一行目\nsecond line");
        s.legendFont = QFont(QStringLiteral("IPAPGothic"), 10);
        s.legendFont.setItalic(true);
        s.legendColor = QColor(200, 0, 0);
        return s;
    }
    chartview::ChartControl chart1;
    chartview::ChartControl chart2;
};

} // namespace

TEST(PrintHeader, LineAndMinchoChoice)
{
    const QString line = print::PrintHeader::line(QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)),
                                                  QStringLiteral("3.0.0"), QStringLiteral("LP1"));
    EXPECT_EQ(line, QStringLiteral(" 2024/05/06 07:08:09 3.0.0") + print::PrintHeader::credit() +
                        QStringLiteral("LP1"));

    // The three Mincho names in turn: the last the page can take stays.
    struct Row
    {
        const char *name;
        QSet<QString> families;
        QString chosen;
    };
    const Row rows[] = {
        {"all",
         {QStringLiteral("IPAMincho"), QStringLiteral("IPAPMincho")},
         QStringLiteral("IPAMincho")},
        {"only the proportional", {QStringLiteral("IPAPMincho")}, QStringLiteral("IPAPMincho")},
        {"none: the font stays", {QStringLiteral("IPAPGothic")}, QStringLiteral("IPAPGothic")},
    };
    for (const Row &row : rows) {
        FakePage page;
        page.families = row.families + QSet<QString>{QStringLiteral("IPAPGothic")};
        page.setFontName(QStringLiteral("IPAPGothic"));
        print::PrintHeader::selectFont(page, 8, true);
        EXPECT_EQ(page.font().family(), row.chosen) << row.name;
        EXPECT_TRUE(page.font().bold()) << row.name;
        EXPECT_EQ(page.font().pointSizeF(), 8) << row.name;
    }
}

// The standard page: the chart in its rectangle, the header and path lines in bold Mincho,
// 21 lines further down the legend in the legend box's font and colour.
TEST(ChartPrint, StandardPageModeOne)
{
    Charts charts;
    const print::PrintSource source = charts.source(1);
    FakePage page;
    ChartPrint(page, source).standardPage(1);
    ASSERT_TRUE(page.endDoc().ok());

    const QStringList texts = page.texts();
    ASSERT_GE(texts.size(), 4);
    EXPECT_EQ(texts[0], print::PrintHeader::line(source.printedAt, QStringLiteral("3.0.0"),
                                                 QStringLiteral("FakePrinter")));
    EXPECT_EQ(texts[1], QStringLiteral(" /data/売上.tbx"));
    EXPECT_EQ(page.lines[0].family, QStringLiteral("IPAMincho"));
    EXPECT_TRUE(page.lines[0].bold);
    const QString indent(20, QLatin1Char(' '));
    EXPECT_EQ(texts[2], indent + QStringLiteral("凡例の一行目"));
    EXPECT_EQ(texts[3], indent + QStringLiteral("second line"));
    EXPECT_EQ(page.lines[2].color, QColor(200, 0, 0));
    EXPECT_EQ(page.lines[2].family, QStringLiteral("IPAPGothic"));

    // The chart lies inside its designed rectangle and fills most of its width.
    const QRect designed = PrintLayout::standardPage(1, page.metrics()).chart1;
    const QRect ink = inked(page.m_image);
    EXPECT_TRUE(designed.contains(ink))
        << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
    EXPECT_GT(ink.width(), designed.width() * 9 / 10);
    // The legend starts below the chart, never over it.
    EXPECT_GT(page.lines[2].y, (designed.bottom() + 1) * page.metrics().ty);
}

TEST(ChartPrint, StandardPageModeTwoPrintsBothChartsAndNoLegend)
{
    Charts charts;
    charts.chart2.setBackColorA(chartview::rgb(255, 0, 0)); // to find it on the page
    const print::PrintSource source = charts.source(2);
    FakePage page;
    ChartPrint(page, source).standardPage(2);
    ASSERT_TRUE(page.endDoc().ok());
    EXPECT_EQ(page.texts().size(), 3);
    EXPECT_EQ(page.texts().value(2), QStringLiteral(" /data/multi.chf"));
    const auto placed = PrintLayout::standardPage(2, page.metrics());
    const QRect ink = inked(page.m_image);
    EXPECT_TRUE((placed.chart1 | placed.chart2).contains(ink));
    EXPECT_EQ(page.m_image.pixelColor(placed.chart2.topLeft() + QPoint(2, 2)), QColor(255, 0, 0));
    EXPECT_NE(page.m_image.pixelColor(placed.chart1.topLeft() + QPoint(2, 2)), QColor(255, 0, 0));
}

TEST(ChartPrint, AsScreenAndFillingThePage)
{
    Charts charts;
    print::PrintSource source = charts.source(1);
    source.chart1Twips = QRect(0, 0, 9000, 5000);
    {
        FakePage page;
        ChartPrint(page, source).asScreen();
        ASSERT_TRUE(page.endDoc().ok());
        EXPECT_TRUE(page.texts().isEmpty());
        const QRect ink = inked(page.m_image);
        EXPECT_TRUE(QRect(0, 0, 900, 500).contains(ink));
        EXPECT_GT(ink.width(), 850);
    }
    {
        FakePage page;
        ChartPrint(page, source).fillingPage();
        ASSERT_TRUE(page.endDoc().ok());
        const QRect designed = PrintLayout::fillingWidth(page.metrics());
        const QRect ink = inked(page.m_image);
        EXPECT_EQ(ink, designed) << "paint mode 1 fills the whole rectangle";
        EXPECT_LT(ink.bottom(), page.metrics().height / page.metrics().ty / 2);
    }
}

TEST(ChartPrint, WhitenSetsTheFiveBackgrounds)
{
    chartview::ChartControl chart;
    chart.setIndexedColor(0x1000, chartview::rgb(1, 2, 3));
    ChartPrint::whiten(chart);
    const chartview::Rgb white = chartview::rgb(255, 255, 255);
    const chartview::ChartModel &m = chart.model();
    EXPECT_EQ(m.backColorA, white);
    EXPECT_EQ(m.backColorB, white);
    EXPECT_EQ(m.backColorC, white);
    EXPECT_EQ(m.indexedColor(0x1000), white);
    EXPECT_EQ(m.indexedColor(0x1001), white);
}

TEST(PicturePrint, HeaderNameAndPictureAtASeventh)
{
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    picture.setDotsPerMeterX(3780); // 96 dpi: 300 pixels are 4500 twips
    picture.setDotsPerMeterY(3780);
    EXPECT_EQ(print::PicturePrint::naturalTwips(picture), QSize(4500, 3000));
    FakePage page(14000, 21000);
    print::PicturePrint::print(page, {picture, QStringLiteral("/p/a.jpg"), QStringLiteral("3.0.0"),
                                      QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5))});
    ASSERT_TRUE(page.endDoc().ok());
    EXPECT_EQ(page.texts().value(1), QStringLiteral("/p/a.jpg "));
    EXPECT_TRUE(page.texts().value(0).startsWith(QStringLiteral(" 2024/01/02 03:04:05 3.0.0")));
    EXPECT_EQ(inked(page.m_image).bottomRight(), QPoint(200 + 450 - 1, 300 + 300 - 1));
    EXPECT_EQ(page.m_image.pixelColor(200, 300), QColor(Qt::blue));
}

// A device that fails ends the document and says so; nothing further is drawn.
TEST(PrinterPage, FailuresAreReported)
{
    {
        FakePage page;
        page.failOpen = true;
        page.print(QStringLiteral("x"));
        EXPECT_EQ(page.deviceContext(), nullptr);
        const auto r = page.endDoc();
        EXPECT_FALSE(r.ok());
        EXPECT_FALSE(r.message.isEmpty());
        EXPECT_TRUE(page.lines.isEmpty());
    }
    {
        FakePage page;
        page.failNewPage = true;
        page.print(QStringLiteral("page one"));
        page.newPage();
        page.print(QStringLiteral("page two"));
        EXPECT_EQ(page.texts(), QStringList{QStringLiteral("page one")});
        const auto r = page.endDoc();
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(page.closes, 1) << "the document is still ended";
    }
    {
        FakePage page;
        EXPECT_FALSE(page.setFontName(QStringLiteral("NoSuchFont")));
        EXPECT_TRUE(page.setFontName(QStringLiteral("ＭＳ Ｐゴシック")));
        EXPECT_EQ(page.font().family(), QStringLiteral("IPAPGothic"));
    }
}
