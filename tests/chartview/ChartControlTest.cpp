#include "chartview/render/ChartControl.h"
#include "support/ChartFill.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

using namespace qel::chartview;

TEST(ChartControl, DataBracketSizesTheGridAndTakesWritesInsideAndAfter)
{
    ChartControl chart;
    chart.BeginDataLoad(ChannelValues, 3, 4);
    chart.BeginDataLoad(ChannelXValues, 3, 4);
    EXPECT_EQ(chart.SeriesTotal(), 3);
    EXPECT_EQ(chart.PointTotal(), 4);
    chart.setActiveSeries(2);
    chart.setValueY(3, 7.5); // inside the bracket
    chart.EndDataLoad(ChannelValues);
    chart.EndDataLoad(ChannelXValues);
    chart.setActiveSeries(0);
    chart.setValueX(0, 2.0); // after it
    chart.setValueY(0, -1.25);
    chart.setPointCaption(3, QStringLiteral("12月"));
    chart.setSeriesCaption(2, QStringLiteral("豚"));
    EXPECT_FALSE(chart.ErrorPending());

    chart.setActiveSeries(2);
    EXPECT_EQ(chart.ValueY(3), 7.5);
    EXPECT_TRUE(isEmptyPoint(chart.ValueY(2))) << "a point nobody wrote is not drawn";
    chart.setActiveSeries(0);
    EXPECT_EQ(chart.ValueX(0), 2.0);
    EXPECT_EQ(chart.ValueY(0), -1.25);
    EXPECT_EQ(chart.PointCaption(3), QStringLiteral("12月"));
    EXPECT_EQ(chart.SeriesCaption(2), QStringLiteral("豚"));

    // Growing the grid keeps what is there; the new cells are empty.
    chart.BeginDataLoad(ChannelValues, 4, 6);
    chart.EndDataLoad(ChannelValues);
    chart.setActiveSeries(2);
    EXPECT_EQ(chart.ValueY(3), 7.5);
    chart.setActiveSeries(3);
    EXPECT_TRUE(isEmptyPoint(chart.ValueY(5)));
}

TEST(ChartControl, OutOfRangeCallsLeaveAnErrorAndChangeNothing)
{
    ChartControl chart;
    chart.BeginDataLoad(ChannelValues, 2, 2);
    chart.EndDataLoad(ChannelValues);
    const ChartModel before = chart.model();
    chart.setActiveSeries(2);
    EXPECT_TRUE(chart.ErrorPending());
    chart.clearError();
    chart.setValueY(2, 1);
    EXPECT_TRUE(chart.ErrorPending());
    chart.clearError();
    chart.setTitleCaption(4, QStringLiteral("x"));
    EXPECT_TRUE(chart.ErrorPending());
    chart.clearError();
    chart.BeginDataLoad(ChannelValues, 40000, 10);
    EXPECT_TRUE(chart.ErrorPending());
    chart.clearError();
    chart.BeginDataLoad(ChannelValues, 32767, 32767); // a billion values: refused
    EXPECT_TRUE(chart.ErrorPending());
    EXPECT_EQ(chart.model(), before);
}

TEST(ChartControl, ValuesAreSinglesAndOutOfRangeValuesHide)
{
    ChartControl chart;
    chart.BeginDataLoad(ChannelValues, 1, 3);
    chart.EndDataLoad(ChannelValues);
    chart.setActiveSeries(0);
    chart.setValueY(0, 0.1);
    EXPECT_EQ(chart.ValueY(0), double(0.1f));
    chart.setValueY(1, 1e300);
    EXPECT_TRUE(isEmptyPoint(chart.ValueY(1)));
    chart.setValueY(2, std::numeric_limits<double>::quiet_NaN());
    EXPECT_TRUE(isEmptyPoint(chart.ValueY(2)));
}

