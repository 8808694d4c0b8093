#include "shell/HeadlessExport.h"
#include "shell/CommandLine.h"

#include "os/TextCodec.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qel::shell;

TEST(HeadlessExport, WritesTheSampleAndReadsAChartFileBack)
{
    QTemporaryDir dir;
    QString error;
    const QString png = dir.filePath(QStringLiteral("s.png"));
    ASSERT_EQ(HeadlessExport::run(png, QSize(500, 300), QString(), error), 0) << qPrintable(error);
    EXPECT_EQ(QImage(png).size(), QSize(500, 300));

    // Saved and opened again, as often as wanted, the chart stays the same.
    const QString chf = dir.filePath(QStringLiteral("s.chf"));
    ASSERT_EQ(HeadlessExport::run(chf, QSize(500, 300), QString(), error), 0);
    const QString chf2 = dir.filePath(QStringLiteral("s2.chf"));
    ASSERT_EQ(HeadlessExport::run(chf2, QSize(500, 300), chf, error), 0) << qPrintable(error);
    const QString again = dir.filePath(QStringLiteral("again.png"));
    const QString again2 = dir.filePath(QStringLiteral("again2.png"));
    ASSERT_EQ(HeadlessExport::run(again, QSize(500, 300), chf, error), 0) << qPrintable(error);
    ASSERT_EQ(HeadlessExport::run(again2, QSize(500, 300), chf2, error), 0) << qPrintable(error);
    EXPECT_EQ(QImage(again), QImage(again2)) << "the chart file holds the whole chart";
    EXPECT_EQ(QImage(again).size(), QSize(500, 300));
}

TEST(HeadlessExport, FailuresSayWhy)
{
    QTemporaryDir dir;
    QString error;
    EXPECT_NE(HeadlessExport::run(dir.filePath(QStringLiteral("s.doc")), QSize(100, 100), QString(),
                                  error),
              0);
    EXPECT_TRUE(error.contains(QStringLiteral("s.doc")));
    const QString bad = dir.filePath(QStringLiteral("bad.chf"));
    qel::test::writeFile(bad, "\x89PNG garbage");
    error.clear();
    EXPECT_NE(
        HeadlessExport::run(dir.filePath(QStringLiteral("o.png")), QSize(100, 100), bad, error), 0);
    EXPECT_TRUE(error.contains(QStringLiteral("bad.chf"))) << qPrintable(error);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("o.png"))));
}

namespace {

// What the command line asked for, in a few words; "error" when it was refused.
QString summary(const CommandLine &c)
{
    if (!c.ok)
        return c.error.isEmpty() ? QStringLiteral("error without a reason")
                                 : QStringLiteral("error");
    QStringList parts{QStringLiteral("file=") + c.file, QStringLiteral("export=") + c.exportPath,
                      QStringLiteral("%1x%2").arg(c.exportSize.width()).arg(c.exportSize.height())};
    const RegressionRequest &r = c.regression;
    if (r.series)
        parts << QStringLiteral("series=%1 job=%2").arg(r.series).arg(r.job);
    if (!r.fixedX.isEmpty() || !r.fixedY.isEmpty())
        parts << QStringLiteral("fixed=") + r.fixedX + u',' + r.fixedY;
    if (r.parabolic)
        parts << QStringLiteral("parabolic");
    if (r.se)
        parts << QStringLiteral("se");
    if (!r.whole)
        parts << QStringLiteral("data");
    if (c.answerYes)
        parts << QStringLiteral("yes");
    return parts.join(u' ');
}

} // namespace

TEST(CommandLine, ReadsFilesExportsAndRegressionRequests)
{
    const struct
    {
        const char *arguments;
        const char *parsed;
    } rows[] = {
        {"in.tbx", "file=in.tbx export= 1382x648"},
        {"--export o.svg --size 800x600 in.chf", "file=in.chf export=o.svg 800x600"},
        {"--regression 2 --job 2 --fixed 0,1 --se --range data --export o.json in.tbx",
         "file=in.tbx export=o.json 1382x648 series=2 job=2 fixed=0,1 se data"},
        {"--yes --regression 1 --job 1 --export o.json in.tbx",
         "file=in.tbx export=o.json 1382x648 series=1 job=1 yes"},
        {"--size 99999x1", "error"},
        {"a b", "error"},
        {"--regression 0", "error"},
        {"--regression 1 --job 3", "error"},
        {"--regression 1 --fixed 1 --export a.png", "error"},
        {"--regression 1", "error"},
    };
    for (const auto &row : rows) {
        const QStringList arguments =
            QStringList{QStringLiteral("qelpro")} + QString::fromLatin1(row.arguments).split(u' ');
        EXPECT_EQ(summary(CommandLine::parse(arguments)), QString::fromLatin1(row.parsed))
            << row.arguments;
    }
}

