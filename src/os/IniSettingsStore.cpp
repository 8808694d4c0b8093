#include "os/IniSettingsStore.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace qel::os {

namespace {

QString settingsKey(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

} // namespace

IniSettingsStore::IniSettingsStore(const QString &directory)
    : m_directory(directory)
{}

QString IniSettingsStore::defaultDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/qelPro");
}

QString IniSettingsStore::fileName(const QString &application) const
{
    return QDir(m_directory).filePath(application + QStringLiteral(".ini"));
}

QString IniSettingsStore::value(const QString &application, const QString &section,
                                const QString &key, const QString &defaultValue) const
{
    const QSettings settings(fileName(application), QSettings::IniFormat);
    return settings.value(settingsKey(section, key), defaultValue).toString();
}

void IniSettingsStore::setValue(const QString &application, const QString &section,
                                const QString &key, const QString &value)
{
    QDir().mkpath(m_directory);
    QSettings settings(fileName(application), QSettings::IniFormat);
    settings.setValue(settingsKey(section, key), value);
}

void IniSettingsStore::remove(const QString &application, const QString &section,
                              const QString &key)
{
    QSettings settings(fileName(application), QSettings::IniFormat);
    settings.remove(settingsKey(section, key));
}

} // namespace qel::os
