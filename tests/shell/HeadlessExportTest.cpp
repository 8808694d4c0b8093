#include "shell/HeadlessExport.h"
#include "shell/CommandLine.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qel::shell;

TEST(HeadlessExport, FormatFollowsTheExtension)
{
    EXPECT_EQ(HeadlessExport::formatFor(QStringLiteral("a.PNG")), 10);
    EXPECT_EQ(HeadlessExport::formatFor(QStringLiteral("a.bmp")), 2);
    EXPECT_EQ(HeadlessExport::formatFor(QStringLiteral("x/y.chf")), 3);
    EXPECT_EQ(HeadlessExport::formatFor(QStringLiteral("a.jpeg")), 11);
    EXPECT_EQ(HeadlessExport::formatFor(QStringLiteral("a.txt")), 0);
}

TEST(HeadlessExport, WritesTheSampleAndReadsAChartFileBack)
{
    QTemporaryDir dir;
    QString error;
    const QString png = dir.filePath(QStringLiteral("s.png"));
    ASSERT_EQ(HeadlessExport::run(png, QSize(500, 300), QString(), error), 0) << qPrintable(error);
    EXPECT_EQ(QImage(png).size(), QSize(500, 300));

    const QString chf = dir.filePath(QStringLiteral("s.chf"));
    ASSERT_EQ(HeadlessExport::run(chf, QSize(500, 300), QString(), error), 0);
    const QString again = dir.filePath(QStringLiteral("again.png"));
    ASSERT_EQ(HeadlessExport::run(again, QSize(500, 300), chf, error), 0) << qPrintable(error);
    EXPECT_EQ(QImage(again), QImage(png)) << "the chart file holds the whole chart";
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
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\x89PNG garbage");
    f.close();
    error.clear();
    EXPECT_NE(
        HeadlessExport::run(dir.filePath(QStringLiteral("o.png")), QSize(100, 100), bad, error), 0);
    EXPECT_TRUE(error.contains(QStringLiteral("bad.chf"))) << qPrintable(error);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("o.png"))));
}

TEST(CommandLine, ReadsExportSizeAndFile)
{
    const CommandLine line = CommandLine::parse(
        {QStringLiteral("qelpro"), QStringLiteral("--export"), QStringLiteral("o.svg"),
         QStringLiteral("--size"), QStringLiteral("800x600"), QStringLiteral("in.chf")});
    EXPECT_TRUE(line.ok);
    EXPECT_EQ(line.exportPath, QStringLiteral("o.svg"));
    EXPECT_EQ(line.exportSize, QSize(800, 600));
    EXPECT_EQ(line.file, QStringLiteral("in.chf"));
    EXPECT_FALSE(CommandLine::parse({QStringLiteral("qelpro"), QStringLiteral("--size"),
                                     QStringLiteral("99999x1")})
                     .ok);
    EXPECT_FALSE(
        CommandLine::parse({QStringLiteral("qelpro"), QStringLiteral("a"), QStringLiteral("b")})
            .ok);
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