TEST(ChartControl, ChannelsForColoursConstantsAndBands)
{
    ChartControl chart;
    chart.BeginDataLoad(ChannelColors, 255, 0);
    chart.setSeriesColor(254, rgb(1, 2, 3));
    chart.EndDataLoad(ChannelColors);
    EXPECT_EQ(chart.model().seriesColors[254], rgb(1, 2, 3));
    chart.BeginDataLoad(ChannelConstants, 4, 0);
    chart.setConstantValue(3, 42);
    chart.setConstantCaption(3, QStringLiteral("目標"));
    chart.EndDataLoad(ChannelConstants);
    chart.BeginDataLoad(ChannelBands, 4, 0);
    chart.StripeBand(0, 10, 20, rgb(255, 255, 0));
    chart.EndDataLoad(ChannelBands);
    EXPECT_FALSE(chart.ErrorPending());
    EXPECT_EQ(chart.model().constants[3].caption, QStringLiteral("目標"));
    chart.BeginDataLoad(ChannelConstants, -1, 0);
    chart.BeginDataLoad(ChannelBands, -1, 0);
    EXPECT_TRUE(chart.model().constants.empty());
    EXPECT_TRUE(chart.model().bands.empty());
}

TEST(ChartControl, UnsetAxisValuesReadAsTheAutomaticScale)
{
    ChartControl chart;
    chart.BeginDataLoad(ChannelValues, 1, 3);
    chart.EndDataLoad(ChannelValues);
    chart.setActiveSeries(0);
    for (int p = 0; p < 3; ++p)
        chart.setValueY(p, 10 + 30 * p);
    EXPECT_LE(chart.AxisValue(AxisYMin), 10);
    EXPECT_GE(chart.AxisValue(AxisYMax), 70);
    chart.setAxisValue(AxisYMax, 500);
    EXPECT_EQ(chart.AxisValue(AxisYMax), 500);
}

namespace {

ChartModel smallChart()
{
    ChartControl chart;
    qel::test::fillChart(chart, 2, 3, [](int s, int p) { return s * 10 + p; });
    chart.setTitleCaption(3, QStringLiteral("体重\r\n\r\n図 1 日本語の題"));
    chart.setTitleCaption(0, QStringLiteral("左タイトル"));
    return chart.model();
}

} // namespace

TEST(ChartControl, ExportsEveryPictureFormat)
{
    QTemporaryDir dir;
    ChartControl chart;
    chart.setModel(smallChart());
    chart.setViewSize(QSize(400, 300));
    for (auto [format, name] : {std::pair{FormatBitmap, "a.bmp"}, std::pair{FormatPng, "a.png"},
                                std::pair{FormatJpeg, "a.jpg"}}) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        ASSERT_EQ(chart.ExportFile(format, path), 0) << name;
        const QImage image(path);
        EXPECT_EQ(image.size(), QSize(400, 300)) << name;
    }
    const QString svg = dir.filePath(QStringLiteral("a.svg"));
    ASSERT_EQ(chart.ExportFile(FormatSvg, svg), 0);
    QFile svgFile(svg);
    ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
    const QString svgText = QString::fromUtf8(svgFile.readAll());
    // Titles stay text; the generator writes one text element per script run.
    EXPECT_TRUE(svgText.contains(QStringLiteral(">左</text>")));
    EXPECT_TRUE(svgText.contains(QStringLiteral(">タイトル</text>")));
    EXPECT_TRUE(svgText.contains(QStringLiteral("IPAPGothic")) ||
                svgText.contains(QStringLiteral("IPA")));

    const QString pdf = dir.filePath(QStringLiteral("a.pdf"));
    ASSERT_EQ(chart.ExportFile(FormatPdf, pdf), 0);
    QFile pdfFile(pdf);
    ASSERT_TRUE(pdfFile.open(QIODevice::ReadOnly));
    const QByteArray pdfBytes = pdfFile.readAll();
    EXPECT_TRUE(pdfBytes.startsWith("%PDF"));
    EXPECT_TRUE(pdfBytes.contains("IPA")) << "the Japanese font is embedded";

    EXPECT_NE(chart.ExportFile(FormatPng, dir.filePath(QStringLiteral("no/such/dir/a.png"))), 0);
    EXPECT_NE(chart.ExportFile(77, dir.filePath(QStringLiteral("a.xyz"))), 0);
}

