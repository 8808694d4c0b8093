#include "os/FileAccess.h"

#include "os/LargeMemory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qel::os {

namespace {

constexpr int MaxLinkHops = 40;

// read(2), taken up again when a signal interrupts it.
ssize_t readSome(int fd, char *into, std::size_t size)
{
    for (;;) {
        const ssize_t n = ::read(fd, into, size);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

class Descriptor
{
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    // Closes now, so that an error of the close itself is seen.
    int close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd);
    }

private:
    int m_fd;
};

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

QString folderOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

Result notRegular(const QString &path)
{
    return Result::failure(FileAccess::describe(path, FileAccess::notRegularText()),
                           FileAccess::NotRegularFile);
}

Result tooLarge(const QString &path, qint64 maxBytes)
{
    return Result::failure(FileAccess::describe(path, FileAccess::tooLargeText(maxBytes)),
                           FileAccess::TooLarge);
}

Result noFolder(const QString &path)
{
    return Result::failure(FileAccess::describe(path, FileAccess::reasonText(ENOTDIR)),
                           FileAccess::NoFolder);
}

qint32 codeFor(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
        return FileAccess::NotFound;
    case ENOTDIR:
        return FileAccess::NoFolder;
    case EACCES:
    case EPERM:
        return FileAccess::NoPermission;
    case ENOSPC:
    case EDQUOT:
        return FileAccess::DiskFull;
    case EROFS:
        return FileAccess::ReadOnlyFileSystem;
    case EISDIR:
        return FileAccess::IsFolder;
    case ENXIO:
    case ENODEV:
        return FileAccess::NotRegularFile;
    default:
        return FileAccess::Failed;
    }
}

// Writes everything, resuming after signals; false leaves the reason in errno.
bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(std::min<qint64>(left, 1 << 20)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        data += n;
        left -= n;
    }
    return true;
}

// The files built into the program (":/…") are data in memory, never a device or a FIFO.
Result readResource(const QString &path, QByteArray &bytes, qint64 maxBytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileAccess::failure(path, ENOENT);
    if (file.size() > maxBytes)
        return tooLarge(path, maxBytes);
    bytes = file.readAll();
    return Result::success();
}

// The text of a symlink as stored (relative links stay relative to the link's folder).
QString readLink(const QString &path)
{
    QByteArray raw(4096, '\0');
    const ssize_t n = ::readlink(encoded(path).constData(), raw.data(), size_t(raw.size()));
    raw.resize(n < 0 ? 0 : qsizetype(n));
    return QFile::decodeName(raw);
}

// A name beside the target that no one else uses; kept short so a long file name still fits.
QString temporaryName(const QString &target)
{
    const QString name = target.mid(target.lastIndexOf(QLatin1Char('/')) + 1);
    return folderOf(target) + QStringLiteral("/.") + name.left(40) + QLatin1Char('.') +
           QString::number(QRandomGenerator::global()->generate(), 16) + QLatin1Char('~');
}

} // namespace

QString FileAccess::describe(const QString &path, const QString &reason)
{
    return QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason;
}

Result FileAccess::failure(const QString &path, int errorNumber)
{
    return Result::failure(describe(path, reasonText(errorNumber)), codeFor(errorNumber));
}

QString FileAccess::notRegularText()
{
    return QStringLiteral("通常のファイルではありません（デバイスや FIFO は開けません）");
}

QString FileAccess::tooLargeText(qint64 maxBytes)
{
    if (maxBytes >= (qint64(1) << 20))
        return QStringLiteral("ファイルが大きすぎます（上限 %1 MB）").arg(maxBytes >> 20);
    return QStringLiteral("ファイルが大きすぎます（上限 %1 バイト）").arg(maxBytes);
}

