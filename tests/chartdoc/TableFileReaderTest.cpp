#include "LoadFixture.h"

#include "chartdoc/ChartOptions.h"
#include "chartview/ChartModel.h"
#include "os/TextCodec.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace qel;
using namespace qel::chartdoc;
using namespace qel::chartview;
using qel::settings::Form2State;
using qel::test::LoadFixture;

namespace {

const QString CrLf = QStringLiteral("\r\n");

QString tempTable(QTemporaryDir &dir, const QString &name, const QString &text)
{
    const QString path = dir.filePath(name);
    qel::test::writeFile(path, os::encodeText(text));
    return path;
}

} // namespace

// The same table in CP932 and UTF-8 reads the same.
class SeparateX : public ::testing::TestWithParam<const char *>
{
};

TEST_P(SeparateX, ReadsTableImageChartTitlesAndScales)
{
    LoadFixture f;
    ASSERT_EQ(f.loadFixture(QString::fromLatin1(GetParam())), QStringLiteral("OK"));
    const TableImage &t = f.table;
    EXPECT_EQ(t.groupCount, 2);
    EXPECT_EQ(t.pointCount, 3);
    EXPECT_EQ(t.chartType, 2);
    EXPECT_EQ(t.fileVersion, 2);
    EXPECT_EQ(t.createStamp, QStringLiteral("2024/01/02"));
    EXPECT_FALSE(t.commonX);
    EXPECT_EQ(t.groupLegend.mid(1), QStringList({QStringLiteral("牛肉"), QStringLiteral("豚肉")}));
    EXPECT_EQ(t.pointLegend[2], QStringLiteral("２月"));
    EXPECT_FLOAT_EQ(t.y(1, 3), 9.25f);
    EXPECT_FLOAT_EQ(t.y(2, 2), 13.0f);

    const ChartModel &m = f.chart.model();
    EXPECT_EQ(m.seriesCount, 2);
    EXPECT_EQ(m.pointCount, 3);
    EXPECT_EQ(m.seriesCaptions, QStringList({QStringLiteral("牛肉"), QStringLiteral("豚肉")}));
    EXPECT_EQ(m.pointCaptions[0], QStringLiteral("１月"));
    EXPECT_DOUBLE_EQ(f.y(0, 1), 11.5);
    EXPECT_DOUBLE_EQ(f.x(1, 2), 3);
    EXPECT_EQ(m.chartType, GalleryBars);
    // Titles: the top title at once, the rest through the title boxes.
    EXPECT_EQ(m.titles[2], QStringLiteral("上タイトル"));
    EXPECT_EQ(f.form2.text(Form2State::TxtLeft), QStringLiteral("ｋｇ") + CrLf);
    EXPECT_EQ(f.form2.text(Form2State::TxtBottom),
              QStringLiteral("月") + CrLf + CrLf + QStringLiteral("図１　牛肉と豚肉"));
    EXPECT_EQ(f.form2.text(Form2State::TxtRight), CrLf) << "the Z legend is kept only for type 4";
    EXPECT_EQ(f.context.legendText(), QStringLiteral("凡例1") + CrLf + QStringLiteral("凡例2"));
    // Scales: X 1..3 and Y 9.25..14 made readable.
    EXPECT_DOUBLE_EQ(f.chart.AxisValue(AxisXMin), 1);
    EXPECT_DOUBLE_EQ(f.chart.AxisValue(AxisXMax), 3);
    EXPECT_NEAR(f.chart.AxisValue(AxisXStep), 0.2, 1e-7);
    EXPECT_DOUBLE_EQ(f.chart.AxisValue(AxisYMin), 9.0);
    EXPECT_DOUBLE_EQ(f.chart.AxisValue(AxisYMax), 14.0);
    EXPECT_NEAR(f.chart.AxisValue(AxisYStep), 0.5, 1e-7);
    EXPECT_EQ(m.axisDecimals.at(DecimalsY), 1);
    EXPECT_EQ(f.messages.titles(),
              QStringList({QStringLiteral("Loading data"), QStringLiteral("Setting data")}));
    EXPECT_FALSE(f.messages.isVisible()) << "the progress window goes when the load ends";
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Encodings, SeparateX,
                         ::testing::Values("separate_cp932.tbx", "separate_utf8.tbx"));