TEST(Program, ExportsWithoutADisplayAndReportsErrors)
{
    QTemporaryDir dir;
    const QString program = QStringLiteral(QELPRO_BINARY);
    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    run.setProcessEnvironment(env);
    const QString out = dir.filePath(QStringLiteral("sample.pdf"));
    run.start(program, {QStringLiteral("--export"), out});
    ASSERT_TRUE(run.waitForFinished(30000));
    EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    EXPECT_TRUE(QFile(out).size() > 1000);

    run.start(program, {QStringLiteral("--export"), dir.filePath(QStringLiteral("x.png")),
                        dir.filePath(QStringLiteral("missing.chf"))});
    ASSERT_TRUE(run.waitForFinished(30000));
    EXPECT_NE(run.exitCode(), 0);
    EXPECT_TRUE(
        QString::fromUtf8(run.readAllStandardError()).contains(QStringLiteral("missing.chf")));

    run.start(program, {QStringLiteral("--version")});
    ASSERT_TRUE(run.waitForFinished(30000));
    EXPECT_EQ(run.exitCode(), 0);
    EXPECT_TRUE(run.readAllStandardOutput().contains("3.0"));
}

// Speech and sound are opened when first wanted: an export, which never speaks, does not pay
// for loading them (the dynamic loader lists every library it opens).
TEST(Program, AnExportLoadsNoSpeechOrSoundLibraries)
{
    QTemporaryDir dir;
    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("files"));
    env.insert(QStringLiteral("LD_DEBUG_OUTPUT"), dir.filePath(QStringLiteral("loader")));
    run.setProcessEnvironment(env);
    run.start(QStringLiteral(QELPRO_BINARY),
              {QStringLiteral("--export"), dir.filePath(QStringLiteral("x.png")),
               qel::test::tableData(QStringLiteral("common_bom.tbx"))});
    ASSERT_TRUE(run.waitForFinished(30000));
    ASSERT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    QByteArray opened;
    const QStringList logs = QDir(dir.path()).entryList({QStringLiteral("loader.*")});
    for (const QString &log : logs)
        opened += qel::test::readFile(dir.filePath(log));
    ASSERT_TRUE(opened.contains("libQt6Gui")) << "the loader's log was written";
    for (const char *library : {"libQt6Multimedia", "libespeak-ng", "qelpro-sound", "libpulse"})
        EXPECT_FALSE(opened.contains(library)) << library;
}

TEST(HeadlessExport, DumpsALoadedTableAsJson)
{
    QTemporaryDir dir;
    QString error;
    const QString out = dir.filePath(QStringLiteral("t.json"));
    ASSERT_EQ(HeadlessExport::run(out, QSize(400, 300),
                                  qel::test::tableData(QStringLiteral("common_bom.tbx")), error),
              0)
        << qPrintable(error);
    // What the window would hold: the chart, its titles and legend, options and table image.
    const QJsonObject o = QJsonDocument::fromJson(qel::test::readFile(out)).object();
    EXPECT_EQ(o.keys(), QString::fromLatin1(
                            "axis chartType hasXValues legend options pointCaptions pointCount "
                            "series seriesCaptions seriesCount table titles")
                            .split(u' '));
    const QJsonArray series = o[QStringLiteral("series")].toArray();
    ASSERT_EQ(series.size(), 3);
    EXPECT_TRUE(series[1].toObject()[QStringLiteral("y")].toArray()[2].isNull()) << "hidden";
    EXPECT_DOUBLE_EQ(series[2].toObject()[QStringLiteral("x")].toArray()[3].toDouble(), 2.0);
    EXPECT_EQ(o[QStringLiteral("titles")].toArray()[3].toString(),
              QStringLiteral("月\r\n\r\n図１　牛肉と豚肉"));
    EXPECT_EQ(o[QStringLiteral("legend")].toString(), QStringLiteral("凡例1\n凡例2"));
    EXPECT_TRUE(o[QStringLiteral("options")].toObject()[QStringLiteral("commonX")].toBool());
    EXPECT_EQ(o[QStringLiteral("axis")].toObject().size(), 8);
    EXPECT_EQ(o[QStringLiteral("table")].toObject()[QStringLiteral("groupCount")].toInt(), 3);
}

