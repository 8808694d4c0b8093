#pragma once

#include "os/Result.h"
#include "stats/JobFailure.h"
#include "stats/RegressionFields.h"

#include <QDateTime>
#include <QString>

#include <functional>

namespace qel::os {
class UserDialogs;
}
namespace qel::os {
class MessageWindow;
} // namespace qel::os

namespace qel::chartview {
class ChartView;
} // namespace qel::chartview

namespace qel::stats {

class RegressionOptions;
class ReportViewer;

// How a run ended: code and message as every operation answers (code 0 success, otherwise a
// JobFailure with the user's message), and whether a report was shown. Only ChartFailed is
// worth another run; every other failure the user has seen already.
struct JobResult : os::Result
{
    enum class Kind { Empty, ReportShown, Error };
    Kind kind = Kind::Empty;

    bool succeeded() const { return ok(); }

    static JobResult failed(const os::Result &why)
    {
        JobResult r;
        r.code = why.ok() ? qint32(Refused) : why.code;
        r.message = why.message;
        r.kind = Kind::Error;
        return r;
    }
};

// runRegressionJob: the statistics and regression run for one series of the chart, as the
// options window left it. Jobs: 1 draw, 2 draw and append the report to "Stat.txt" and
// show it, 77 smoothing.
class RegressionJob
{
public:
    // The report file, in the report directory.
    static QString reportFileName() { return QStringLiteral("Stat.txt"); }

    RegressionJob(chartview::ChartView &chart, os::UserDialogs &dialogs,
                  const RegressionOptions &options, RegressionFields &fields,
                  qint16 &colorGroupCount);

    // The file the chart came from, for the report's "[file: …]" line; every caller sets it.
    void setCurrentFile(const QString &path) { m_currentFile = path; }
    // The current directory unless set.
    void setReportDirectory(const QString &dir) { m_reportDirectory = dir; }
    void setViewer(ReportViewer *viewer) { m_viewer = viewer; }
    void setMessageWindow(os::MessageWindow *messages) { m_messages = messages; }
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // series is 0-based.
    JobResult runRegressionJob(int series, int job);

    QString reportPath() const;

private:
    chartview::ChartView &m_chart;
    os::UserDialogs &m_dialogs;
    const RegressionOptions &m_options;
    RegressionFields &m_fields;
    qint16 &m_colorGroupCount;
    QString m_currentFile;
    QString m_reportDirectory;
    ReportViewer *m_viewer = nullptr;
    os::MessageWindow *m_messages = nullptr;
    std::function<QDateTime()> m_clock;
};

} // namespace qel::stats
