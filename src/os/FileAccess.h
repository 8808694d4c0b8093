#pragma once

#include "os/Result.h"

#include <QByteArray>
#include <QFileDevice>
#include <QString>

namespace qel::os {

// The one way the program reads and writes its files. Only regular files are opened: a name
// that is (or links to) a device, FIFO, socket or folder is refused before anything is read
// or replaced, and nothing here can block on a FIFO. Messages name the file and give the
// reason in the user's words ("<path>: <reason>").
class FileAccess
{
public:
    enum Error : qint32 {
        NotFound = 2,
        NotRegularFile = 3,
        TooLarge = 4,
        NoPermission = 5,
        NoFolder = 6,
        DiskFull = 7,
        ReadOnlyFileSystem = 8,
        IsFolder = 9,
        Failed = 10, // any other system error
    };

    // Reads the whole file; symlinks are followed. Refuses a file larger than maxBytes.
    static Result readRegularFile(const QString &path, QByteArray &bytes, qint64 maxBytes);

    // Replaces the file with bytes in one step: written beside it, flushed, renamed over it,
    // and the folder flushed, so a crash or power cut leaves the old or the new file whole.
    // A symlink to a regular file is saved at its target and stays a symlink; any other kind
    // of target is refused untouched.
    static Result saveFile(const QString &path, const QByteArray &bytes);

    // Appends bytes to a regular file, creating it when missing (with no bytes it only makes
    // sure the file exists).
    static Result appendFile(const QString &path, const QByteArray &bytes);

    // Whether path may be saved: a regular file (or a link to one) or a new name in an
    // existing folder. target receives the file that a save would replace.
    static Result checkSaveTarget(const QString &path, QString *target = nullptr);

    // The reason for a system error number or a Qt file error, in Japanese.
    static QString reasonText(int errorNumber);
    static QString reasonText(QFileDevice::FileError error);
    static QString notRegularText();
    static QString tooLargeText(qint64 maxBytes);

    // "<path>: <reason>", the form every message here takes.
    static QString describe(const QString &path, const QString &reason);
    static Result failure(const QString &path, int errorNumber);
};

} // namespace qel::os
