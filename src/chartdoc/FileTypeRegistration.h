#pragma once

#include <QString>

#include <array>

namespace qel::chartdoc {

// The program's file types, registered the freedesktop way at every start: a shared-mime-info
// package, a desktop entry that opens the program with the file, and the icons, all in the
// user's data folder. Written fresh each time; the desktop tools are run when present.
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
    // Writes everything; false when a file could not be written (start-up carries on).
    bool registerFileTypes(bool runDesktopTools = true) const;

    QString mimePackagePath() const;
    QString desktopEntryPath() const;

    // The Exec key's program, quoted as desktop entries want when it holds blanks or quotes.
    static QString execProgram(const QString &program);

private:
    bool writeIcons() const;

    QString m_dataHome;
    QString m_program;
};

} // namespace qel::chartdoc