class CommonX : public ::testing::TestWithParam<const char *>
{
};

TEST_P(CommonX, LaterGroupsShareTheXOfGroupOne)
{
    LoadFixture f;
    ASSERT_EQ(f.loadFixture(QString::fromLatin1(GetParam())), QStringLiteral("OK"));
    const TableImage &t = f.table;
    EXPECT_TRUE(t.commonX) << "\"  CommonX\" in any case, blanks before it";
    EXPECT_TRUE(t.sharesX()) << "the X column is kept once";
    EXPECT_EQ(t.groupCount, 3);
    EXPECT_EQ(t.groupLegend.mid(1),
              QStringList({QStringLiteral("A群"), QStringLiteral("B群"), QStringLiteral("C群")}));
    for (int p = 1; p <= 4; ++p) {
        EXPECT_FLOAT_EQ(t.x(2, p), t.x(1, p));
        EXPECT_FLOAT_EQ(t.x(3, p), 0.5f * p);
    }
    EXPECT_FLOAT_EQ(t.y(3, 4), 12.0f);
    EXPECT_TRUE(os::isMissingNumber(t.y(2, 3)));
    EXPECT_TRUE(isEmptyPoint(f.y(1, 2))) << "an empty cell is a gap, not a zero";
    EXPECT_EQ(f.chart.ChartType(), GalleryScatter) << "type 1";
    EXPECT_FALSE(f.chart.HasXValues());
    EXPECT_TRUE(f.context.controls().hiddenEnabled) << "the table has a missing value";
}

INSTANTIATE_TEST_SUITE_P(LineEnds, CommonX, ::testing::Values("common_bom.tbx", "common_lf.tbx"));

TEST(TableFileReader, EndMarkEndsTheDataEarly)
{
    LoadFixture f;
    ASSERT_EQ(f.loadFixture(QStringLiteral("early_end.tbx")), QStringLiteral("OK"));
    EXPECT_EQ(f.table.pointCount, 2);
    EXPECT_EQ(f.chart.PointTotal(), 2);
    EXPECT_FALSE(f.context.controls().hiddenEnabled);
}

TEST(TableFileReader, EmptyCellsGiveXOneAndAHiddenPoint)
{
    LoadFixture f;
    ASSERT_EQ(f.loadFixture(QStringLiteral("empty_cells.tbx")), QStringLiteral("OK"));
    const TableImage &t = f.table;
    EXPECT_FLOAT_EQ(t.x(1, 2), 1.0f);
    EXPECT_TRUE(os::isMissingNumber(t.y(1, 2)));
    EXPECT_FLOAT_EQ(t.x(1, 4), 4.0f);
    EXPECT_TRUE(os::isMissingNumber(t.y(1, 4))) << "a word is no number";
    EXPECT_TRUE(isEmptyPoint(f.y(0, 1)));
    EXPECT_TRUE(isEmptyPoint(f.x(0, 1)));
    EXPECT_DOUBLE_EQ(f.y(0, 2), 7);
    EXPECT_TRUE(f.context.controls().hiddenEnabled);
}

TEST(TableFileReader, MosaicMatrixTakesPointLegendsFromXAndShowsFromAbove)
{
    LoadFixture f;
    f.context.setHideXLegend(true);
    ASSERT_EQ(f.loadFixture(QStringLiteral("mosaic.tbx")), QStringLiteral("OK"));
    EXPECT_EQ(f.table.chartType, 100);
    EXPECT_EQ(f.table.pointLegend[3], QStringLiteral("3"));
    EXPECT_EQ(f.form2.text(Form2State::TxtLeft),
              CrLf + CrLf + CrLf + CrLf + QStringLiteral("行") + CrLf);
    const ChartModel &m = f.chart.model();
    EXPECT_EQ(m.chartType, GallerySurface | 0x4500u | 0x20000u);
    EXPECT_TRUE(m.view3D);
    EXPECT_EQ(m.viewAngles, 90);
    EXPECT_EQ(m.pointGap, 1);
    EXPECT_EQ(m.depth3D, 90);
    EXPECT_FALSE(m.member39);
    EXPECT_EQ(f.context.depthText(), QStringLiteral("90"));
    EXPECT_TRUE(f.context.controls().ribbon3);
    EXPECT_FALSE(f.context.controls().hideXLegend);
    EXPECT_TRUE(f.context.controls().hideYLegend);
    EXPECT_EQ(m.axisBits & (AxisHideXLabels | AxisHideYLabels | AxisVerticalXLabels),
              AxisHideYLabels | AxisVerticalXLabels);
    EXPECT_DOUBLE_EQ(f.chart.AxisValue(AxisXStep), 1) << "one column per point";
    EXPECT_NEAR(f.chart.AxisValue(AxisYStep), 0.25, 1e-7) << "half the readable step";
}

