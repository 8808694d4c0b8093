#include "stats/RegressionCurves.h"

#include "chartview/ChartView.h"
#include "os/UserDialogs.h"
#include "stats/ChartRetry.h"
#include "stats/DataField.h"
#include "stats/JobFailure.h"

#include <algorithm>
#include <cmath>

namespace qel::stats {

namespace {

constexpr int Attempts = 10;
constexpr int SeSteps = 18;
constexpr int ParabolaFirstPoint = 10;

QString regrFailure()
{
    return chartErrorText() + QStringLiteral("Regr <3>");
}

// Tells the user about a curve the chart would not take and hands the same text on.
os::Result notWritten(os::UserDialogs &dialogs, const QString &text)
{
    dialogs.inform(text);
    return os::Result::failure(text, CurveNotWritten);
}

} // namespace

RegressionCurves::Segment RegressionCurves::clipLine(float xs, float xe, float yMin, float yMax,
                                                     float slope, float intercept)
{
    const auto clipEnd = [&](float x) {
        const double y = double(slope) * x + intercept;
        // A horizontal line outside the range has no point where it meets the bound.
        if (slope != 0) {
            if (y > yMax)
                x = float((double(yMax) - intercept) / slope);
            else if (y < yMin)
                x = float((double(yMin) - intercept) / slope);
        }
        return x;
    };
    Segment s;
    s.x1 = clipEnd(xs);
    s.x2 = clipEnd(xe);
    s.y1 = float(double(slope) * s.x1 + intercept);
    s.y2 = float(double(slope) * s.x2 + intercept);
    return s;
}

RegressionCurves::RegressionCurves(chartview::ChartView &chart, os::UserDialogs &dialogs,
                                   DataField &field, qint16 &colorGroupCount)
    : m_chart(chart)
    , m_dialogs(dialogs)
    , m_field(field)
    , m_colorGroupCount(colorGroupCount)
{}

os::Result RegressionCurves::writeLine(int series, const Segment &line, bool fixedPointLine,
                                       const RegressionFit::Linear *se,
                                       const RegressionFit::XRange &range)
{
    int firstNew = 0, fieldPoints = 0;
    const int kind = se ? DataField::LineWithSe : DataField::StraightLine;
    const os::Result reserved =
        m_field.dataFiled4Regr(kind, series + 1, m_colorGroupCount, firstNew, fieldPoints);
    if (!reserved)
        return reserved;

    const int first = fixedPointLine ? 4 : 1;
    const qint16 target = qint16(firstNew - 1);
    const bool ok = retryChart(m_chart, Attempts, [&] {
        m_chart.setSeriesAttrColor(target, CurveColor);
        m_chart.setActiveSeries(target);
        m_chart.setValueX(first, line.x1);
        m_chart.setValueY(first, line.y1);
        m_chart.setValueX(first + 1, line.x2);
        m_chart.setValueY(first + 1, line.y2);
    });
    os::Result result = os::Result::success();
    if (!ok)
        result = notWritten(m_dialogs, regrFailure());
    if (se) {
        const os::Result curves = writeSeCurves(series, *se, range);
        if (result)
            result = curves;
    }
    return result;
}

os::Result RegressionCurves::writeSeCurves(int series, const RegressionFit::Linear &line,
                                           const RegressionFit::XRange &range)
{
    const qint16 target = qint16(series + 2 * m_colorGroupCount);
    bool ok = true;
    m_chart.clearError();
    m_chart.setActiveSeries(target);
    ok = !m_chart.ErrorPending();
    const double step = (double(range.xe) - range.xs) / SeSteps;
    // Rounding must not lose the last abscissa, which lies on xe.
    const double limit = range.xe + std::abs(step) * 1e-3;
    for (int i = 1; i <= SeSteps && ok; ++i) {
        const float x = float(range.xs + i * step);
        if (x > limit)
            break;
        const RegressionFit::SeValues v = RegressionFit::seAt(line, x);
        const float ys[4] = {v.y - v.seLine, v.y + v.seLine, v.y - v.seY, v.y + v.seY};
        for (int c = 0; c < 4 && ok; ++c) {
            const int p = i + 20 * c;
            ok = retryChart(m_chart, Attempts, [&] {
                m_chart.setActiveSeries(target);
                m_chart.setValueX(p, x);
                m_chart.setValueY(p, ys[c]);
            });
        }
    }
    if (ok)
        ok = retryChart(m_chart, Attempts, [&] { m_chart.setSeriesAttrColor(target, CurveColor); });
    if (!ok)
        return notWritten(m_dialogs, regrFailure());
    return os::Result::success();
}

os::Result RegressionCurves::writeParabola(int series, float xs, float xe, double c, double b,
                                           double a)
{
    int firstNew = 0, fieldPoints = 0;
    const os::Result reserved = m_field.dataFiled4Regr(DataField::Parabola, series + 1,
                                                       m_colorGroupCount, firstNew, fieldPoints);
    if (!reserved)
        return reserved;

    const qint16 target = qint16(firstNew - 1);
    const double step = (double(xe) - xs) / (fieldPoints - ParabolaFirstPoint);
    const double limit = xe + std::abs(step) * 1e-3;
    bool ok = retryChart(m_chart, Attempts, [&] { m_chart.setActiveSeries(target); });
    // Only the points the field has: the last index would lie one beyond it.
    for (int j = ParabolaFirstPoint; j < fieldPoints && ok; ++j) {
        const double x = xs + (j - ParabolaFirstPoint) * step;
        if (x > limit)
            break;
        ok = retryChart(m_chart, Attempts, [&] {
            m_chart.setActiveSeries(target);
            m_chart.setValueY(j, a * x * x + b * x + c);
            m_chart.setValueX(j, x);
        });
    }
    if (ok)
        ok = retryChart(m_chart, Attempts, [&] { m_chart.setSeriesAttrColor(target, CurveColor); });
    if (!ok)
        return notWritten(m_dialogs, QStringLiteral("回帰線：") + chartErrorText());
    return os::Result::success();
}

void RegressionCurves::copySecondAxis(const std::vector<qint16> &saved)
{
    if (std::find(saved.begin(), saved.end(), qint16(1)) == saved.end())
        return;
    const int n = m_colorGroupCount;
    const int groups = m_chart.SeriesTotal();
    for (int k = 1; k <= n && k <= int(saved.size()); ++k) {
        const qint16 on = saved[std::size_t(k - 1)];
        m_chart.setSecondYAxis(qint16(k - 1), on);
        if (n + k <= groups)
            m_chart.setSecondYAxis(qint16(n + k - 1), on);
        if (2 * n + k <= groups)
            m_chart.setSecondYAxis(qint16(2 * n + k - 1), on);
    }
    m_chart.clearError();
}

} // namespace qel::stats