TEST(HeadlessExport, ConvertsALegacyFileToATableThatLoadsAgain)
{
    QTemporaryDir dir;
    QString error;
    const QString tbx = dir.filePath(QStringLiteral("line.tbx"));
    ASSERT_EQ(HeadlessExport::run(tbx, QSize(400, 300),
                                  qel::test::tableData(QStringLiteral("line211.dfl")), error),
              0)
        << qPrintable(error);
    const QString text = qel::os::decodeText(qel::test::readFile(tbx)).text;
    EXPECT_TRUE(text.contains(QStringLiteral("\r\nVersion=\t 1 \r\n"))) << "a legacy file's table";
    EXPECT_TRUE(text.contains(QStringLiteral("\r\nType=\t 1 \tTypeOpt\t 0 \r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("{Group}\t新A\t\t新B\t\t")));
    const QString json = dir.filePath(QStringLiteral("line.json"));
    ASSERT_EQ(HeadlessExport::run(json, QSize(400, 300), tbx, error), 0) << qPrintable(error);
    const QString json2 = dir.filePath(QStringLiteral("direct.json"));
    ASSERT_EQ(HeadlessExport::run(json2, QSize(400, 300),
                                  qel::test::tableData(QStringLiteral("line211.dfl")), error),
              0);
    const QJsonObject a = QJsonDocument::fromJson(qel::test::readFile(json)).object();
    const QJsonObject b = QJsonDocument::fromJson(qel::test::readFile(json2)).object();
    EXPECT_EQ(a[QStringLiteral("series")], b[QStringLiteral("series")]);
    EXPECT_EQ(a[QStringLiteral("seriesCaptions")], b[QStringLiteral("seriesCaptions")]);
}

TEST(Program, FailedLoadsPrintTheWindowsMessages)
{
    QTemporaryDir dir;
    const QString program = QStringLiteral(QELPRO_BINARY);
    struct Row
    {
        const char *input;
        QStringList lines;
    };
    const Row rows[] = {
        {"all_equal.tbx", {QStringLiteral("qelpro: Abnormal/No data.")}},
        {"no_group_line.tbx",
         {QStringLiteral("qelpro: Tbx load error"), QStringLiteral("Abnormal/No data.")}},
        {"old113.dfd", {QStringLiteral("qelpro: Not or old Qel file.")}},
        {"lowercase_group.tbx",
         {QStringLiteral("qelpro: 書式またはタブ区切りエラーです。"),
          QStringLiteral("Loading file error.")}},
    };
    for (Row row : rows) {
        // Each ends with the file it is about.
        row.lines.append(qel::test::tableData(QString::fromLatin1(row.input)));
        QProcess run;
        run.start(program, {QStringLiteral("--export"), dir.filePath(QStringLiteral("x.json")),
                            qel::test::tableData(QString::fromLatin1(row.input))});
        ASSERT_TRUE(run.waitForFinished(30000));
        EXPECT_NE(run.exitCode(), 0) << row.input;
        const QStringList err =
            QString::fromUtf8(run.readAllStandardError())
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                .filter(QRegularExpression(QStringLiteral("^(?!QStandardPaths)")));
        EXPECT_EQ(err, row.lines) << row.input;
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("x.json"))));
    }
}

TEST(HeadlessExport, ChartFileDumpHasOptionsAndTheMirroredTable)
{
    QTemporaryDir dir;
    QString error;
    const QString chf = dir.filePath(QStringLiteral("c.chf"));
    ASSERT_EQ(HeadlessExport::run(chf, QSize(400, 300),
                                  qel::test::tableData(QStringLiteral("common_bom.tbx")), error),
              0)
        << qPrintable(error);
    const QString json = dir.filePath(QStringLiteral("c.json"));
    ASSERT_EQ(HeadlessExport::run(json, QSize(400, 300), chf, error), 0) << qPrintable(error);
    const QJsonObject o = QJsonDocument::fromJson(qel::test::readFile(json)).object();
    // The table image follows the chart read from a chart file.
    EXPECT_EQ(o[QStringLiteral("table")].toObject()[QStringLiteral("groupCount")].toInt(),
              o[QStringLiteral("seriesCount")].toInt());
    EXPECT_TRUE(o[QStringLiteral("options")].toObject()[QStringLiteral("commonX")].toBool())
        << "common X travels in the right title";
    EXPECT_EQ(o[QStringLiteral("titles")].toArray()[1].toString(), QStringLiteral("\r\n"))
        << "the option text is not part of the visible title";
    EXPECT_EQ(o[QStringLiteral("seriesCount")].toInt(), 3);

    qel::test::writeFile(chf, "{\"format\": \"qelPro-chart\", \"version\": 99}");
    EXPECT_EQ(HeadlessExport::run(json, QSize(400, 300), chf, error), 1);
    EXPECT_TRUE(error.startsWith(QStringLiteral("chrs3読み込みできませんでした。dir: ") + chf))
        << qPrintable(error);
}