// Every failure row: the result, the messages, and a chart that keeps what it showed.
struct FailureCase
{
    const char *file;
    const char *result;
    std::vector<const char *> messages;
};

class Failures : public ::testing::TestWithParam<FailureCase>
{
};

TEST_P(Failures, KeepThePreviousChart)
{
    LoadFixture f;
    ASSERT_EQ(f.loadFixture(QStringLiteral("separate_utf8.tbx")), QStringLiteral("OK"));
    const ChartModel before = f.chart.model();
    const QString legend = f.context.legendText();
    const QString bottom = f.form2.text(Form2State::TxtBottom);
    const qint16 groups = f.table.groupCount;

    const FailureCase &c = GetParam();
    EXPECT_EQ(f.load(qel::test::dataPath(QString::fromLatin1(c.file))),
              QString::fromUtf8(c.result));
    QStringList expected;
    for (const char *m : c.messages)
        expected << QString::fromUtf8(m);
    EXPECT_EQ(f.dialogs.messageTexts(), expected);
    EXPECT_TRUE(f.chart.model() == before);
    EXPECT_EQ(f.context.legendText(), legend);
    EXPECT_EQ(f.form2.text(Form2State::TxtBottom), bottom);
    EXPECT_EQ(f.table.groupCount, groups) << "the table image is replaced only by a good load";
    EXPECT_FALSE(f.messages.isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Table, Failures,
    ::testing::Values(
        FailureCase{"header_51_lines.tbx", "", {}}, FailureCase{"group_not_number.tbx", "", {}},
        FailureCase{"count_beyond_16bit.tbx", "", {}},
        FailureCase{"lowercase_group.tbx", "", {"書式またはタブ区切りエラーです。"}},
        FailureCase{"no_group_line.tbx", "NG-DATA", {"Tbx load error"}},
        FailureCase{"no_data_line.tbx", "NG-DATA", {"Tbx load error"}},
        FailureCase{"truncated.tbx", "NG-DATA", {"Tbx load error"}},
        FailureCase{"no_complete_point.tbx", "NG-DATA", {}},
        FailureCase{"all_equal.tbx", "NG-DATA", {}}, FailureCase{"overflow.tbx", "NG-DATA", {}},
        FailureCase{"absurd_counts.tbx",
                    "",
                    {"データが大きすぎるか、ファイルの中身と合いません（グループ数×ポイント数 = "
                     "1073676289）。"}},
        FailureCase{"old113.dfd", "OLD-FILE", {}}, FailureCase{"old002.dfb", "OLD-FILE", {}},
        FailureCase{"nover.dfl", "OLD-FILE", {}}, FailureCase{"truncated.dfl", "", {}},
        FailureCase{"missing.tbx", "", {}}),
    [](const auto &info) {
        QString name = QString::fromLatin1(info.param.file);
        name.replace(QLatin1Char('.'), QLatin1Char('_'));
        return name.toStdString();
    });

TEST(TableFileReader, BeginOnLineFiftyIsStillRead)
{
    LoadFixture f;
    EXPECT_EQ(f.loadFixture(QStringLiteral("header_50_lines.tbx")), QStringLiteral("OK"));
}

TEST(TableFileReader, VersionIsRoundedAndMissingCreateGetsTheTime)
{
    QTemporaryDir dir;
    LoadFixture f;
    const QString path =
        tempTable(dir, QStringLiteral("v.tbx"),
                  QStringLiteral("Version=\t2.6\r\nGroup=\t1\r\nCount=\t2\r\n{Begin}\r\n"
                                 "{Group}\tg\r\n{Data}\r\na\t1\t1\r\nb\t2\t2\r\n"));
    ASSERT_EQ(f.load(path), QStringLiteral("OK"));
    EXPECT_EQ(f.table.fileVersion, 3);
    EXPECT_TRUE(f.table.createStamp.contains(QLatin1Char('\t')));
}

TEST(TableFileReader, SpreadsheetPaddedEndMarkAndMissingEndAreAccepted)
{
    QTemporaryDir dir;
    LoadFixture f;
    const QString head =
        QStringLiteral("Group=\t1\r\nCount=\t9\r\n{Begin}\r\n{Group}\tg\t\r\n{Data}\tx\ty\r\n");
    ASSERT_EQ(
        f.load(tempTable(dir, QStringLiteral("a.tbx"),
                         head + QStringLiteral("a\t1\t1\r\nb\t2\t2\r\n{End}\t\t\r\nc\t3\t3\r\n"))),
        QStringLiteral("OK"));
    EXPECT_EQ(f.table.pointCount, 2);
    ASSERT_EQ(f.load(tempTable(dir, QStringLiteral("b.tbx"),
                               head + QStringLiteral("a\t1\t1\r\nb\t2\t2"))),
              QStringLiteral("OK"));
    EXPECT_EQ(f.table.pointCount, 2) << "the end of the file ends the data";
}

TEST(TableFileReader, GarbageAndWrongEncodingsFailCleanly)
{
    QTemporaryDir dir;
    LoadFixture f;
    QByteArray garbage;
    for (int i = 0; i < 200000; ++i)
        garbage += char((i * 7919) % 251);
    qel::test::writeFile(dir.filePath(QStringLiteral("g.tbx")), garbage);
    EXPECT_EQ(f.load(dir.filePath(QStringLiteral("g.tbx"))), QString());
    // Latin-1 bytes that are neither UTF-8 nor proper CP932 still load as a table.
    qel::test::writeFile(
        dir.filePath(QStringLiteral("l.tbx")),
        "TopTit=\t\xe9t\xe9\xff\r\nGroup=\t1\r\nCount=\t2\r\n{Begin}\r\n{Group}\tg\r\n"
        "{Data}\r\na\t1\t2\r\nb\t2\t3\r\n");
    EXPECT_EQ(f.load(dir.filePath(QStringLiteral("l.tbx"))), QStringLiteral("OK"));
}

TEST(TableFileReader, LegendFileWinsOverTheTablesOwnLegend)
{
    QTemporaryDir dir;
    const QByteArray table =
        qel::test::readFile(qel::test::dataPath(QStringLiteral("separate_cp932.tbx")));
    qel::test::writeFile(dir.filePath(QStringLiteral("a.tbx")), table);
    LoadFixture f;
    f.context.setLegendText(QStringLiteral("old"));
    ASSERT_TRUE(f.open(dir.filePath(QStringLiteral("a.tbx"))).ok());
    EXPECT_EQ(f.context.legendText(), QStringLiteral("凡例1\r\n凡例2"));
    qel::test::writeFile(dir.filePath(QStringLiteral("a.App")),
                         "File Legend{\r\n\"from the legend file\"\r\n}File Legend End\r\n");
    ASSERT_TRUE(f.open(dir.filePath(QStringLiteral("a.tbx"))).ok());
    EXPECT_EQ(f.context.legendText(), QStringLiteral("from the legend file"));
}

TEST(TableFileReader, LoadTableFileReportsResultsAndSetsTheBoxes)
{
    LoadFixture f;
    EXPECT_EQ(f.loadFile(qel::test::dataPath(QStringLiteral("separate_cp932.tbx"))),
              QStringLiteral("OK"));
    EXPECT_EQ(f.chart.TitleCaption(3), f.form2.text(Form2State::TxtBottom)) << "applyTitleBoxes";
    EXPECT_EQ(f.chart.TitleCaption(0), QStringLiteral("ｋｇ\r\n"));
    EXPECT_EQ(f.form2.text(Form2State::TxtGrp1), QStringLiteral("2"));
    EXPECT_EQ(f.form2.text(Form2State::TxtCpg1), QStringLiteral("3"));
    EXPECT_EQ(f.chart.MarkerStyle(0), 2);
    EXPECT_EQ(f.chart.MarkerStyle(1), 1);

    struct Row
    {
        const char *file;
        const char *message;
    };
    for (const Row &row :
         {Row{"all_equal.tbx", "Abnormal/No data."}, Row{"old113.dfd", "Not or old Qel file."},
          Row{"header_51_lines.tbx", "Loading file error."}}) {
        const QString path = qel::test::dataPath(QString::fromLatin1(row.file));
        const chartdoc::LoadResult result = f.open(path);
        EXPECT_FALSE(result.ok()) << row.file;
        // The designed text first, then the file it is about.
        EXPECT_EQ(result.message, QString::fromLatin1(row.message) + QStringLiteral("\r\n") + path);
    }
    f.loadFile(QString());
    EXPECT_EQ(f.form2.text(Form2State::TxtCpg1), QStringLiteral("1"));
}

// Erase hidden: the Yes/No/Cancel question and what each answer leaves in the chart.
TEST(SetChartData, EraseHiddenRemovesEmptyPoints)
{
    QTemporaryDir dir;
    LoadFixture f;
    // Group 1 misses point 2, group 2 misses points 2 and 3.
    const QString path =
        tempTable(dir, QStringLiteral("h.tbx"),
                  QStringLiteral(
                      "Type=\t2\r\nGroup=\t2\r\nCount=\t4\r\n{Begin}\r\n{Group}\ta\t\tb\t\r\n"
                      "{Data}\tx\ty\tx\ty\r\np1\t1\t10\t1\t20\r\np2\t2\t\t2\t\r\np3\t3\t30\t3\t\r\n"
                      "p4\t4\t40\t4\t40\r\n"));
    ASSERT_EQ(f.load(path), QStringLiteral("OK"));
    ASSERT_TRUE(f.context.controls().hiddenEnabled);
    EXPECT_EQ(f.chart.PointTotal(), 4);
    const ChartModel full = f.chart.model();
    TableFileReader reader(f.context);

    f.context.setHiddenChecked(true);
    f.dialogs.answers = {os::MessageAnswer::Cancel};
    reader.setChartData();
    EXPECT_FALSE(f.context.hiddenChecked());
    EXPECT_TRUE(f.chart.model() == full);
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].title, QStringLiteral("Erase hidden"));
    EXPECT_EQ(f.dialogs.messages[0].text,
              QStringLiteral("ポイント内のデータを保持します。\r\nHold data set within points."));
    EXPECT_EQ(f.dialogs.messages[0].buttons, os::MessageButtons::YesNoCancel);

    // Yes holds the point sets: only p2, empty in both groups, goes.
    f.context.setHiddenChecked(true);
    f.dialogs.answers = {os::MessageAnswer::Yes};
    EXPECT_TRUE(reader.setChartData());
    EXPECT_EQ(f.chart.PointTotal(), 3);
    EXPECT_EQ(f.chart.model().pointCaptions,
              QStringList({QStringLiteral("p1"), QStringLiteral("p3"), QStringLiteral("p4")}));
    EXPECT_DOUBLE_EQ(f.y(0, 1), 30);
    EXPECT_TRUE(isEmptyPoint(f.y(1, 1)));

    // No: each series closes up on its own.
    f.dialogs.answers = {os::MessageAnswer::No};
    reader.setChartData();
    EXPECT_EQ(f.chart.PointTotal(), 3);
    EXPECT_DOUBLE_EQ(f.y(0, 1), 30);
    EXPECT_DOUBLE_EQ(f.y(1, 1), 40);
    EXPECT_TRUE(isEmptyPoint(f.y(1, 2)));

    // Unchecked, the whole table comes back.
    f.context.setHiddenChecked(false);
    reader.setChartData();
    EXPECT_TRUE(f.chart.model().values == full.values);
}

