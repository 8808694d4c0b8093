#include "stats/RegressionJob.h"

#include "chartview/ChartView.h"
#include "os/UserDialogs.h"
#include "stats/ChartRetry.h"
#include "stats/DataField.h"
#include "stats/RegressionCurves.h"
#include "stats/RegressionFit.h"
#include "stats/RegressionOptions.h"
#include "stats/ReportViewer.h"
#include "stats/SeriesX.h"
#include "stats/Smoother.h"
#include "stats/StatReport.h"

#include <QDir>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace qel::stats {

using chartview::isEmptyPoint;

namespace {

constexpr int ReadAttempts = 10;
constexpr int MaxSavedAxisFlags = 100;

enum : int { JobNone = 0, JobDraw = 1, JobDrawText = 2, JobSmooth = 77 };

} // namespace

RegressionJob::RegressionJob(chartview::ChartView &chart, os::UserDialogs &dialogs,
                             const RegressionOptions &options, RegressionFields &fields,
                             qint16 &colorGroupCount)
    : m_chart(chart)
    , m_dialogs(dialogs)
    , m_options(options)
    , m_fields(fields)
    , m_colorGroupCount(colorGroupCount)
    , m_clock([] { return QDateTime::currentDateTime(); })
{}

QString RegressionJob::reportPath() const
{
    const QString dir = m_reportDirectory.isEmpty() ? QDir::currentPath() : m_reportDirectory;
    return QDir(dir).filePath(reportFileName());
}

