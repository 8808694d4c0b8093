#pragma once

#include "os/SettingsStore.h"

#include <QStringList>

#include <map>
#include <memory>

namespace qel::os {

// Settings kept in one INI file per application ("<dir>/<application>.ini").
// The program uses the XDG config directory's "qelPro" folder; tests pass a temporary one.
// Each file is read once, on first use, and written back when the store is synced or ends.
// A file that cannot be used never stops the program: a settings name that is not a regular
// file (a FIFO, a device, a folder) is left alone and the settings live in memory only; a
// damaged or absurdly large file is moved aside as "<name>.broken". Either way the defaults
// are used and problem() tells the user once.
class IniSettingsStore : public SettingsStore
{
public:
    explicit IniSettingsStore(const QString &directory = defaultDirectory());
    ~IniSettingsStore() override;

    static QString defaultDirectory();
    QString fileName(const QString &application) const;

    QString value(const QString &application, const QString &section, const QString &key,
                  const QString &defaultValue = QString()) const override;
    void setValue(const QString &application, const QString &section, const QString &key,
                  const QString &value) override;
    void remove(const QString &application, const QString &section, const QString &key) override;

    // Writes what changed to the files that can take it.
    void sync();

    // What went wrong with the settings files, for the user; empty when nothing did.
    QString problem() const { return m_problems.join(QStringLiteral("\n\n")); }

    // The program's settings are a few dozen short lines; far more is not a settings file.
    static constexpr qint64 MaxFileSize = 1024 * 1024;

private:
    struct IniFile;
    IniFile &file(const QString &application) const;

    QString m_directory;
    mutable std::map<QString, std::unique_ptr<IniFile>> m_files;
    mutable QStringList m_problems;
};

} // namespace qel::os
