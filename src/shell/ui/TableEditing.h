#pragma once

#include "shell/TableEditorHandOver.h"
#include "shell/TableFollower.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QLabel;

namespace qel::chartdoc {
class ChartDocument;
}
namespace qel::os {
class ProcessStarter;
class UserDialogs;
} // namespace qel::os

namespace qel::shell {

class StartupSettings;
class TableEditorPanel;
struct ProgramState;

// Editing tables in the user's spreadsheet, as the main window offers it: the hand-over of the
// companion table, the chart following the table while it is edited, the settings window's
// editor panel, the main window's reminder label and the user memo.
class TableEditing : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        ProgramState &state;
        StartupSettings &settings;
        chartdoc::ChartDocument &document;
        os::UserDialogs &dialogs;
        os::ProcessStarter &starter;
        QLabel *reminder;                                  // LblTabEditerSet
        std::function<void(const QString &)> openAsText;   // the user's text editor
        std::function<void(const QString &)> showProgress; // the status bar
    };

    explicit TableEditing(const Parts &parts, QObject *parent = nullptr);

    TableEditorHandOver &handOver() { return m_handOver; }
    TableFollower &follower() { return m_follower; }

    // A chart, table or legacy file is shown under path (loaded, saved or a chart slide): the
    // buttons follow it, and a table followed for another chart is no longer followed.
    void chartShown(const QString &path);
    // cmdSetEditVoice(0).
    void chooseEditor();
    // cmdQelMemo: the memo in the program folder, made empty when missing, in the text editor.
    void openMemo();
    static QString memoName() { return QStringLiteral("qelMemo.txt"); }

    // The settings window's editor panel; made once, parented to parent.
    TableEditorPanel *panel(QWidget *parent);

private:
    // Writes the companion table for the spreadsheet; true when it is there to be opened.
    bool writeCompanion();
    void showReminder();

    Parts m_parts;
    TableEditorHandOver m_handOver;
    TableFollower m_follower;
    QPointer<TableEditorPanel> m_panel;
};

} // namespace qel::shell
