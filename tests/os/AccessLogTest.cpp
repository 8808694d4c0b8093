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
    const struct
    {
        const char *programDir;
        const char *heading;
        const char *name;
    } rows[] = {
        {"\\\\srv\\share\\dir", "ｻｰﾊﾞｰ名", "srv"},
        {"//nas/qel", "ｻｰﾊﾞｰ名", "nas"},
        {"/home/u/.local/share/qelPro", "ｺﾝﾋﾟｭｰﾀ名", "pc1"},
    };
    for (const auto &row : rows) {
        const os::MachineLine m = os::MachineLine::forProgramDirectory(
            QString::fromUtf8(row.programDir), QStringLiteral("pc1"));
        EXPECT_EQ(m.heading, QString::fromUtf8(row.heading)) << row.programDir;
        EXPECT_EQ(m.name, QString::fromUtf8(row.name)) << row.programDir;
    }
}

// Each machine keeps its own log, created on opening. A machine name that cannot be part of a
// file name, or a log name taken by a FIFO (opening it to write would wait for a reader and
// block the start), falls back to the shared log, and the FIFO is left alone.
TEST(AccessLog, OpensThePerMachineLogAndFallsBack)
{
    const struct
    {
        const char *machine;
        bool fifoInTheWay;
        const char *log;
    } rows[] = {
        {"srv", false, "qelAccssrv.log"},
        {"bad/name", false, "qelAccs.log"},
        {"srv", true, "qelAccs.log"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.machine) + (row.fifoInTheWay ? " (fifo)" : ""));
        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        const QString own = QStringLiteral("qelAccs%1.log").arg(QString::fromLatin1(row.machine));
        const QString fifo = row.fifoInTheWay ? test::makeFifo(dir, own) : QString();
        const AccessLog log = AccessLog::open(dir.path(), QString::fromLatin1(row.machine));
        EXPECT_EQ(QFileInfo(log.fileName()).fileName(), QString::fromLatin1(row.log));
        EXPECT_TRUE(QFileInfo(log.fileName()).isFile()) << "opening creates the file";
        if (row.fifoInTheWay) {
            EXPECT_EQ(test::kindOf(fifo), QStringLiteral("fifo"));
        }
    }
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
