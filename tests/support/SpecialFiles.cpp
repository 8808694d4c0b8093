#include "support/SpecialFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace qel::test {

QString makeFifo(const QDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0) << path.toStdString();
    return path;
}

QString makeSocket(const QDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    const QByteArray encoded = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    EXPECT_LT(std::size_t(encoded.size()), sizeof address.sun_path);
    std::strncpy(address.sun_path, encoded.constData(), sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
    ::close(fd); // the socket file stays behind
    return path;
}

QString makeLink(const QDir &dir, const QString &name, const QString &target)
{
    const QString path = dir.filePath(name);
    EXPECT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()),
              0)
        << path.toStdString();
    return path;
}

QString kindOf(const QString &path)
{
    struct stat info;
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return QStringLiteral("none");
    if (S_ISLNK(info.st_mode))
        return QStringLiteral("link");
    if (S_ISREG(info.st_mode))
        return QStringLiteral("file");
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("folder");
    if (S_ISFIFO(info.st_mode))
        return QStringLiteral("fifo");
    if (S_ISSOCK(info.st_mode))
        return QStringLiteral("socket");
    return QStringLiteral("device");
}

QStringList listing(const QDir &dir)
{
    return dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDir::Name);
}

const char *nameOf(Special kind)
{
    switch (kind) {
    case Special::Fifo:
        return "fifo";
    case Special::LinkToFifo:
        return "link to a fifo";
    case Special::LinkToDevice:
        return "link to /dev/zero";
    case Special::Socket:
        return "socket";
    case Special::Folder:
        return "folder";
    case Special::Missing:
        return "missing";
    }
    return "?";
}

QString makeSpecial(const QDir &dir, const QString &name, Special kind)
{
    switch (kind) {
    case Special::Fifo:
        return makeFifo(dir, name);
    case Special::LinkToFifo:
        return makeLink(dir, name, makeFifo(dir, name + QStringLiteral(".pipe")));
    case Special::LinkToDevice:
        return makeLink(dir, name, QStringLiteral("/dev/zero"));
    case Special::Socket:
        return makeSocket(dir, name);
    case Special::Folder:
        EXPECT_TRUE(dir.mkpath(name));
        return dir.filePath(name);
    case Special::Missing:
        return dir.filePath(name);
    }
    return {};
}

QString readReason(Special kind)
{
    switch (kind) {
    case Special::Folder:
        return QStringLiteral("フォルダーです");
    case Special::Missing:
        return QStringLiteral("ファイルが見つかりません");
    default:
        return QStringLiteral("通常のファイルではありません");
    }
}

HangGuard::HangGuard(unsigned seconds)
{
    ::alarm(seconds);
}

HangGuard::~HangGuard()
{
    ::alarm(0);
}

SmallDisk::SmallDisk(qint64 bytes)
{
    QTemporaryDir dir;
    dir.setAutoRemove(false);
    m_path = dir.path();
    const QByteArray options = "size=" + QByteArray::number(bytes);
    m_mounted =
        ::geteuid() == 0 && ::mount("tmpfs", QFile::encodeName(m_path).constData(), "tmpfs",
                                    MS_NOSUID | MS_NODEV | MS_NOEXEC, options.constData()) == 0;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
    QDir(m_path).removeRecursively();
}

} // namespace qel::test
