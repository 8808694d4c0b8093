#include "shell/ShippedFiles.h"
#include "chartdoc/SampleChart.h"
#include "chartview/render/ChartControl.h"
#include "chartview/render/ChartFile.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qel;
using shell::ShippedFiles;

TEST(ShippedFiles, AFreshFolderGetsEveryFileWritableByTheUser)
{
    QTemporaryDir dir;
    EXPECT_TRUE(ShippedFiles::install(dir.path()).isEmpty());
    for (const QString &name : ShippedFiles::names()) {
        const QFileInfo info(dir.filePath(name));
        EXPECT_TRUE(info.exists()) << qPrintable(name);
        EXPECT_TRUE(info.isWritable()) << qPrintable(name);
        EXPECT_EQ(test::readFile(info.filePath()), test::readFile(ShippedFiles::builtIn(name)));
    }
}

TEST(ShippedFiles, TheUsersFilesAreNeverReplaced)
{
    QTemporaryDir dir;
    test::writeFile(dir.filePath(QStringLiteral("qelPro.html")), "<p>my own help</p>");
    test::writeFile(dir.filePath(QStringLiteral("qelPro.chf")), QByteArray()); // even empty
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone")),
                            dir.filePath(QStringLiteral("qel-hlp.rtf"))));
    EXPECT_TRUE(ShippedFiles::install(dir.path()).isEmpty());
    EXPECT_EQ(test::readFile(dir.filePath(QStringLiteral("qelPro.html"))),
              QByteArray("<p>my own help</p>"));
    EXPECT_EQ(QFileInfo(dir.filePath(QStringLiteral("qelPro.chf"))).size(), 0);
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("qel-hlp.rtf"))).isSymLink());
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("qelMult.chf"))));
}

TEST(ShippedFiles, AFolderThatCannotBeWrittenReportsEveryFile)
{
    QTemporaryDir dir;
    test::writeFile(dir.filePath(QStringLiteral("plain")), "x");
    EXPECT_EQ(ShippedFiles::install(dir.filePath(QStringLiteral("plain/sub"))),
              ShippedFiles::names());
}

TEST(ShippedFiles, TheStartUpChartsAreTheBuiltInSample)
{
    chartview::ChartControl chart1, chart2;
    chartdoc::buildSampleChart(chart1, chart2);
    chartview::ChartModel single, multi;
    ASSERT_TRUE(
        chartview::ChartFile::load(ShippedFiles::builtIn(QStringLiteral("qelPro.chf")), single)
            .ok());
    ASSERT_TRUE(
        chartview::ChartFile::load(ShippedFiles::builtIn(QStringLiteral("qelMult.chf")), multi)
            .ok());
    EXPECT_TRUE(single == chart1.model()) << "resources/qelPro.chf is out of date";
    EXPECT_TRUE(multi == chart2.model()) << "resources/qelMult.chf is out of date";
}

TEST(ShippedFiles, TheHelpIsHtmlAndTheHelpTextRtf)
{
    const QByteArray help = test::readFile(ShippedFiles::builtIn(QStringLiteral("qelPro.html")));
    EXPECT_TRUE(help.contains("<title>qelPro ヘルプ</title>"));
    const QByteArray text = test::readFile(ShippedFiles::builtIn(QStringLiteral("qel-hlp.rtf")));
    EXPECT_TRUE(text.startsWith("{\\rtf1"));
    EXPECT_TRUE(text.trimmed().endsWith('}'));
}