TEST(ChartControl, PictureFormatWithNoPathHandsThePictureOver)
{
    ChartControl chart;
    chart.setModel(smallChart());
    chart.setViewSize(QSize(320, 200));
    EXPECT_TRUE(chart.HandedOverPicture().isNull());
    EXPECT_EQ(chart.ExportFile(FormatPicture, QString()), 0);
    EXPECT_EQ(chart.HandedOverPicture().size(), QSize(320, 200));
}

TEST(ChartControl, ChartFileExportThenImportGivesTheSameChart)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("図.chf"));
    ChartControl a;
    a.setModel(smallChart());
    a.setView3D(true);
    a.setViewAngles(30 + 65536 * 45);
    ASSERT_EQ(a.ExportFile(FormatChartFile, path), 0);
    ChartControl b;
    ASSERT_EQ(b.ImportFile(FormatChartFile, path), 0);
    EXPECT_EQ(b.model(), a.model());
}

TEST(ChartControl, AFailedImportLeavesTheChartAndSaysWhy)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("broken.chf"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\"format\": \"qelPro-chart\", \"version\": 1, \"chart\": {\"seriesCo");
    f.close();
    ChartControl chart;
    chart.setModel(smallChart());
    const ChartModel before = chart.model();
    EXPECT_NE(chart.ImportFile(FormatChartFile, path), 0);
    EXPECT_FALSE(chart.ImportError().isEmpty());
    EXPECT_TRUE(chart.ImportError().contains(QStringLiteral("broken.chf")));
    EXPECT_EQ(chart.model(), before);
    EXPECT_NE(chart.ImportFile(FormatChartFile, dir.filePath(QStringLiteral("none.chf"))), 0);
    EXPECT_EQ(chart.model(), before);
}

TEST(ChartControl, AnImportKeepsTheGradientOnlyWhenTheFileHasNone)
{
    QTemporaryDir dir;
    const BackgroundGradient startUp{true, GradientVertical, rgb(255, 255, 128), rgb(0, 255, 255)};
    const BackgroundGradient saved{true, GradientBox, rgb(1, 2, 3), rgb(4, 5, 6)};
    // A file of the first versions: no gradient in it.
    const QString older = dir.filePath(QStringLiteral("older.chf"));
    QFile f(older);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\"format\": \"qelPro-chart\", \"version\": 1, \"chart\": {\"seriesCount\": 1, "
            "\"pointCount\": 2, \"values\": [1, 2], \"backColorA\": 255}}");
    f.close();
    const QString newer = dir.filePath(QStringLiteral("newer.chf"));
    {
        ChartControl writer;
        writer.setModel(smallChart());
        writer.setBackgroundGradient(saved);
        ASSERT_EQ(writer.ExportFile(FormatChartFile, newer), 0);
    }
    ChartControl chart;
    chart.setBackgroundGradient(startUp);
    ASSERT_EQ(chart.ImportFile(FormatChartFile, older), 0);
    EXPECT_EQ(chart.backgroundGradient(), startUp) << "the program's gradient stays";
    EXPECT_EQ(chart.model().backColorA, rgb(255, 0, 0)) << "the rest comes from the file";
    ASSERT_EQ(chart.ImportFile(FormatChartFile, newer), 0);
    EXPECT_EQ(chart.backgroundGradient(), saved) << "a file with a gradient brings it";
    ASSERT_EQ(chart.ImportFile(FormatChartFile, older), 0);
    EXPECT_EQ(chart.backgroundGradient(), saved);
}
