#pragma once

#include "os/Result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <utility>
#include <vector>

namespace qel::chartdoc {

// The program's file types, registered the freedesktop way: a shared-mime-info package, a
// desktop entry that opens the program with the file, and the icons, all in the user's data
// folder. Start-up checks whether they are current and, once the window is on the screen,
// writes what is missing or different; the desktop tools are run when present and their part
// changed. Names that are no regular file (a FIFO, a device) are neither read nor replaced.
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
    // Whether every file is in place with the content this program would write, and with
    // runDesktopTools the desktop's MIME and icon caches too (a few small reads; nothing is
    // parsed).
    bool isCurrent(bool runDesktopTools = true) const;
    // Writes what is missing or different; a failure names every file that could not be
    // written and why (start-up carries on).
    os::Result registerFileTypes(bool runDesktopTools = true) const;

    QString mimePackagePath() const;
    QString desktopEntryPath() const;

    // The Exec key's program, quoted as desktop entries want when it holds blanks or quotes.
    static QString execProgram(const QString &program);

private:
    // The icon files with their content.
    std::vector<std::pair<QString, QByteArray>> iconFiles() const;
    bool cacheCurrent(const QString &cache, const QString &tool) const;
    bool mimeCacheCurrent() const;
    bool iconCacheCurrent() const;

    QString m_dataHome;
    QString m_program;
};

} // namespace qel::chartdoc
