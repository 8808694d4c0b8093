#pragma once

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
    // its end.
    void showReport(const QString &path) override;

    // The viewer opened last; null once it has been closed.
    QPlainTextEdit *window() const { return m_window; }

    static int closeViewers();

private:
    QWidget *m_parent;
    QPointer<QPlainTextEdit> m_window;
};

} // namespace qel::stats
