#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace qel::os {

class ProcessStarter;
class SettingsStore;
class UserDialogs;

// Starts outside programs (editor, spreadsheet, calculator) whose location is asked once
// and remembered per program name under "vokPath" / "Varnholt(NR)".
class ProgramLauncher
{
public:
    // How the user knows a program and what is tried before asking for it.
    struct Kind
    {
        QString label;         // in the user's words: "電卓", "テキストエディター"
        QString firstChoice;   // started while nothing is remembered, without asking
        QStringList lookedFor; // the programs searched for, named when the user must choose
    };

    ProgramLauncher(SettingsStore &settings, UserDialogs &dialogs, ProcessStarter &starter);

    static QString settingsApplication() { return QStringLiteral("vokPath"); }
    static QString settingsSection() { return QStringLiteral("Varnholt(NR)"); }
    static QString unknownPath() { return QStringLiteral("#ReadError#"); }

    QString rememberedPath(const QString &name) const;
    void remember(const QString &name, const QString &path);
    void forget(const QString &name);
    // The program the choice dialogue offers first for name (the platform's usual one).
    void setProposedProgram(const QString &name, const QString &path);
    // Names the program remembered under name for the user; without it the name itself is
    // shown.
    void describe(const QString &name, const Kind &kind);
    QString label(const QString &name) const;

    // Starts the program remembered under name (else its first choice, else the one the
    // user picks) with arguments as its one argument. arguments comes back trimmed and
    // wrapped in double quotes; the program itself gets the unquoted text. Returns the
    // program path used, or an empty text after telling the user why nothing was started.
    QString launch(const QString &name, QString &arguments);

private:
    QString askForProgram(const QString &name, const QString &arguments);

    SettingsStore &m_settings;
    UserDialogs &m_dialogs;
    ProcessStarter &m_starter;
    QHash<QString, QString> m_proposed;
    QHash<QString, Kind> m_kinds;
};

} // namespace qel::os
