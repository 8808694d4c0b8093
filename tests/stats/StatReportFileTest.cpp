#include "stats/StatReport.h"

#include "os/FileAccess.h"
#include "os/TextCodec.h"
#include "support/SpecialFiles.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qel;
using qel::os::FileAccess;
using qel::stats::StatReport;

// Stat.txt is appended to by rewriting it whole; a name that is no regular file is neither
// read (a FIFO would hang the job) nor replaced.
TEST(StatReportFile, AppendsOnlyToRegularFilesAndSaysWhyNot)
{
    struct Row
    {
        const char *name;
        QString (*make)(const QDir &dir);
        const char *reason;
    };
    const Row rows[] = {
        {"fifo", [](const QDir &d) { return test::makeFifo(d, QStringLiteral("Stat.txt")); },
         "通常のファイルではありません"},
        {"link to fifo",
         [](const QDir &d) {
             return test::makeLink(d, QStringLiteral("Stat.txt"),
                                   test::makeFifo(d, QStringLiteral("pipe")));
         },
         "通常のファイルではありません"},
        {"folder",
         [](const QDir &d) {
             d.mkdir(QStringLiteral("Stat.txt"));
             return d.filePath(QStringLiteral("Stat.txt"));
         },
         "フォルダーです"},
        {"missing folder", [](const QDir &d) { return d.filePath(QStringLiteral("no/Stat.txt")); },
         "フォルダーがありません"},
    };
    for (const Row &row : rows) {
        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        const QString path = row.make(dir);
        const QStringList before = test::listing(dir);
        const QString kind = test::kindOf(path);
        QString error;
        EXPECT_FALSE(StatReport::appendToFile(path, QStringLiteral("line\r\n"), &error))
            << row.name;
        EXPECT_TRUE(error.startsWith(path + QStringLiteral(": "))) << row.name;
        EXPECT_TRUE(error.contains(QString::fromUtf8(row.reason))) << row.name;
        EXPECT_EQ(test::kindOf(path), kind) << row.name;
        EXPECT_EQ(test::listing(dir), before) << row.name;
    }
}

TEST(StatReportFile, AppendsThroughALinkAndKeepsTheFileEncoding)
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const QString real = dir.filePath(QStringLiteral("real.txt"));
    test::writeFile(real, os::encodeText(QStringLiteral("回帰\r\n")));
    const QString link = test::makeLink(dir, QStringLiteral("Stat.txt"), real);
    ASSERT_TRUE(StatReport::appendToFile(link, QStringLiteral("直線\r\n")));
    EXPECT_EQ(test::kindOf(link), QStringLiteral("link"));
    EXPECT_EQ(test::readFile(real), os::encodeText(QStringLiteral("回帰\r\n直線\r\n")));
}
