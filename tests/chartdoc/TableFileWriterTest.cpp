#include "LoadFixture.h"

#include "chartdoc/BottomTitle.h"
#include "support/ChartFill.h"
#include "support/SpecialFiles.h"

#include "chartdoc/TableFileWriter.h"
#include "chartview/ChartModel.h"
#include "os/TextCodec.h"

#include <QFile>
#include <QRandomGenerator>

#include <cmath>
#include <cstring>
#include <optional>

#include <gtest/gtest.h>

using namespace qel;
using namespace qel::chartdoc;
using namespace qel::chartview;
using qel::test::LoadFixture;

namespace {

const QDateTime Now(QDate(2026, 5, 12), QTime(5, 9, 26));

// A chart as a chart file could hold it: no X values, series "G1", ..., points "P1", ...
void fillChart(ChartView &chart, int groups, int points)
{
    qel::test::fillChart(
        chart, groups, points, [](int g, int p) { return 1.5 * (g + 1) * (p + 1); },
        [](int, int) { return 0; });
    for (int p = 0; p < points; ++p)
        chart.setPointCaption(p, QStringLiteral("P%1").arg(p + 1));
}

} // namespace

TEST(TableFileWriter, WritesBannerHeaderAndSeparateXLayout)
{
    LoadFixture f;
    fillChart(f.chart, 2, 3);
    f.chart.setTitleCaption(0, QStringLiteral("左\r\n二行目"));
    f.chart.setTitleCaption(1, QStringLiteral("右"));
    f.chart.setTitleCaption(2, QStringLiteral("上"));
    f.chart.setTitleCaption(3, QStringLiteral("Weight\r\n\r\nFigure 1"));
    f.context.setLegendText(QStringLiteral("a\r\nb"));
    f.table.fileVersion = 3;
    f.table.typeOpt = 7;
    f.table.createStamp = QStringLiteral("made");
    f.chart.setActiveSeries(1);
    f.chart.setValueY(1, EmptyPointValue);

    const QStringList lines = TableFileWriter(f.context).lines(Now);
    ASSERT_EQ(lines.size(), 7 + 13 + 3 + 3 + 1);
    EXPECT_EQ(lines[0], QString(60, QLatin1Char('*')));
    EXPECT_EQ(lines[1],
              QStringLiteral("          Converted qelChf/Dfx to Tbx file for TableEditor  "));
    EXPECT_EQ(lines[3],
              QStringLiteral("  ﾌｧｲﾙは ASCIIタブ区切り形式（拡張子：Tbx）で記録してください。"));
    EXPECT_EQ(lines[4],
              QStringLiteral("  Tbxﾌｧｲﾙは Excel で編集して qelPro で読み込みできます。 "));
    EXPECT_EQ(lines[6], QString());
    const QStringList header = lines.mid(7, 13);
    EXPECT_EQ(header, QStringList({
                          QStringLiteral("TopTit=\t上"),
                          QStringLiteral("Title=\tFigure 1"),
                          QStringLiteral("Create=\tmade"),
                          QStringLiteral("Convert=\t2026/05/12\t\t\t05:09:26"),
                          QStringLiteral("FileLegend=\ta{vbcrlf}b"),
                          QStringLiteral("Version=\t 3 "),
                          QStringLiteral("Type=\t 1 \tTypeOpt\t 7 "),
                          QStringLiteral("Group=\t 2 "),
                          QStringLiteral("Count=\t 3 "),
                          QStringLiteral("Xlegend=\tWeight"),
                          QStringLiteral("Ylegend=\t左二行目"),
                          QStringLiteral("Zlegend=\t右"),
                          QString(),
                      }));
    EXPECT_EQ(lines[20], QStringLiteral("{Begin}\t 1 \t\t 2 \t\t"));
    EXPECT_EQ(lines[21], QStringLiteral("{Group}\tG1\t\tG2\t\t"));
    EXPECT_EQ(lines[22], QStringLiteral("{Data}\tx\ty\tx\ty"));
    // No X in series 0: the points are numbered; the hidden value is an empty cell.
    EXPECT_EQ(lines[23], QStringLiteral("P1\t 1\t 1.5\t 1\t 3"));
    EXPECT_EQ(lines[24], QStringLiteral("P2\t 2\t 3\t 2\t"));
    EXPECT_EQ(lines.last(), QStringLiteral("{End}"));
}

