#include "settings/LegendFile.h"

#include "os/TextCodec.h"
#include "support/SpecialFiles.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using qel::settings::LegendFile;
using namespace qel::test;

TEST(LegendFile, OnlyChartAndTableFilesHaveOne)
{
    EXPECT_EQ(LegendFile::pathFor(QStringLiteral("/d/a.chf")), QStringLiteral("/d/a.App"));
    EXPECT_EQ(LegendFile::pathFor(QStringLiteral("/d/a.b.CHF")), QStringLiteral("/d/a.b.App"));
    EXPECT_EQ(LegendFile::pathFor(QStringLiteral("/d/a.Tbx")), QStringLiteral("/d/a.App"));
    EXPECT_EQ(LegendFile::pathFor(QStringLiteral("/d/a.jpg")), QString());
    EXPECT_EQ(LegendFile::pathFor(QStringLiteral("/d/a.dfl")), QString());
    QString legend = QStringLiteral("kept");
    EXPECT_FALSE(LegendFile::save1Load2AppendLegendFile(2, QStringLiteral("/d/a.jpg"), legend));
    EXPECT_EQ(legend, QStringLiteral("kept"));
}

TEST(LegendFile, ReadsFixtures)
{
    struct Row
    {
        const char *file;
        const char *legend;
    };
    for (const Row &row :
         {Row{"two_lines.App", "first line\r\nsecond, with comma\r\n"},
          Row{"no_end.App", "no end\r\nplain\r\nfield\r\n"}, Row{"cp932.App", "日本語\r\n"}}) {
        const QString legend = LegendFile::decode(
            qel::test::readFile(qel::test::dataPath(QString::fromLatin1(row.file))));
        EXPECT_EQ(legend, QString::fromUtf8(row.legend)) << row.file;
    }
}

TEST(LegendFile, SaveAndLoadKeepTheText)
{
    QTemporaryDir dir;
    const QString chart = dir.filePath(QStringLiteral("a.CHF"));
    const QString texts[] = {QStringLiteral("一行"), QStringLiteral("line 1\r\nline 2, with comma"),
                             QStringLiteral("say \"hello\""), QStringLiteral("}File Legend End"),
                             QStringLiteral("〜 − —")};
    for (const QString &text : texts) {
        QString legend = text;
        ASSERT_TRUE(LegendFile::save1Load2AppendLegendFile(1, chart, legend));
        EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("a.App"))));
        QString loaded = QStringLiteral("previous");
        ASSERT_TRUE(LegendFile::save1Load2AppendLegendFile(2, chart, loaded));
        // Back with one CR LF after it; CP932's own wave dash, minus and dash stand in.
        EXPECT_EQ(loaded, qel::os::foldToCp932(text) + QStringLiteral("\r\n"));
        // Saving what was loaded does not add another line each time.
        ASSERT_TRUE(LegendFile::save1Load2AppendLegendFile(1, chart, loaded));
        QString again;
        LegendFile::save1Load2AppendLegendFile(2, chart, again);
        EXPECT_EQ(again, loaded);
    }
    const QByteArray bytes = qel::test::readFile(dir.filePath(QStringLiteral("a.App")));
    EXPECT_TRUE(bytes.startsWith("File Legend{\r\n\"")) << bytes.constData();
    EXPECT_TRUE(bytes.endsWith("\"\r\n}File Legend End\r\n"));
}

TEST(LegendFile, SaveFollowsALinkToARegularFile)
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    QString legend = QStringLiteral("text");
    dir.mkdir(QStringLiteral("real"));
    const QString real = dir.filePath(QStringLiteral("real/b.App"));
    writeFile(real, "old");
    const QString link = makeLink(dir, QStringLiteral("b.App"), real);
    ASSERT_TRUE(
        LegendFile::save1Load2AppendLegendFile(1, dir.filePath(QStringLiteral("b.chf")), legend));
    EXPECT_EQ(kindOf(link), QStringLiteral("link"));
    EXPECT_EQ(LegendFile::decode(readFile(real)), QStringLiteral("text\r\n"));
}