QString FileAccess::reasonText(int errorNumber)
{
    switch (errorNumber) {
    case 0:
        return QString();
    case ENOENT:
        return QStringLiteral("ファイルが見つかりません");
    case ENOTDIR:
        return QStringLiteral("フォルダーがありません");
    case EACCES:
    case EPERM:
        return QStringLiteral("権限がありません");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ディスクがいっぱいです");
    case EROFS:
        return QStringLiteral("読み取り専用のファイルシステムです");
    case EISDIR:
        return QStringLiteral("フォルダーです");
    case ENXIO:
    case ENODEV:
        return notRegularText();
    case ELOOP:
        return QStringLiteral("シンボリックリンクが循環しています");
    case ENAMETOOLONG:
        return QStringLiteral("名前が長すぎます");
    case EFBIG:
        return QStringLiteral("ファイルが大きすぎます");
    case EIO:
        return QStringLiteral("読み書きの途中で装置のエラーが起きました");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("開いているファイルが多すぎます");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("ほかのプログラムが使っています");
    case EXDEV:
        return QStringLiteral("別のディスクへは置き換えられません");
    default:
        return QStringLiteral("システムのエラーです（%1: %2）")
            .arg(errorNumber)
            .arg(QString::fromLocal8Bit(std::strerror(errorNumber)));
    }
}

QString FileAccess::reasonText(QFileDevice::FileError error)
{
    switch (error) {
    case QFileDevice::NoError:
        return QString();
    case QFileDevice::ReadError:
        return QStringLiteral("読み取りに失敗しました");
    case QFileDevice::WriteError:
        return QStringLiteral("書き込みに失敗しました（ディスクがいっぱいか、権限がありません）");
    case QFileDevice::FatalError:
        return QStringLiteral("読み書きの途中で装置のエラーが起きました");
    case QFileDevice::ResourceError:
        return QStringLiteral("ディスクがいっぱいか、資源が足りません");
    case QFileDevice::OpenError:
        return QStringLiteral("開けません（見つからないか、権限がありません）");
    case QFileDevice::AbortError:
        return QStringLiteral("中断されました");
    case QFileDevice::TimeOutError:
        return QStringLiteral("時間切れになりました");
    case QFileDevice::RemoveError:
        return QStringLiteral("削除できません");
    case QFileDevice::RenameError:
        return QStringLiteral("名前を変えられません");
    case QFileDevice::PositionError:
        return QStringLiteral("読み書きの位置を移せません");
    case QFileDevice::ResizeError:
        return QStringLiteral("大きさを変えられません");
    case QFileDevice::PermissionsError:
        return QStringLiteral("権限がありません");
    case QFileDevice::CopyError:
        return QStringLiteral("複写できません");
    case QFileDevice::UnspecifiedError:
        break;
    }
    return QStringLiteral("原因の分からないエラーです");
}