TEST(TableFileWriter, CommonXWritesOneXAndTheYOfEveryGroup)
{
    LoadFixture f;
    fillChart(f.chart, 3, 2);
    f.table.commonX = true;
    const QStringList lines = TableFileWriter(f.context).lines(Now);
    EXPECT_EQ(lines[20], QStringLiteral("{Begin}\t\t 1 \t 2 \t 3 "));
    EXPECT_EQ(lines[21], QStringLiteral("{Group}\t\tG1\tG2\tG3"));
    EXPECT_EQ(lines[22], QStringLiteral("{Data}\tcommonX\ty\ty\ty"));
    EXPECT_EQ(lines[23].split(QLatin1Char('\t')).size(), 5) << "legend, X and three Ys";
}

TEST(TableFileWriter, CellsNeverCarryTabsOrLineBreaks)
{
    LoadFixture f;
    fillChart(f.chart, 1, 2);
    f.chart.setSeriesCaption(0, QStringLiteral("a\tb"));
    f.chart.setPointCaption(0, QStringLiteral("x\r\ny"));
    f.chart.setTitleCaption(2, QStringLiteral("top\nline"));
    const QStringList lines = TableFileWriter(f.context).lines(Now);
    EXPECT_EQ(lines[7], QStringLiteral("TopTit=\ttop line"));
    EXPECT_EQ(lines[21], QStringLiteral("{Group}\ta b\t\t"));
    EXPECT_TRUE(lines[23].startsWith(QStringLiteral("x y\t")));
}

// The table beside a chart or legacy file: written when there is a table editor and none
// exists yet; an existing one is left (mode 0) or replaced only when the user says Yes.
TEST(TableFileWriter, WriteTableFileFollowsModeEditorAndFileKind)
{
    using os::MessageAnswer;
    EXPECT_EQ(TableFileWriter::tablePath(QStringLiteral("/d/a.b.dfl")), QStringLiteral("/d/a.Tbx"));
    const QString editor = QStringLiteral("localc");
    const struct
    {
        const char *name;
        int mode;
        const char *file;
        QString editor;
        bool exists;          // a table is there already
        MessageAnswer answer; // to the question whether to replace it
        bool written;
        bool asked;
    } rows[] = {
        {"no table editor", 0, "a.b.dfl", QString(), false, MessageAnswer::Yes, false, false},
        {"the editor never chosen", 0, "a.b.dfl", QStringLiteral("未設定"), false,
         MessageAnswer::Yes, false, false},
        {"a table itself", 1, "t.tbx", editor, false, MessageAnswer::Yes, false, false},
        {"new, for a legacy file", 0, "a.b.dfl", editor, false, MessageAnswer::No, true, false},
        {"new, for a chart file", 0, "a.chf", editor, false, MessageAnswer::No, true, false},
        {"existing, mode 0", 0, "a.b.dfl", editor, true, MessageAnswer::Yes, false, false},
        {"existing, No", 1, "a.b.dfl", editor, true, MessageAnswer::No, false, true},
        {"existing, Cancel", 1, "a.b.dfl", editor, true, MessageAnswer::Cancel, false, true},
        {"existing, Yes", 1, "a.b.dfl", editor, true, MessageAnswer::Yes, true, true},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        LoadFixture f;
        fillChart(f.chart, 1, 2);
        f.table.fileVersion = 5;
        f.table.typeOpt = 9;
        const QString file = dir.filePath(QString::fromLatin1(row.file));
        const QString table = TableFileWriter::tablePath(file);
        if (row.exists)
            test::writeFile(table, "old");
        f.dialogs.answers = {row.answer};
        EXPECT_EQ(TableFileWriter(f.context).writeTableFile(row.mode, file, row.editor),
                  row.written);
        if (row.written) {
            EXPECT_TRUE(test::readFile(table).contains("\r\n{End}\r\n"));
        } else if (row.exists) {
            EXPECT_EQ(test::readFile(table), "old");
        } else {
            EXPECT_FALSE(QFile::exists(table));
        }
        ASSERT_EQ(f.dialogs.messages.size(), row.asked ? 1 : 0);
        if (row.asked) {
            EXPECT_EQ(f.dialogs.messages[0].text,
                      QStringLiteral("Excelﾌｧｲﾙ :  ") + table +
                          QStringLiteral("\r\nが存在します。更新しますか？"));
            EXPECT_EQ(f.dialogs.messages[0].defaultAnswer, MessageAnswer::No);
        }
        // A new table of a legacy file starts at version 1; a chart file's keeps its own.
        const bool fresh = row.written && !row.exists;
        const bool legacy = fresh && QByteArray(row.file).endsWith(".dfl");
        EXPECT_EQ(f.table.fileVersion, legacy ? 1 : 5);
        EXPECT_EQ(f.table.typeOpt, legacy ? 0 : 9);
    }
}

