#include "os/FileAccess.h"
#include "os/LargeMemory.h"

#include "support/SpecialFiles.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using qel::os::FileAccess;
using qel::os::Result;
using namespace qel::test;

namespace {

// Every case runs in its own folder; make lays out what the case needs and returns the path
// under test.
struct FileCase
{
    const char *name;
    std::function<QString(const QDir &)> make;
    qint32 code; // 0: success
    const char *reason;
};

QString plainFile(const QDir &dir, const QByteArray &bytes = "old")
{
    const QString path = dir.filePath(QStringLiteral("a.tbx"));
    writeFile(path, bytes);
    return path;
}

std::vector<FileCase> readCases()
{
    return {
        {"RegularFile", [](const QDir &d) { return plainFile(d); }, 0, ""},
        {"LinkToRegularFile",
         [](const QDir &d) { return makeLink(d, QStringLiteral("link.tbx"), plainFile(d)); }, 0,
         ""},
        {"Missing", [](const QDir &d) { return d.filePath(QStringLiteral("none.tbx")); },
         FileAccess::NotFound, "ファイルが見つかりません"},
        {"Folder", [](const QDir &d) { return d.path(); }, FileAccess::IsFolder, "フォルダーです"},
        {"Fifo", [](const QDir &d) { return makeFifo(d, QStringLiteral("pipe.tbx")); },
         FileAccess::NotRegularFile, "通常のファイルではありません"},
        {"LinkToFifo",
         [](const QDir &d) {
             return makeLink(d, QStringLiteral("x.tbx"), makeFifo(d, QStringLiteral("pipe")));
         },
         FileAccess::NotRegularFile, "デバイスや FIFO は開けません"},
        {"LinkToZeroDevice",
         [](const QDir &d) {
             return makeLink(d, QStringLiteral("x.tbx"), QStringLiteral("/dev/zero"));
         },
         FileAccess::NotRegularFile, "通常のファイルではありません"},
        {"Socket", [](const QDir &d) { return makeSocket(d, QStringLiteral("s.tbx")); },
         FileAccess::NotRegularFile, "通常のファイルではありません"},
        {"TooLarge", [](const QDir &d) { return plainFile(d, QByteArray(101, 'x')); },
         FileAccess::TooLarge, "ファイルが大きすぎます（上限 100 バイト）"},
        {"ParentIsAFile", [](const QDir &d) { return plainFile(d) + QStringLiteral("/inner.tbx"); },
         FileAccess::NoFolder, "フォルダーがありません"},
        {"LinkLoop",
         [](const QDir &d) {
             makeLink(d, QStringLiteral("b"), d.filePath(QStringLiteral("a")));
             return makeLink(d, QStringLiteral("a"), d.filePath(QStringLiteral("b")));
         },
         FileAccess::Failed, "循環"},
    };
}

class ReadRegularFile : public testing::TestWithParam<FileCase>
{
};

TEST_P(ReadRegularFile, OpensOnlyRegularFilesAndSaysWhy)
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const QString path = GetParam().make(dir);
    QByteArray bytes = "stale";
    const Result r = FileAccess::readRegularFile(path, bytes, 100);
    EXPECT_EQ(r.code, GetParam().code) << r.message.toStdString();
    if (GetParam().code == 0) {
        EXPECT_EQ(bytes, QByteArray("old"));
        return;
    }
    EXPECT_TRUE(bytes.isEmpty());
    EXPECT_TRUE(r.message.startsWith(path + QStringLiteral(": "))) << r.message.toStdString();
    EXPECT_TRUE(r.message.contains(QString::fromUtf8(GetParam().reason)))
        << r.message.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Files, ReadRegularFile, testing::ValuesIn(readCases()),
                         [](const auto &info) { return std::string(info.param.name); });

// Large files are read into memory taken in huge pages: every byte still arrives, at every
// size around a huge page and off its boundaries.
TEST(ReadRegularFile, LargeFilesArriveWhole)
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const qsizetype huge = qsizetype(qel::os::LargeMemory::HugePage);
    for (const qsizetype size : {huge - 1, huge, huge + 1, 3 * huge + 4097, 9 * huge / 2}) {
        QByteArray bytes(size, Qt::Uninitialized);
        for (qsizetype i = 0; i < size; ++i)
            bytes[i] = char((i * 7919) >> 3);
        const QString path = plainFile(dir, bytes);
        QByteArray read;
        ASSERT_TRUE(FileAccess::readRegularFile(path, read, 64 * huge).ok()) << size;
        EXPECT_TRUE(read == bytes) << size;
    }
}

