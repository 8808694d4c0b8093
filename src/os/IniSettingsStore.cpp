#include "os/IniSettingsStore.h"

#include "os/FileAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>

namespace qel::os {

namespace {

QString settingsKey(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

// What QSettings writes: sections, comments and key=value lines in UTF-8, nothing else.
bool looksLikeIni(const QByteArray &bytes)
{
    if (bytes.contains('\0'))
        return false;
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        return false;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#') ||
            (line.startsWith(u'[') && line.endsWith(u']')) || line.contains(u'='))
            continue;
        return false;
    }
    return true;
}

// "<name>.broken", or the first free "<name>.broken-N" when an older one is kept there.
QString brokenName(const QString &path)
{
    QString name = path + QStringLiteral(".broken");
    for (int n = 2; QFileInfo(name).exists() || QFileInfo(name).isSymLink(); ++n)
        name = path + QStringLiteral(".broken-%1").arg(n);
    return name;
}

} // namespace

struct IniSettingsStore::IniFile
{
    std::unique_ptr<QSettings> settings; // null: the file cannot be used, memory holds all
    std::map<QString, QString> memory;
};

IniSettingsStore::IniSettingsStore(const QString &directory)
    : m_directory(directory)
{}

IniSettingsStore::~IniSettingsStore()
{
    sync();
}

QString IniSettingsStore::defaultDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/qelPro");
}

QString IniSettingsStore::fileName(const QString &application) const
{
    return QDir(m_directory).filePath(application + QStringLiteral(".ini"));
}

IniSettingsStore::IniFile &IniSettingsStore::file(const QString &application) const
{
    std::unique_ptr<IniFile> &slot = m_files[application];
    if (slot)
        return *slot;
    slot = std::make_unique<IniFile>();
    const QString path = fileName(application);

    QByteArray bytes;
    const Result read = FileAccess::readRegularFile(path, bytes, MaxFileSize);
    bool broken = read.code == FileAccess::TooLarge;
    if (!read && read.code != FileAccess::NotFound && !broken) {
        // A FIFO would hang every start and a device could be read without end; such a name
        // is not ours to open, rename or replace.
        m_problems << QStringLiteral("設定ファイルを使えません。\n") + read.message +
                          QStringLiteral("\n初期設定で始めます（設定は保存されません）。");
        return *slot;
    }
    if (read && !looksLikeIni(bytes))
        broken = true;
    if (!broken) {
        slot->settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
        if (slot->settings->status() != QSettings::FormatError)
            return *slot;
        slot->settings.reset();
    }
    // Set aside rather than deleted: the user may want it back; kept, it would be read
    // again at every start and grow with every save.
    const QString aside = brokenName(path);
    if (!QFile::rename(path, aside)) {
        m_problems << QStringLiteral(
                          "設定ファイルが壊れていて、別の名前に移すこともできません。\n") +
                          FileAccess::describe(path,
                                               read ? QStringLiteral("INI の書式ではありません")
                                                    : FileAccess::tooLargeText(MaxFileSize)) +
                          QStringLiteral("\n初期設定で始めます（設定は保存されません）。");
        return *slot;
    }
    m_problems << QStringLiteral(
                      "設定ファイルが壊れていたため、別の名前に移して初期設定で始めます。\n") +
                      FileAccess::describe(path, read ? QStringLiteral("INI の書式ではありません")
                                                      : FileAccess::tooLargeText(MaxFileSize)) +
                      QStringLiteral("\n移した先: ") + QDir::toNativeSeparators(aside);
    slot->settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    return *slot;
}

QString IniSettingsStore::value(const QString &application, const QString &section,
                                const QString &key, const QString &defaultValue) const
{
    const IniFile &ini = file(application);
    if (!ini.settings) {
        const auto it = ini.memory.find(settingsKey(section, key));
        return it == ini.memory.end() ? defaultValue : it->second;
    }
    return ini.settings->value(settingsKey(section, key), defaultValue).toString();
}

void IniSettingsStore::setValue(const QString &application, const QString &section,
                                const QString &key, const QString &value)
{
    IniFile &ini = file(application);
    if (!ini.settings) {
        ini.memory[settingsKey(section, key)] = value;
        return;
    }
    QDir().mkpath(m_directory);
    ini.settings->setValue(settingsKey(section, key), value);
}

void IniSettingsStore::remove(const QString &application, const QString &section,
                              const QString &key)
{
    IniFile &ini = file(application);
    if (!ini.settings) {
        ini.memory.erase(settingsKey(section, key));
        return;
    }
    ini.settings->remove(settingsKey(section, key));
}

void IniSettingsStore::sync()
{
    for (auto &[application, ini] : m_files) {
        // Checked again before writing: what took the file's place meanwhile is left alone.
        if (ini->settings && FileAccess::checkSaveTarget(fileName(application)))
            ini->settings->sync();
    }
}

} // namespace qel::os
