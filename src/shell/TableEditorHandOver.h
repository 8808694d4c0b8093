#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace qel::os {
class ProcessStarter;
class UserDialogs;
} // namespace qel::os

namespace qel::shell {

class StartupSettings;
struct ProgramState;

// Which of the table editor's controls are shown: SSCmdXcelOpen, SSCmdXcelOpenRed,
// SSCmdNewXcl on the settings window and the main window's reminder LblTabEditerSet.
struct TableEditorButtons
{
    bool xcelOpen = false;
    bool xcelOpenRed = false;
    bool newXcl = false;
    bool reminder = false;

    bool operator==(const TableEditorButtons &) const = default;
};

// The hand-over of tables to the user's spreadsheet: choosing the program, the companion
// table of the current chart, starting the spreadsheet with it or with the template, and
// which buttons offer this. The spreadsheet is started with an argument list, never a shell.
class TableEditorHandOver : public QObject
{
    Q_OBJECT

public:
    // Writes the companion table of the current chart (asking before replacing one);
    // true when the table is there to be opened.
    using CompanionWriter = std::function<bool()>;

    TableEditorHandOver(ProgramState &state, StartupSettings &settings, os::UserDialogs &dialogs,
                        os::ProcessStarter &starter, QObject *parent = nullptr);

    void setCompanionWriter(CompanionWriter writer) { m_writeCompanion = std::move(writer); }
    // Where the choice dialogue looks for spreadsheets; /usr/bin unless a test says otherwise.
    void setProgramFolders(const QStringList &folders) { m_programFolders = folders; }

    // "未設定": what a cancelled first choice of the editor stores.
    static QString notSet() { return QStringLiteral("未設定"); }
    // The spreadsheets looked for, in order of preference.
    static QStringList spreadsheetNames();
    // The first spreadsheet found in folders; empty when none is installed.
    static QString findSpreadsheet(const QStringList &folders);
    // What the spreadsheet is started with for a table file: LibreOffice gets the import
    // filter for tab-separated text in the file's encoding (CP932, or UTF-8 after a
    // byte-order mark), so its Japanese stays intact and its columns split; other programs
    // get the file alone.
    static QStringList editorArguments(const QString &editor, const QString &tableFile);
    static bool isLibreOffice(const QString &editor);

    // cmdSetEditVoice_Click(0): the choice of the table editor. False when cancelled.
    bool chooseEditor();
    // setXcelOpenVisible: the buttons for the chart at path; -1 when path names no file.
    int setXcelOpenVisible(const QString &path);
    // SSCmdXcelOpen / SSCmdXcelOpenRed: writes the companion table and opens it.
    void openTable();
    // SSCmdNewXcl: opens the template in the spreadsheet.
    void newTable();

    TableEditorButtons buttons() const { return m_buttons; }
    // The chosen spreadsheet; empty or notSet() when none is.
    QString editorPath() const;
    // LblTempo: "cancel" after a cancelled choice, empty after a successful one.
    QString tempo() const { return m_tempo; }
    // tablePath: the companion table of the chart last shown.
    QString tablePath() const { return m_tablePath; }
    QString templatePath() const;

signals:
    void buttonsChanged();
    void tempoChanged(const QString &text);
    // The spreadsheet was started with the companion table: it may now be edited outside.
    void tableHandedOver(const QString &tablePath);

private:
    bool editorSet() const;
    bool startEditor(const QString &file, QString *why);
    void setButtons(const TableEditorButtons &buttons);

    ProgramState &m_state;
    StartupSettings &m_settings;
    os::UserDialogs &m_dialogs;
    os::ProcessStarter &m_starter;
    CompanionWriter m_writeCompanion;
    QStringList m_programFolders{QStringLiteral("/usr/bin"), QStringLiteral("/usr/local/bin")};
    TableEditorButtons m_buttons;
    QString m_tempo;
    QString m_tablePath;
    // The template was opened once (with this current file); a second press asks first.
    bool m_started = false;
    QString m_startedFile;
};

} // namespace qel::shell