// The designed text, then the file and the system's reason, so a missing folder, a full disk
// (and a FIFO, see UnreadableFiles) no longer read alike.
TEST(TableFileWriter, AFileThatCannotBeWrittenIsReportedWithItsReason)
{
    struct Row
    {
        const char *name;
        QString (*make)(const QDir &dir);
        const char *reason;
    };
    const Row rows[] = {
        {"missing folder",
         [](const QDir &d) { return d.filePath(QStringLiteral("missing/x.Tbx")); },
         "フォルダーがありません"},
        {"full disk", [](const QDir &d) { return d.filePath(QStringLiteral("x.Tbx")); },
         "ディスクがいっぱいです"},
    };
    for (const Row &row : rows) {
        const bool fullDisk = QByteArray(row.name) == "full disk";
        QTemporaryDir tmp;
        std::optional<qel::test::SmallDisk> disk;
        if (fullDisk && !disk.emplace(4096).mounted())
            continue; // no small file system can be mounted here
        const QDir dir(fullDisk ? disk->path() : tmp.path());
        LoadFixture f;
        fillChart(f.chart, 3, fullDisk ? 2000 : 2);
        const QString path = row.make(dir);
        EXPECT_FALSE(TableFileWriter(f.context).write(path)) << row.name;
        ASSERT_EQ(f.dialogs.messages.size(), 1) << row.name;
        EXPECT_EQ(f.dialogs.messages[0].text,
                  QStringLiteral("Excelﾌｧｲﾙ: ") + path +
                      QStringLiteral("\r\nを他で使っているか不明のエラーです。\r\n") + path +
                      QStringLiteral(": ") + QString::fromUtf8(row.reason))
            << row.name;
    }
}

