#pragma once

#include "os/Result.h"

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace qel::chartdoc {
class ChartDocument;
}

namespace qel::shell {

// Keeps the chart in step with its companion table while the spreadsheet has it open: when
// the table is saved (in place, or by writing a new file and renaming it over the old one),
// the chart reads it again through the one load routine, keeps its look, and the change is
// one undoable step. A table that does not load leaves the chart as it was.
class TableFollower : public QObject
{
    Q_OBJECT

public:
    explicit TableFollower(chartdoc::ChartDocument &document, QObject *parent = nullptr);

    // Watches tablePath from now on (the table as it is now counts as already read).
    void follow(const QString &tablePath);
    void stop();
    QString followedPath() const { return m_path; }

    // Switched off in the settings window: nothing is watched.
    void setEnabled(bool on);
    bool isEnabled() const { return m_enabled; }
    // How long the file must stay quiet before it is read (a spreadsheet writes in pieces).
    void setSettleTime(int milliseconds) { m_settle.setInterval(milliseconds); }

    // Reads the table now; what the status bar or a message tells comes with the signals.
    os::Result reload();

signals:
    // The chart now shows the table as saved; text is for the status bar.
    void reloaded(const QString &text);
    // The table could not be used; the chart is unchanged. text names the file and why.
    void reloadFailed(const QString &text);

private:
    void fileTouched();
    void settled();
    void watchAgain();
    bool changedSinceRead() const;
    void rememberState();

    chartdoc::ChartDocument &m_document;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_path;
    bool m_enabled = true;
    qint64 m_size = -1;
    QDateTime m_modified;
};

} // namespace qel::shell
