#pragma once

#include <QGroupBox>

class QCheckBox;
class QLabel;
class QPushButton;

namespace qel::shell {

class StartupSettings;
class TableEditing;

// The table editor's half of the settings window: the choice of the spreadsheet
// (cmdSetEditVoice 0), LblTempo, the hand-over buttons SSCmdXcelOpen, SSCmdXcelOpenRed and
// SSCmdNewXcl, the switch for charts that follow their edited table, and the user memo.
class TableEditorPanel : public QGroupBox
{
    Q_OBJECT

public:
    TableEditorPanel(TableEditing &editing, StartupSettings &settings, QWidget *parent = nullptr);

    QPushButton *editorButton() const { return m_choose; }
    QPushButton *openButton() const { return m_open; }
    QPushButton *openRedButton() const { return m_openRed; }
    QPushButton *newTableButton() const { return m_new; }
    QPushButton *memoButton() const { return m_memo; }
    QCheckBox *followBox() const { return m_follow; }
    QLabel *tempoLabel() const { return m_tempo; }
    QLabel *editorLabel() const { return m_editor; }

private:
    void showButtons();

    TableEditing &m_editing;
    QPushButton *m_choose;
    QLabel *m_editor;
    QLabel *m_tempo;
    QPushButton *m_open;
    QPushButton *m_openRed;
    QPushButton *m_new;
    QCheckBox *m_follow;
    QPushButton *m_memo;
};

} // namespace qel::shell