Result FileAccess::readRegularFile(const QString &path, QByteArray &bytes, qint64 maxBytes)
{
    bytes.clear();
    if (path.isEmpty())
        return failure(path, ENOENT);
    if (path.startsWith(QLatin1Char(':')))
        return readResource(path, bytes, maxBytes);
    const QByteArray name = encoded(path);
    struct stat info;
    // Judged before opening: opening a FIFO waits for a writer, a device may never end.
    if (::stat(name.constData(), &info) != 0)
        return failure(path, errno);
    if (S_ISDIR(info.st_mode))
        return failure(path, EISDIR);
    if (!S_ISREG(info.st_mode))
        return notRegular(path);
    if (info.st_size > maxBytes)
        return tooLarge(path, maxBytes);

    // Non-blocking and checked again once open: a FIFO put in its place meanwhile is
    // refused before a byte is read instead of hanging the program.
    Descriptor fd(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        return failure(path, errno);
    if (::fstat(fd.get(), &info) != 0)
        return failure(path, errno);
    if (!S_ISREG(info.st_mode))
        return notRegular(path);
    if (info.st_size > maxBytes)
        return tooLarge(path, maxBytes);

    // Read straight into an array of the file's size, then on while the file grows.
    QByteArray data(qsizetype(info.st_size), Qt::Uninitialized);
    LargeMemory::preferHugePages(data.data(), std::size_t(data.size()), true);
    qsizetype filled = 0;
    while (filled < data.size()) {
        const ssize_t n = readSome(fd.get(), data.data() + filled, size_t(data.size() - filled));
        if (n < 0)
            return failure(path, errno);
        if (n == 0)
            break;
        filled += n;
    }
    data.truncate(filled);
    char buffer[65536];
    for (;;) {
        const ssize_t n = readSome(fd.get(), buffer, sizeof buffer);
        if (n < 0)
            return failure(path, errno);
        if (n == 0)
            break;
        if (data.size() + n > maxBytes)
            return tooLarge(path, maxBytes);
        data.append(buffer, n);
    }
    bytes = std::move(data);
    return Result::success();
}

Result FileAccess::checkSaveTarget(const QString &path, QString *target)
{
    if (path.isEmpty())
        return failure(path, ENOENT);
    QString current = QFileInfo(path).absoluteFilePath();
    for (int hops = 0;; ++hops) {
        struct stat info;
        if (::lstat(encoded(current).constData(), &info) != 0) {
            const int error = errno;
            if (error == ENOTDIR)
                return noFolder(path);
            if (error != ENOENT)
                return failure(path, error);
            // A new name: its folder must be there.
            struct stat folder;
            if (::stat(encoded(folderOf(current)).constData(), &folder) != 0 ||
                !S_ISDIR(folder.st_mode))
                return noFolder(path);
            break;
        }
        if (S_ISLNK(info.st_mode)) {
            if (hops >= MaxLinkHops)
                return failure(path, ELOOP);
            const QString link = readLink(current);
            if (link.isEmpty())
                return failure(path, EINVAL);
            current = link.startsWith(QLatin1Char('/'))
                          ? link
                          : folderOf(current) + QLatin1Char('/') + link;
            continue;
        }
        if (S_ISDIR(info.st_mode))
            return Result::failure(describe(path, QStringLiteral("同じ名前のフォルダーがあります")),
                                   IsFolder);
        if (!S_ISREG(info.st_mode))
            return notRegular(path);
        break;
    }
    if (target)
        *target = current;
    return Result::success();
}

Result FileAccess::saveFile(const QString &path, const QByteArray &bytes)
{
    QString target;
    const Result checked = checkSaveTarget(path, &target);
    if (!checked)
        return checked;
    const QByteArray targetName = encoded(target);
    struct stat old;
    const bool exists = ::stat(targetName.constData(), &old) == 0;

    QString temporary;
    int created = -1;
    for (int attempt = 0; attempt < 100 && created < 0; ++attempt) {
        temporary = temporaryName(target);
        created = ::open(encoded(temporary).constData(),
                         O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (created < 0 && errno != EEXIST)
            break;
    }
    if (created < 0)
        return failure(path, errno);
    Descriptor fd(created);
    const QByteArray temporaryFile = encoded(temporary);
    const auto giveUp = [&](int error) {
        if (fd.get() >= 0)
            fd.close();
        ::unlink(temporaryFile.constData());
        return failure(path, error);
    };
    if (exists) {
        // The new file keeps the old one's permissions and, when we may, its owner.
        if (::fchmod(fd.get(), old.st_mode & 07777) != 0)
            return giveUp(errno);
        if (::geteuid() == 0 && ::fchown(fd.get(), old.st_uid, old.st_gid) != 0)
            return giveUp(errno);
    }
    if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0)
        return giveUp(errno);
    if (fd.close() != 0)
        return giveUp(errno);
    if (::rename(temporaryFile.constData(), targetName.constData()) != 0)
        return giveUp(errno);
    // The rename itself lives in the folder; without this a power cut may undo it.
    Descriptor folder(
        ::open(encoded(folderOf(target)).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
    return Result::success();
}

Result FileAccess::appendFile(const QString &path, const QByteArray &bytes)
{
    QString target;
    const Result checked = checkSaveTarget(path, &target);
    if (!checked)
        return checked;
    Descriptor fd(::open(encoded(target).constData(),
                         O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
    if (fd.get() < 0)
        return failure(path, errno);
    struct stat info;
    if (::fstat(fd.get(), &info) != 0)
        return failure(path, errno);
    if (!S_ISREG(info.st_mode))
        return notRegular(path);
    if (!writeAll(fd.get(), bytes))
        return failure(path, errno);
    if (fd.close() != 0)
        return failure(path, errno);
    return Result::success();
}

} // namespace qel::os
