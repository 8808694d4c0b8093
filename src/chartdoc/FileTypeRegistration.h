#pragma once

#include "os/Result.h"

#include <QString>
#include <QStringList>

#include <array>

namespace qel::chartdoc {

// The program's file types, registered the freedesktop way at every start: a shared-mime-info
// package, a desktop entry that opens the program with the file, and the icons, all in the
// user's data folder. A file is rewritten when it does not hold what it should; the desktop
// tools are run when present. Names that are no regular file (a FIFO, a device) are neither
// read nor replaced.
class FileTypeRegistration
{
public:
    struct FileType
    {
        QString extension;
        QString className;
        QString description;
        QString icon; // icon base name, empty for none
        QString mimeType;
    };
    static const std::array<FileType, 6> &types();

    // dataHome: the XDG data folder ("~/.local/share"); program: the executable to start.
    FileTypeRegistration(const QString &dataHome, const QString &program);

    QString mimePackage() const;
    QString desktopEntry() const;
    // Writes everything; a failure names every file that could not be written and why
    // (start-up carries on).
    os::Result registerFileTypes(bool runDesktopTools = true) const;

    QString mimePackagePath() const;
    QString desktopEntryPath() const;

    // The Exec key's program, quoted as desktop entries want when it holds blanks or quotes.
    static QString execProgram(const QString &program);

private:
    void writeIcons(QStringList &problems) const;

    QString m_dataHome;
    QString m_program;
};

} // namespace qel::chartdoc
