#include "shell/TableFollower.h"

#include "chartdoc/ChartDocument.h"
#include "chartdoc/DataFileLoader.h"
#include "chartview/ChartView.h"

#include <QFileInfo>

namespace qel::shell {

TableFollower::TableFollower(chartdoc::ChartDocument &document, QObject *parent)
    : QObject(parent)
    , m_document(document)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(700);
    connect(&m_settle, &QTimer::timeout, this, &TableFollower::settled);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &TableFollower::fileTouched);
    // A save by rename replaces the file: the folder tells when the new one is there.
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &TableFollower::fileTouched);
}

void TableFollower::follow(const QString &tablePath)
{
    stop();
    m_path = QFileInfo(tablePath).absoluteFilePath();
    rememberState();
    if (m_enabled)
        watchAgain();
}

void TableFollower::stop()
{
    m_settle.stop();
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_path.clear();
}

void TableFollower::setEnabled(bool on)
{
    m_enabled = on;
    if (!on) {
        const QString path = m_path;
        stop();
        m_path = path;
    } else if (!m_path.isEmpty()) {
        watchAgain();
    }
}

void TableFollower::watchAgain()
{
    const QFileInfo info(m_path);
    if (!m_watcher.directories().contains(info.absolutePath()))
        m_watcher.addPath(info.absolutePath());
    if (info.exists() && !m_watcher.files().contains(m_path))
        m_watcher.addPath(m_path);
}

void TableFollower::fileTouched()
{
    if (m_path.isEmpty() || !m_enabled)
        return;
    watchAgain();
    m_settle.start();
}

void TableFollower::rememberState()
{
    const QFileInfo info(m_path);
    m_size = info.exists() ? info.size() : -1;
    m_modified = info.exists() ? info.lastModified() : QDateTime();
}

bool TableFollower::changedSinceRead() const
{
    const QFileInfo info(m_path);
    return info.exists() && (info.size() != m_size || info.lastModified() != m_modified);
}

void TableFollower::settled()
{
    if (m_path.isEmpty())
        return;
    if (!QFileInfo::exists(m_path)) {
        // Removed, or not yet renamed into place: wait for the next change of the folder.
        return;
    }
    if (changedSinceRead())
        reload();
}

os::Result TableFollower::reload()
{
    rememberState();
    const chartview::ChartModel before = m_document.chart().model();
    const os::Result result = chartdoc::DataFileLoader(m_document).reloadTable(m_path);
    if (!result.ok()) {
        emit reloadFailed(result.message + QStringLiteral("\nグラフは元のままです。"));
        return result;
    }
    m_document.recordEdit(QStringLiteral("表の更新"), before);
    m_document.controlsFollowChart();
    m_document.chart().Refresh();
    emit m_document.chartReplaced();
    emit reloaded(QFileInfo(m_path).fileName() + QStringLiteral(" の変更をグラフに反映しました。"));
    return result;
}

} // namespace qel::shell