TEST(SetChartData, CountsBeyondTheArraysAreNotRead)
{
    LoadFixture f;
    ASSERT_EQ(f.loadFixture(QStringLiteral("separate_utf8.tbx")), QStringLiteral("OK"));
    f.table.groupCount = 300;
    f.table.pointCount = 3000;
    TableFileReader(f.context).setChartData();
    EXPECT_EQ(f.chart.SeriesTotal(), 2);
    EXPECT_EQ(f.chart.PointTotal(), 3);
}

// Calc saves a tab-separated table with every text cell in quotes.
TEST(TableFileReader, QuotedCellsFromASpreadsheetAreRead)
{
    QTemporaryDir dir;
    LoadFixture f;
    const QString path = tempTable(
        dir, QStringLiteral("q.tbx"),
        QStringLiteral(
            "\"TopTit=\"\t\"上 \"\"題\"\"\"\t\t\r\n\"Group=\"\t2\t\t\r\n\"Count=\"\t2\t\t\r\n"
            "\"{Begin}\"\t\t1\t2\r\n\"{Group}\"\t\t\"A群\"\t\"B群\"\r\n"
            "\"{Data}\"\t\"commonX\"\t\"y\"\t\"y\"\r\n\"p1\"\t1\t2\t3\r\n\"p2\"\t2\t4\t6\r\n"
            "\"{End}\"\t\t\t\r\n"));
    ASSERT_EQ(f.load(path), QStringLiteral("OK"));
    EXPECT_EQ(f.chart.TitleCaption(2), QStringLiteral("上 \"題\""));
    EXPECT_TRUE(f.table.commonX);
    EXPECT_EQ(f.table.groupLegend[2], QStringLiteral("B群"));
    EXPECT_EQ(f.table.pointLegend[1], QStringLiteral("p1"));
    EXPECT_FLOAT_EQ(f.table.y(2, 2), 6.0f);
}

