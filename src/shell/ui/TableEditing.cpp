#include "shell/ui/TableEditing.h"

#include "chartdoc/ChartDocument.h"
#include "chartdoc/TableFileWriter.h"
#include "os/FileAccess.h"
#include "os/PathParts.h"
#include "os/UserDialogs.h"
#include "shell/ProgramState.h"
#include "shell/StartupSettings.h"
#include "shell/ui/TableEditorPanel.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>

namespace qel::shell {

TableEditing::TableEditing(const Parts &parts, QObject *parent)
    : QObject(parent)
    , m_parts(parts)
    , m_handOver(parts.state, parts.settings, parts.dialogs, parts.starter)
    , m_follower(parts.document)
{
    m_handOver.setCompanionWriter([this] { return writeCompanion(); });
    m_follower.setEnabled(m_parts.settings.followTable());
    connect(&m_handOver, &TableEditorHandOver::buttonsChanged, this, &TableEditing::showReminder);
    connect(&m_handOver, &TableEditorHandOver::tableHandedOver, this, [this](const QString &path) {
        m_follower.follow(path);
        if (m_follower.isEnabled())
            m_parts.showProgress(QStringLiteral("表計算で編集中: ") + path +
                                 QStringLiteral(" — 保存すると図に反映されます"));
    });
    connect(&m_follower, &TableFollower::reloaded, this,
            [this](const QString &text) { m_parts.showProgress(text); });
    connect(&m_follower, &TableFollower::reloadFailed, this, [this](const QString &text) {
        m_parts.showProgress(text);
        m_parts.dialogs.inform(text, os::MessageIcon::Exclamation);
    });
    showReminder();
}

void TableEditing::chartShown(const QString &path)
{
    m_handOver.setXcelOpenVisible(path);
    if (!m_follower.followedPath().isEmpty() &&
        QFileInfo(m_follower.followedPath()) != QFileInfo(m_handOver.tablePath()))
        m_follower.stop();
}

void TableEditing::chooseEditor()
{
    if (m_handOver.chooseEditor())
        m_handOver.setXcelOpenVisible(m_parts.state.currentFile);
}

void TableEditing::openMemo()
{
    const QString path = QDir(m_parts.state.qelDir).filePath(memoName());
    if (!QFileInfo::exists(path)) {
        const os::Result made = os::FileAccess::saveFile(path, QByteArray());
        if (!made.ok()) {
            m_parts.dialogs.inform(made.message, os::MessageIcon::Exclamation);
            return;
        }
    }
    m_parts.openAsText(path);
}

TableEditorPanel *TableEditing::panel(QWidget *parent)
{
    if (!m_panel)
        m_panel = new TableEditorPanel(*this, m_parts.settings, parent);
    return m_panel;
}

bool TableEditing::writeCompanion()
{
    const QString current = m_parts.state.currentFile;
    // A table opened as it is needs no copy: it is itself what the spreadsheet edits.
    if (os::PathParts::of(current).lowerExtension() == QStringLiteral(".tbx"))
        return QFileInfo(current).isFile();
    return chartdoc::TableFileWriter(m_parts.document)
        .writeTableFile(1, current, m_parts.state.tableEditorPath);
}

void TableEditing::showReminder()
{
    if (!m_parts.reminder)
        return;
    m_parts.reminder->setText(QStringLiteral("表編集プログラム未設定"));
    m_parts.reminder->setToolTip(QStringLiteral("「オプションと設定」の「エディターと音声」で表計算"
                                                "プログラムを選んでください"));
    m_parts.reminder->setVisible(m_handOver.buttons().reminder);
}

} // namespace qel::shell
