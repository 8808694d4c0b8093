#pragma once

#include "os/SettingsStore.h"

namespace qel::os {

// Settings kept in one INI file per application ("<dir>/<application>.ini").
// The program uses the XDG config directory's "qelPro" folder; tests pass a temporary one.
class IniSettingsStore : public SettingsStore
{
public:
    explicit IniSettingsStore(const QString &directory = defaultDirectory());

    static QString defaultDirectory();
    QString fileName(const QString &application) const;

    QString value(const QString &application, const QString &section, const QString &key,
                  const QString &defaultValue = QString()) const override;
    void setValue(const QString &application, const QString &section, const QString &key,
                  const QString &value) override;
    void remove(const QString &application, const QString &section, const QString &key) override;

private:
    QString m_directory;
};

} // namespace qel::os