// Random charts written and read back give the very same singles and texts; CP932 has its own
// wave dash, minus and dash, and they come back in that form.
TEST(TableFileWriter, RoundTripOfRandomTables)
{
    QRandomGenerator random(20260512);
    const QString pieces[] = {QStringLiteral("牛肉"), QStringLiteral("ﾃｽﾄ"), QStringLiteral("abc"),
                              QStringLiteral("〜波"), QStringLiteral("−1"),  QStringLiteral("Ω"),
                              QStringLiteral("😀"),    QStringLiteral(" x ")};
    auto text = [&](int n) {
        QString s;
        for (int i = 0; i < n; ++i)
            s += pieces[random.bounded(int(std::size(pieces)))];
        return os::foldToCp932(s.trimmed());
    };
    auto value = [&]() -> float {
        switch (random.bounded(5)) {
        case 0:
            return float(random.bounded(2001) - 1000);
        case 1: // any finite single a table can hold
            for (float f;;) {
                const quint32 bits = random.generate();
                std::memcpy(&f, &bits, 4);
                if (std::isfinite(f) && f != os::MissingNumber && std::abs(f) < 3e38f &&
                    (f == 0 || std::abs(f) > 1e-37f))
                    return f;
            }
        default:
            return float(random.generateDouble() * 2000 - 1000);
        }
    };
    QTemporaryDir dir;
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        LoadFixture source;
        const int groups = 1 + random.bounded(6), points = 2 + random.bounded(30);
        const bool commonX = random.bounded(2) == 1;
        std::vector<float> xs(static_cast<std::size_t>(points));
        for (float &x : xs)
            x = value();
        // Hidden points here and there; two complete points keep the table loadable.
        const auto hidden = [&](int p) { return p > 1 && random.bounded(6) == 0; };
        qel::test::fillChart(
            source.chart, groups, points,
            [&](int, int p) { return hidden(p) ? EmptyPointValue
                                     : p < 2   ? p + 1.0
                                               : value(); },
            [&](int, int p) {
                return commonX ? xs[std::size_t(p)] : p < 2 ? 12.0 * p - 5 : value();
            });
        for (int g = 0; g < groups; ++g)
            source.chart.setSeriesCaption(qint16(g), text(1 + random.bounded(3)));
        for (int p = 0; p < points; ++p)
            source.chart.setPointCaption(p, text(random.bounded(3)));
        source.chart.setTitleCaption(0, text(2) + QStringLiteral("\r\n"));
        source.chart.setTitleCaption(2, text(3));
        source.chart.setTitleCaption(3, text(1) + QStringLiteral("\r\n\r\n") + text(2));
        source.table.commonX = commonX;
        source.table.createStamp = text(2);
        source.context.setLegendText(text(2) + QStringLiteral("\r\n") + text(1));

        const QString path = dir.filePath(QStringLiteral("r%1.tbx").arg(round));
        ASSERT_TRUE(TableFileWriter(source.context).write(path));
        LoadFixture back;
        ASSERT_EQ(back.loadFile(path), QStringLiteral("OK"));
        const ChartModel &a = source.chart.model(), &b = back.chart.model();
        ASSERT_EQ(b.seriesCount, a.seriesCount);
        ASSERT_EQ(b.pointCount, a.pointCount);
        EXPECT_EQ(b.seriesCaptions, a.seriesCaptions);
        EXPECT_EQ(b.pointCaptions, a.pointCaptions);
        for (int g = 0; g < groups; ++g) {
            for (int p = 0; p < points; ++p) {
                if (isEmptyPoint(a.value(g, p)) || isEmptyPoint(a.xValue(g, p))) {
                    EXPECT_TRUE(isEmptyPoint(b.value(g, p)));
                    continue;
                }
                EXPECT_EQ(b.value(g, p), a.value(g, p)) << g << " " << p;
                EXPECT_EQ(b.xValue(g, p), a.xValue(g, p)) << g << " " << p;
            }
        }
        for (int i : {0, 2, 3})
            EXPECT_EQ(b.titles[std::size_t(i)], a.titles[std::size_t(i)]);
        EXPECT_EQ(back.table.commonX, commonX);
        EXPECT_EQ(back.table.createStamp, source.table.createStamp);
        EXPECT_EQ(back.context.legendText(), source.context.legendText());
    }
}

// The X legend and the figure title come back exactly, whatever their length and script.
TEST(TableFileWriter, XLegendAndFigureTitleRoundTrip)
{
    const QString alphabets[] = {
        QStringLiteral("Temperature (C) abcdefghijklmnopqrstuvwxyz"),
        QStringLiteral("月ごとの売上と気温の推移を示す横軸の説明文です長い長い長い長い"),
        QStringLiteral("気温 Temperature (℃) 月 Month 売上 Sales 2026年")};
    QTemporaryDir dir;
    int n = 0;
    for (const QString &alphabet : alphabets) {
        for (int length = 0; length <= 40; ++length) {
            // No blank at either end: the reader trims cells.
            const QString xLegend = alphabet.left(length).trimmed();
            for (const QString &title : {QString(), QStringLiteral("図1 Figure")}) {
                LoadFixture source;
                fillChart(source.chart, 2, 3);
                source.chart.setTitleCaption(3, composeBottomTitle(xLegend, title));
                const QString path = dir.filePath(QStringLiteral("t%1.tbx").arg(n++));
                ASSERT_TRUE(TableFileWriter(source.context).write(path));
                LoadFixture back;
                ASSERT_EQ(back.loadFile(path), QStringLiteral("OK"));
                EXPECT_EQ(back.chart.TitleCaption(3), composeBottomTitle(xLegend, title))
                    << qPrintable(xLegend) << " | " << qPrintable(title);
            }
        }
    }
}