JobResult RegressionJob::runRegressionJob(int series, int job)
{
    JobResult result;
    if (job != JobDraw && job != JobDrawText && job != JobSmooth)
        return result;

    const bool parabolic = m_options.parabolic();
    const bool seCurves = m_options.seCurves();

    // Second-axis flags of the user groups, kept for the curve series.
    std::vector<qint16> secondAxis;
    RegressionSums sums;
    const bool read = retryChart(m_chart, ReadAttempts, [&] {
        const int groups = m_chart.SeriesTotal();
        const int users =
            m_colorGroupCount > 0 && m_colorGroupCount <= groups ? m_colorGroupCount : groups;
        secondAxis.clear();
        for (int k = 1; k <= std::min(users, MaxSavedAxisFlags); ++k)
            secondAxis.push_back(m_chart.SecondYAxis(qint16(k - 1)));
        sums = RegressionSums();
        m_chart.setActiveSeries(qint16(series));
        // x is where the chart shows the point: its X value, or its point number.
        const bool withX = activeSeriesUsesXValues(m_chart, series);
        const int points = m_chart.PointTotal();
        for (int p = 0; p < points; ++p) {
            const double y = m_chart.ValueY(p);
            const double x = withX ? m_chart.ValueX(p) : p + 1;
            if (isEmptyPoint(x) || isEmptyPoint(y))
                continue;
            sums.add(float(x), float(y));
        }
    });
    if (!read)
        return JobResult::failed(os::Result::failure(chartErrorText(), ChartFailed));

    const auto shortage = [&] {
        const QString text = QStringLiteral("data shortage!");
        m_dialogs.message({text, QStringLiteral("qelPro"), os::MessageButtons::Ok,
                           os::MessageIcon::None, os::MessageAnswer::Ok});
        return JobResult::failed(os::Result::failure(text, DataShortage));
    };
    if (sums.n < 2 || (parabolic && sums.n < 3))
        return shortage();

    DataField field(m_chart, m_dialogs, m_fields, m_messages);
    if (job == JobSmooth) {
        const os::Result smoothed = Smoother(m_chart, m_dialogs, m_fields).runSmoothing(series);
        return smoothed ? result : JobResult::failed(smoothed);
    }

    const double xMin = m_chart.AxisValue(chartview::AxisXMin);
    const double xMax = m_chart.AxisValue(chartview::AxisXMax);
    const double yMin = m_chart.AxisValue(chartview::AxisYMin);
    const double yMax = m_chart.AxisValue(chartview::AxisYMax);
    const double y2Min = m_chart.AxisValue(chartview::AxisY2Min);
    const double y2Max = m_chart.AxisValue(chartview::AxisY2Max);
    m_chart.clearError();
    const auto restoreAxes = [&] {
        m_chart.setAxisValue(chartview::AxisYMin, yMin);
        m_chart.setAxisValue(chartview::AxisYMax, yMax);
        m_chart.setAxisValue(chartview::AxisY2Min, y2Min);
        m_chart.setAxisValue(chartview::AxisY2Max, y2Max);
        m_chart.Refresh();
        m_chart.clearError();
    };

    const RegressionFit::Linear line = RegressionFit::linear(sums);
    // Sums beyond the single range would turn every statistic into infinity or NaN.
    for (float v : {line.sx, line.sy, line.sx2, line.sy2, line.sxy}) {
        if (!std::isfinite(v)) {
            const QString text =
                QStringLiteral("オーバーフローしました。データの値が大きすぎます。");
            m_dialogs.inform(text, os::MessageIcon::Exclamation);
            return JobResult::failed(os::Result::failure(text, Overflow));
        }
    }
    const RegressionFit::XRange range = RegressionFit::xRange(sums, xMin, xMax, m_options.whole());
    RegressionCurves curves(m_chart, m_dialogs, field, m_colorGroupCount);

    StatReport report;
    const bool writeReport = job == JobDrawText;
    const QString group = m_chart.SeriesCaption(qint16(series));
    m_chart.clearError();
    if (writeReport)
        report.header(m_clock(), m_currentFile, group, sums, line);

    const auto appendReport = [&]() -> os::Result {
        QString error;
        if (StatReport::appendToFile(reportPath(), report.text(), &error))
            return os::Result::success();
        const QString text = reportFileName() + QStringLiteral(" に書き込めません。\n") +
                             reportPath() + QStringLiteral("\n") + error;
        m_dialogs.inform(text, os::MessageIcon::Exclamation);
        return os::Result::failure(text, ReportNotWritten);
    };
    // A curve the chart would not take does not stop the run; the run still fails.
    const auto drawnOk = [](const os::Result &drawn) {
        return drawn.ok() || drawn.code == CurveNotWritten;
    };

    if (line.degenerate) {
        RegressionCurves::Segment s;
        if (line.sxx == 0)
            s = {line.meanX, sums.minY, line.meanX, sums.maxY};
        else
            s = {range.xs, line.meanY, range.xe, line.meanY};
        const os::Result drawn = curves.writeLine(series, s, false, nullptr, range);
        if (!drawnOk(drawn))
            return JobResult::failed(drawn);
        curves.copySecondAxis(secondAxis);
        restoreAxes();
        if (writeReport) {
            report.degenerate(line);
            const os::Result written = appendReport();
            if (!written)
                return JobResult::failed(written);
        }
        return drawn ? result : JobResult::failed(drawn);
    }

    // Two points fix the line exactly; the statistics would divide by n - 2 = 0.
    if (!line.estimable)
        return shortage();

    std::optional<RegressionFit::FixedPoint> fixed;
    if (m_options.fixedPoint())
        fixed = RegressionFit::fixedPoint(line, m_options.x0(), m_options.y0());
    std::optional<RegressionFit::Parabola> parabola;
    if (parabolic) {
        parabola = RegressionFit::parabola(sums);
        if (!parabola) {
            const QString text =
                QStringLiteral("回帰線：Xの値が3種類以上ないので、放物線を決められません。");
            m_dialogs.inform(text);
            return JobResult::failed(os::Result::failure(text, Refused));
        }
    }

    os::Result drawn;
    if (parabola) {
        drawn =
            curves.writeParabola(series, range.xs, range.xe, parabola->c, parabola->b, parabola->a);
    } else {
        const float slope = fixed ? fixed->b0 : line.slope;
        const float intercept = fixed ? fixed->a0 : line.intercept;
        const RegressionCurves::Segment s = RegressionCurves::clipLine(
            range.xs, range.xe, float(yMin), float(yMax), slope, intercept);
        drawn = curves.writeLine(series, s, fixed.has_value(), seCurves ? &line : nullptr, range);
    }
    if (!drawnOk(drawn))
        return JobResult::failed(drawn);
    curves.copySecondAxis(secondAxis);
    restoreAxes();

    if (!writeReport)
        return drawn ? result : JobResult::failed(drawn);
    report.linear(line);
    if (parabola)
        report.parabola(*parabola);
    // A line of zero variance ends the comparison and the report there; it is not shown.
    const bool complete = !fixed || report.comparison(line, *fixed);
    if (complete && seCurves)
        report.seTable(line, range);
    const os::Result written = appendReport();
    if (!written)
        return JobResult::failed(written);
    if (!drawn)
        return JobResult::failed(drawn);
    if (!complete)
        return result;
    if (m_viewer)
        m_viewer->showReport(reportPath());
    result.kind = JobResult::Kind::ReportShown;
    return result;
}

} // namespace qel::stats