TEST(LargeMemory, AssignGivesEveryElementTheValueAtEverySize)
{
    std::vector<float> v(10, 1.0f);
    const std::size_t perPage = qel::os::LargeMemory::HugePage / sizeof(float);
    for (const std::size_t count :
         {std::size_t(0), std::size_t(3), perPage - 1, perPage, 3 * perPage + 5, std::size_t(7)}) {
        qel::os::LargeMemory::assign(v, count, 2.5f);
        ASSERT_EQ(v.size(), count);
        EXPECT_EQ(std::count(v.begin(), v.end(), 2.5f), std::ptrdiff_t(count)) << count;
    }
}

TEST(ReadRegularFile, RefusesAFileTheOwnerMayNotRead)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads files whatever their permission bits say";
    QTemporaryDir tmp;
    const QString path = plainFile(QDir(tmp.path()));
    QFile::setPermissions(path, QFileDevice::WriteOwner);
    QByteArray bytes;
    const Result r = FileAccess::readRegularFile(path, bytes, 100);
    EXPECT_EQ(r.code, FileAccess::NoPermission);
    EXPECT_TRUE(r.message.contains(QStringLiteral("権限がありません")));
}

std::vector<FileCase> saveCases()
{
    return {
        {"NewName", [](const QDir &d) { return d.filePath(QStringLiteral("new.tbx")); }, 0, ""},
        {"RegularFile", [](const QDir &d) { return plainFile(d); }, 0, ""},
        {"Fifo", [](const QDir &d) { return makeFifo(d, QStringLiteral("pipe.tbx")); },
         FileAccess::NotRegularFile, "通常のファイルではありません"},
        {"LinkToFifo",
         [](const QDir &d) {
             return makeLink(d, QStringLiteral("x.tbx"), makeFifo(d, QStringLiteral("pipe")));
         },
         FileAccess::NotRegularFile, "デバイスや FIFO は開けません"},
        {"Socket", [](const QDir &d) { return makeSocket(d, QStringLiteral("s.tbx")); },
         FileAccess::NotRegularFile, "通常のファイルではありません"},
        {"Folder",
         [](const QDir &d) {
             d.mkdir(QStringLiteral("sub.tbx"));
             return d.filePath(QStringLiteral("sub.tbx"));
         },
         FileAccess::IsFolder, "同じ名前のフォルダーがあります"},
        {"MissingFolder", [](const QDir &d) { return d.filePath(QStringLiteral("gone/new.tbx")); },
         FileAccess::NoFolder, "フォルダーがありません"},
        {"ParentIsAFile", [](const QDir &d) { return plainFile(d) + QStringLiteral("/inner.tbx"); },
         FileAccess::NoFolder, "フォルダーがありません"},
        {"LinkLoop",
         [](const QDir &d) {
             makeLink(d, QStringLiteral("b"), d.filePath(QStringLiteral("a")));
             return makeLink(d, QStringLiteral("a"), d.filePath(QStringLiteral("b")));
         },
         FileAccess::Failed, "循環"},
    };
}

class SaveFile : public testing::TestWithParam<FileCase>
{
};

TEST_P(SaveFile, ReplacesOnlyRegularFilesAndLeavesTheRestAlone)
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const QString path = GetParam().make(dir);
    const QStringList before = listing(dir);
    const QString kindBefore = kindOf(path);
    const Result r = FileAccess::saveFile(path, "new");
    EXPECT_EQ(r.code, GetParam().code) << r.message.toStdString();
    if (GetParam().code == 0) {
        EXPECT_EQ(readFile(path), QByteArray("new"));
        EXPECT_EQ(kindOf(path), QStringLiteral("file"));
        return;
    }
    EXPECT_TRUE(r.message.startsWith(path + QStringLiteral(": "))) << r.message.toStdString();
    EXPECT_TRUE(r.message.contains(QString::fromUtf8(GetParam().reason)))
        << r.message.toStdString();
    // Nothing replaced, nothing left behind.
    EXPECT_EQ(kindOf(path), kindBefore);
    EXPECT_EQ(listing(dir), before);
}