// A table read a line at a time from its bytes reads exactly as its decoded text does: every
// fixture, and the encodings, line ends and damage that only the bytes show.
TEST(TableFileReader, BytesReadAsTheirDecodedText)
{
    std::vector<QByteArray> files;
    for (const char *name :
         {"absurd_counts.tbx", "all_equal.tbx", "common_bom.tbx", "common_lf.tbx",
          "count_beyond_16bit.tbx", "early_end.tbx", "empty_cells.tbx", "group_not_number.tbx",
          "header_50_lines.tbx", "header_51_lines.tbx", "lowercase_group.tbx", "mosaic.tbx",
          "no_complete_point.tbx", "no_data_line.tbx", "no_group_line.tbx", "overflow.tbx",
          "separate_cp932.tbx", "separate_utf8.tbx", "truncated.tbx"})
        files.push_back(qel::test::readFile(qel::test::dataPath(QString::fromLatin1(name))));
    const QByteArray cp932 = qel::test::readFile(qel::test::dataPath(u"separate_cp932.tbx"_qs));
    QByteArray lf = cp932, cr = cp932, broken = cp932;
    files.push_back(lf.replace("\r\n", "\n"));
    files.push_back(cr.replace("\r\n", "\r"));
    files.push_back(broken.replace("{Data}", "\x85\x40{Data}\xff")); // unreadable bytes
    files.push_back(QByteArray("\xEF\xBB\xBF") + cp932); // a mark that does not fit the bytes

    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(i);
        LoadFixture byLine, whole;
        bool unreadable = false;
        const QString lineResult =
            TableFileReader(byLine.context).loadBytes(files[i], true, &unreadable);
        const os::DecodedText decoded = os::decodeText(files[i]);
        const QString wholeResult = TableFileReader(whole.context).loadText(decoded.text, true);
        EXPECT_EQ(lineResult, wholeResult);
        EXPECT_EQ(unreadable, decoded.hasErrors);
        EXPECT_TRUE(byLine.chart.model() == whole.chart.model());
        EXPECT_EQ(byLine.table.groupLegend, whole.table.groupLegend);
        EXPECT_EQ(byLine.table.pointLegend, whole.table.pointLegend);
        ASSERT_EQ(byLine.table.groupCount, whole.table.groupCount);
        ASSERT_EQ(byLine.table.pointCount, whole.table.pointCount);
        for (int g = 1; g <= byLine.table.groupCount; ++g) {
            for (int p = 1; p <= byLine.table.pointCount; ++p) {
                EXPECT_EQ(byLine.table.x(g, p), whole.table.x(g, p));
                EXPECT_EQ(byLine.table.y(g, p), whole.table.y(g, p));
            }
        }
        EXPECT_EQ(byLine.dialogs.messages.size(), whole.dialogs.messages.size());
    }
}