TEST(HeadlessExport, RegressionLineJoinsTheDump)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("r.json"));
    RegressionRequest r;
    r.series = 1;
    r.job = 1;
    QString error;
    ASSERT_EQ(HeadlessExport::run(out, QSize(800, 500),
                                  qel::test::dataPath(QStringLiteral("regression.tbx")), error, &r),
              0)
        << qPrintable(error);
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QJsonObject dump = QJsonDocument::fromJson(f.readAll()).object();
    const QJsonArray captions = dump.value(QStringLiteral("seriesCaptions")).toArray();
    ASSERT_GE(captions.size(), 3);
    EXPECT_TRUE(captions.contains(QStringLiteral("Regr #1")));
    // The fitted line of y = 2x + 1: every written point lies on it.
    const int index = int(std::find(captions.begin(), captions.end(), QStringLiteral("Regr #1")) -
                          captions.begin());
    const QJsonObject line = dump.value(QStringLiteral("series")).toArray()[index].toObject();
    int checked = 0;
    for (int p = 0; p < line.value(QStringLiteral("y")).toArray().size(); ++p) {
        const QJsonValue y = line.value(QStringLiteral("y")).toArray()[p];
        if (y.isNull())
            continue;
        const double x = line.value(QStringLiteral("x")).toArray()[p].toDouble();
        EXPECT_NEAR(y.toDouble(), 2 * x + 1, 1e-3 * std::max(1.0, std::abs(x)));
        ++checked;
    }
    EXPECT_GE(checked, 2);
}

TEST(HeadlessExport, ReportJobAppendsToStatTxtInTheCurrentFolder)
{
    QTemporaryDir dir;
    const QString saved = QDir::currentPath();
    QDir::setCurrent(dir.path());
    RegressionRequest r;
    r.series = 2;
    r.job = 2;
    r.se = true;
    QString error;
    const int rc =
        HeadlessExport::run(dir.filePath(QStringLiteral("r.png")), QSize(800, 500),
                            qel::test::dataPath(QStringLiteral("regression.tbx")), error, &r);
    QDir::setCurrent(saved);
    ASSERT_EQ(rc, 0) << qPrintable(error);
    EXPECT_GT(QFileInfo(dir.filePath(QStringLiteral("Stat.txt"))).size(), 200);
    EXPECT_FALSE(QImage(dir.filePath(QStringLiteral("r.png"))).isNull());

    r.series = 9;
    EXPECT_NE(HeadlessExport::run(dir.filePath(QStringLiteral("x.png")), QSize(800, 500),
                                  qel::test::dataPath(QStringLiteral("regression.tbx")), error, &r),
              0);
    EXPECT_TRUE(error.contains(QStringLiteral("9")));
}

TEST(HeadlessExport, EveryOutputShowsTheBackgroundGradient)
{
    QTemporaryDir dir;
    QString error;
    const QString png = dir.filePath(QStringLiteral("g.png"));
    ASSERT_EQ(HeadlessExport::run(png, QSize(500, 300), QString(), error), 0) << qPrintable(error);
    const QImage picture(png);
    EXPECT_EQ(picture.pixelColor(1, 1), QColor(255, 255, 128)) << "the start-up gradient's top";
    EXPECT_LT(picture.pixelColor(1, 298).red(), 10) << "and its cyan bottom";

    const QString svg = dir.filePath(QStringLiteral("g.svg"));
    ASSERT_EQ(HeadlessExport::run(svg, QSize(500, 300), QString(), error), 0) << qPrintable(error);
    QFile svgFile(svg);
    ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(svgFile.readAll().contains("#ffff80"));

    // Saved in a chart file, the gradient comes back with it: the same picture again.
    const QString chf = dir.filePath(QStringLiteral("g.chf"));
    ASSERT_EQ(HeadlessExport::run(chf, QSize(500, 300), QString(), error), 0) << qPrintable(error);
    const QString again = dir.filePath(QStringLiteral("again.png"));
    ASSERT_EQ(HeadlessExport::run(again, QSize(500, 300), chf, error), 0) << qPrintable(error);
    EXPECT_EQ(QImage(again), picture);
}
