#pragma once

#include <QHash>
#include <QString>

namespace qel::os {

class ProcessStarter;
class SettingsStore;
class UserDialogs;

// Starts outside programs (editor, spreadsheet, calculator) whose location is asked once
// and remembered per program name under "vokPath" / "Varnholt(NR)".
class ProgramLauncher
{
public:
    ProgramLauncher(SettingsStore &settings, UserDialogs &dialogs, ProcessStarter &starter);

    static QString settingsApplication() { return QStringLiteral("vokPath"); }
    static QString settingsSection() { return QStringLiteral("Varnholt(NR)"); }
    static QString unknownPath() { return QStringLiteral("#ReadError#"); }

    QString rememberedPath(const QString &name) const;
    void remember(const QString &name, const QString &path);
    void forget(const QString &name);
    // The program the choice dialogue offers first for name (the platform's usual one).
    void setProposedProgram(const QString &name, const QString &path);

    // Starts the program remembered under name with arguments as its one argument.
    // arguments comes back trimmed and wrapped in double quotes; the program itself gets
    // the unquoted text. Returns the program path used, or an empty text after telling the
    // user why nothing was started.
    QString launch(const QString &name, QString &arguments);

private:
    QString askForProgram(const QString &name, const QString &arguments);

    SettingsStore &m_settings;
    UserDialogs &m_dialogs;
    ProcessStarter &m_starter;
    QHash<QString, QString> m_proposed;
};

} // namespace qel::os
