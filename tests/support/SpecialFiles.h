#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

namespace qel::test {

// Files that are not what their names promise, made inside a test's own folder.
QString makeFifo(const QDir &dir, const QString &name);
QString makeSocket(const QDir &dir, const QString &name);
// A symlink named name in dir that points at target (as given: relative or absolute).
QString makeLink(const QDir &dir, const QString &name, const QString &target);
// "file", "link", "fifo", "socket", "folder", "device" or "none", without following links.
QString kindOf(const QString &path);
// The folder's entries, hidden ones included, sorted.
QStringList listing(const QDir &dir);

// What a reader may meet where it expects a file, as users and accidents leave it.
enum class Special { Fifo, LinkToFifo, LinkToDevice, Socket, Folder, Missing };
inline constexpr Special AllSpecials[] = {Special::Fifo,         Special::LinkToFifo,
                                          Special::LinkToDevice, Special::Socket,
                                          Special::Folder,       Special::Missing};
const char *nameOf(Special kind);
// Makes dir/name the given kind (a link points at a FIFO beside it or at /dev/zero) and
// returns its path.
QString makeSpecial(const QDir &dir, const QString &name, Special kind);
// The words of FileAccess's reason for a reader that meets the kind.
QString readReason(Special kind);

// Ends the test program after the given seconds, so a read that blocks on a FIFO fails the
// test instead of hanging it.
class HangGuard
{
public:
    explicit HangGuard(unsigned seconds = 30);
    ~HangGuard();
    HangGuard(const HangGuard &) = delete;
    HangGuard &operator=(const HangGuard &) = delete;
};

// A tmpfs of the given size mounted on a temporary folder for as long as the object lives;
// mounted() is false where mounting is not allowed.
class SmallDisk
{
public:
    explicit SmallDisk(qint64 bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool mounted() const { return m_mounted; }
    QString path() const { return m_path; }

private:
    QString m_path;
    bool m_mounted = false;
};

} // namespace qel::test
