#include "os/AccessLog.h"
#include "os/AboutInfo.h"
#include "os/TextCodec.h"
#include "support/SpecialFiles.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qel;
using os::AccessLog;

namespace {

const QDateTime When(QDate(2026, 12, 5), QTime(5, 9, 26));

} // namespace

TEST(AboutInfo, ShareShowsTheServerAndLocalShowsTheComputer)
{
    os::MachineLine m = os::MachineLine::forProgramDirectory(QStringLiteral("\\\\srv\\share\\dir"),
                                                             QStringLiteral("pc1"));
    EXPECT_EQ(m.heading, QStringLiteral("ｻｰﾊﾞｰ名"));
    EXPECT_EQ(m.name, QStringLiteral("srv"));
    m = os::MachineLine::forProgramDirectory(QStringLiteral("//nas/qel"), QStringLiteral("pc1"));
    EXPECT_EQ(m.name, QStringLiteral("nas"));
    m = os::MachineLine::forProgramDirectory(QStringLiteral("/home/u/.local/share/qelPro"),
                                             QStringLiteral("pc1"));
    EXPECT_EQ(m.heading, QStringLiteral("ｺﾝﾋﾟｭｰﾀ名"));
    EXPECT_EQ(m.name, QStringLiteral("pc1"));
}

TEST(AccessLog, OpensThePerMachineLogAndFallsBack)
{
    QTemporaryDir dir;
    AccessLog log = AccessLog::open(dir.path(), QStringLiteral("srv"));
    EXPECT_EQ(QFileInfo(log.fileName()).fileName(), QStringLiteral("qelAccssrv.log"));
    EXPECT_TRUE(QFile::exists(log.fileName())) << "opening creates the file";
    log = AccessLog::open(dir.path(), QStringLiteral("bad/name"));
    EXPECT_EQ(QFileInfo(log.fileName()).fileName(), QStringLiteral("qelAccs.log"));
}

TEST(AccessLog, RecordLayoutsByteForByte)
{
    QTemporaryDir dir;
    const AccessLog log(dir.filePath(QStringLiteral("qelAccspc.log")));
    ASSERT_TRUE(log.write(QStringLiteral("<load CHF>"), QStringLiteral("/d/a.chf"),
                          QStringLiteral("3.0"), QString(), false, When));
    ASSERT_TRUE(log.write(QStringLiteral("<save CHF>"), QStringLiteral("/d/図.chf"),
                          QStringLiteral("3.0"), QStringLiteral("Figure 1"), false, When));
    ASSERT_TRUE(log.write(QStringLiteral("<save CHF>"), QStringLiteral("/d/b.chf"),
                          QStringLiteral("3.0"), QString(), true, When));
    const QByteArray expected = os::encodeText(QStringLiteral(
        "<load CHF>,12-05-2026,05:09:26 , /d/a.chf\r\n"
        "\r\n<3.0>, 12-05-2026,05:09:26\r\n<save CHF>,/d/図.chf\r\n<title>    ,\"Figure 1\"\r\n"
        "\r\n<3.0>, 12-05-2026,05:09:26\r\n<save CHF>2,/d/b.chf\r\n"));
    EXPECT_EQ(test::readFile(log.fileName()), expected);
}

TEST(AccessLog, RotatesOnlyAboveAMillionBytes)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("qelAccspc.log"));
    test::writeFile(name, QByteArray(1000000, 'x'));
    const AccessLog log(name);
    EXPECT_TRUE(log.rotate(QDate(2026, 12, 6)).isEmpty());
    EXPECT_TRUE(QFile::exists(name));

    test::writeFile(name, QByteArray(1000001, 'x'));
    const QString moved = log.rotate(QDate(2026, 12, 6));
    EXPECT_EQ(QFileInfo(moved).fileName(), QStringLiteral("qelAccspc12-06-2026.log"));
    EXPECT_FALSE(QFile::exists(name));
    EXPECT_EQ(QFileInfo(moved).size(), 1000001);

    test::writeFile(name, QByteArray(1000001, 'y'));
    const QString second = log.rotate(QDate(2026, 12, 6));
    EXPECT_NE(second, moved) << "a second rotation the same day keeps the first";
    EXPECT_EQ(QFileInfo(moved).size(), 1000001);
}

TEST(AccessLog, AFailedWriteLeavesTheLogAlone)
{
    QTemporaryDir dir;
    const AccessLog log(dir.filePath(QStringLiteral("no/such/dir/qelAccs.log")));
    EXPECT_FALSE(log.write(QStringLiteral("<load JPG>"), QStringLiteral("/a.jpg"),
                           QStringLiteral("3.0"), QString(), false, When));
}

// A log name that is a FIFO would block the start (opening a FIFO to write waits for a
// reader); the shared log is used instead and the FIFO left alone.
TEST(AccessLog, ALogThatIsNoFileIsPassedOverAndLeftAlone)
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const QString fifo = test::makeFifo(dir, QStringLiteral("qelAccssrv.log"));
    const AccessLog log = AccessLog::open(dir.path(), QStringLiteral("srv"));
    EXPECT_EQ(QFileInfo(log.fileName()).fileName(), QStringLiteral("qelAccs.log"));
    EXPECT_TRUE(QFileInfo(log.fileName()).isFile());
    EXPECT_EQ(test::kindOf(fifo), QStringLiteral("fifo"));
}
