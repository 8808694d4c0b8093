#pragma once

#include <QString>

namespace qel::os {

// Per-user application settings addressed by application, section and key, holding texts.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    virtual QString value(const QString &application, const QString &section, const QString &key,
                          const QString &defaultValue = QString()) const = 0;
    virtual void setValue(const QString &application, const QString &section, const QString &key,
                          const QString &value) = 0;
    virtual void remove(const QString &application, const QString &section, const QString &key) = 0;
};

} // namespace qel::os
