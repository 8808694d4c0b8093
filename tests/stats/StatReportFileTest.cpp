#include "stats/StatReport.h"

#include "os/TextCodec.h"
#include "support/SpecialFiles.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qel;
using qel::stats::StatReport;

// Stat.txt is appended to by rewriting it whole; what is no regular file is neither read nor
// replaced (see UnreadableFiles).
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
