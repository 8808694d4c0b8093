#pragma once

#include <QString>

namespace qel::os {
class SettingsStore;
}

namespace qel::shell {

// The program's keys in application "qelPro", section "Startup".
class StartupSettings
{
public:
    explicit StartupSettings(os::SettingsStore &store);

    static QString application() { return QStringLiteral("qelPro"); }
    static QString section() { return QStringLiteral("Startup"); }

    QString voiceProgram() const { return read(QStringLiteral("Voice pgm")); }
    void setVoiceProgram(const QString &v) { write(QStringLiteral("Voice pgm"), v); }
    QString dataPath() const { return read(QStringLiteral("data.Path")); }
    void setDataPath(const QString &v) { write(QStringLiteral("data.Path"), v); }
    QString windowsPath() const { return read(QStringLiteral("Win.Path")); }
    void setWindowsPath(const QString &v) { write(QStringLiteral("Win.Path"), v); }
    QString programPath() const { return read(QStringLiteral("Qel.Path")); }
    void setProgramPath(const QString &v) { write(QStringLiteral("Qel.Path"), v); }
    QString version() const { return read(QStringLiteral("version")); }
    void setVersion(const QString &v) { write(QStringLiteral("version"), v); }
    QString tableEditor() const { return read(QStringLiteral("Table Editor")); }
    void setTableEditor(const QString &v) { write(QStringLiteral("Table Editor"), v); }
    QString created() const { return read(QStringLiteral("Create")); }
    void setCreated(const QString &v) { write(QStringLiteral("Create"), v); }
    // Whether a chart follows its table while the spreadsheet edits it ("1", the default, or
    // "0").
    bool followTable() const { return read(QStringLiteral("Follow Table")) != u"0"; }
    void setFollowTable(bool on)
    {
        write(QStringLiteral("Follow Table"), on ? QStringLiteral("1") : QStringLiteral("0"));
    }
    QString voiceProgramChoice() const { return read(QStringLiteral("Set Voice pgm")); }
    void setVoiceProgramChoice(const QString &v) { write(QStringLiteral("Set Voice pgm"), v); }

    os::SettingsStore &store() { return m_store; }

private:
    QString read(const QString &key) const;
    void write(const QString &key, const QString &value);

    os::SettingsStore &m_store;
};

} // namespace qel::shell
