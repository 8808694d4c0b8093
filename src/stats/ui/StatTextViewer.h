#pragma once

#include "os/Result.h"
#include "stats/ReportViewer.h"

#include <QPlainTextEdit>
#include <QPointer>

class QWidget;

namespace qel::stats {

// The in-program viewer of the report file: a read-only text window titled "stat.txt".
class StatTextViewer : public ReportViewer
{
public:
    explicit StatTextViewer(QWidget *parent = nullptr);

    // Closes every window titled "stat.txt", then opens the file in a new one scrolled to
    // its end. A file that cannot be read (missing, a FIFO, a folder, too large) is not
    // waited for: the window says which file it is and why instead.
    void showReport(const QString &path) override;

    // What the last showReport read; the message names the file and the reason on failure.
    const os::Result &lastRead() const { return m_lastRead; }

    // The largest report the viewer reads.
    static constexpr qint64 MaxFileSize = qint64(64) << 20;

    // The viewer opened last; null once it has been closed.
    QPlainTextEdit *window() const { return m_window; }

    static int closeViewers();

private:
    QWidget *m_parent;
    QPointer<QPlainTextEdit> m_window;
    os::Result m_lastRead;
};

} // namespace qel::stats