INSTANTIATE_TEST_SUITE_P(Files, SaveFile, testing::ValuesIn(saveCases()),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(SaveFile, SavesALinkedFileAtItsTargetAndKeepsTheLink)
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    dir.mkdir(QStringLiteral("data"));
    const QString target = dir.filePath(QStringLiteral("data/real.tbx"));
    writeFile(target, "old");
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                      QFileDevice::ReadGroup);
    // A relative link, as users make them, through a second link.
    ASSERT_EQ(::symlink("data/real.tbx", QFile::encodeName(dir.filePath(QStringLiteral("mid")))),
              0);
    const QString link = makeLink(dir, QStringLiteral("link.tbx"), QStringLiteral("mid"));

    const Result r = FileAccess::saveFile(link, "new");
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(kindOf(link), QStringLiteral("link"));
    EXPECT_EQ(kindOf(dir.filePath(QStringLiteral("mid"))), QStringLiteral("link"));
    EXPECT_EQ(readFile(target), QByteArray("new"));
    struct stat info;
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << "the permissions of the old file are kept";
    EXPECT_EQ(listing(QDir(dir.filePath(QStringLiteral("data")))),
              QStringList{QStringLiteral("real.tbx")});
}

TEST(SaveFile, ALinkToANewNameCreatesTheTarget)
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const QString link =
        makeLink(dir, QStringLiteral("link.tbx"), dir.filePath(QStringLiteral("later.tbx")));
    ASSERT_TRUE(FileAccess::saveFile(link, "new").ok());
    EXPECT_EQ(kindOf(link), QStringLiteral("link"));
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("later.tbx"))), QByteArray("new"));
}

TEST(SaveFile, ReadOnlyFolderIsReportedWithItsReason)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into folders whatever their permission bits say";
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const QString path = plainFile(dir);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const Result r = FileAccess::saveFile(path, "new");
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(r.code, FileAccess::NoPermission);
    EXPECT_TRUE(r.message.contains(QStringLiteral("権限がありません")));
    EXPECT_EQ(readFile(path), QByteArray("old"));
}

TEST(SaveFile, AFullDiskKeepsTheOldFileAndSaysTheDiskIsFull)
{
    SmallDisk disk(64 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << "no small file system can be mounted here";
    const QDir dir(disk.path());
    const QString path = plainFile(dir);
    const Result r = FileAccess::saveFile(path, QByteArray(256 * 1024, 'x'));
    EXPECT_EQ(r.code, FileAccess::DiskFull);
    EXPECT_TRUE(r.message.contains(QStringLiteral("ディスクがいっぱいです")))
        << r.message.toStdString();
    EXPECT_EQ(readFile(path), QByteArray("old"));
    EXPECT_EQ(listing(dir), QStringList{QStringLiteral("a.tbx")});
}

TEST(AppendFile, AppendsToRegularFilesOnly)
{
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const QString log = dir.filePath(QStringLiteral("qelAccs.log"));
    ASSERT_TRUE(FileAccess::appendFile(log, QByteArray()).ok());
    EXPECT_TRUE(QFileInfo(log).isFile());
    ASSERT_TRUE(FileAccess::appendFile(log, "a\r\n").ok());
    ASSERT_TRUE(FileAccess::appendFile(log, "b\r\n").ok());
    EXPECT_EQ(readFile(log), QByteArray("a\r\nb\r\n"));

    const QString fifo = makeFifo(dir, QStringLiteral("pipe.log"));
    const QString link = makeLink(dir, QStringLiteral("link.log"), fifo);
    for (const QString &path : {fifo, link}) {
        const Result r = FileAccess::appendFile(path, "x");
        EXPECT_EQ(r.code, FileAccess::NotRegularFile) << path.toStdString();
        EXPECT_EQ(kindOf(fifo), QStringLiteral("fifo"));
    }
    EXPECT_EQ(FileAccess::appendFile(dir.filePath(QStringLiteral("gone/x.log")), "x").code,
              FileAccess::NoFolder);
}

} // namespace
