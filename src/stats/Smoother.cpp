#include "stats/Smoother.h"

#include "chartview/ChartView.h"
#include "os/NumberFormat.h"
#include "os/UserDialogs.h"
#include "stats/ChartRetry.h"
#include "stats/JobFailure.h"
#include "stats/RegressionCurves.h"
#include "stats/SeriesX.h"

namespace qel::stats {

using chartview::isEmptyPoint;

namespace {

constexpr int CountAttempts = 5;
constexpr int WriteAttempts = 10;
// Slack on the parameter bounds, so a step that does not add up exactly still reaches them.
constexpr double Slack = 0.01;

float at(const Smoother::Quadratic &q, double t)
{
    return float(q[0] + q[1] * t + q[2] * t * t);
}

} // namespace

double Smoother::stepFor(int c)
{
    if (c < 10)
        return 0.05;
    if (c < 20)
        return 0.1;
    if (c < 40)
        return 0.2;
    if (c < 50)
        return 0.25;
    if (c < 100)
        return 0.5;
    return 0;
}

Smoother::Quadratic Smoother::kernel(float y1, float y2, float y3)
{
    const double a = y1;
    const double b = (-3.0 * y1 + 4.0 * y2 - y3) / 2;
    const double c = (double(y1) - 2.0 * y2 + y3) / 2;
    return {float(a), float(b), float(c)};
}

std::vector<QPointF> Smoother::smoothPoints(const std::vector<QPointF> &points, double h)
{
    std::vector<QPointF> out;
    if (!(h > 0))
        return out;
    int count = 0;
    QPointF p1, p2, p3; // the last three valid points, p3 the newest
    Quadratic curX{}, curY{}, prevX{}, prevY{};

    const auto endCurve = [&](const QPointF *empty) {
        if (count >= 3) {
            for (int i = 1;; ++i) {
                const double t = 1 + i * h;
                if (t > 2 + Slack)
                    break;
                out.emplace_back(at(curX, t), at(curY, t));
            }
        } else if (count == 2) {
            out.push_back(p3);
        } else if (count == 0 && empty) {
            out.push_back(*empty);
        }
        // One point alone was written when it came; writing it again would repeat it.
        count = 0;
    };

    for (const QPointF &p : points) {
        if (isEmptyPoint(p.x()) || isEmptyPoint(p.y())) {
            endCurve(&p);
            continue;
        }
        p1 = p2;
        p2 = p3;
        p3 = QPointF(float(p.x()), float(p.y()));
        ++count;
        if (count == 1) {
            out.push_back(p3);
            continue;
        }
        if (count == 2)
            continue;
        curX = kernel(float(p1.x()), float(p2.x()), float(p3.x()));
        curY = kernel(float(p1.y()), float(p2.y()), float(p3.y()));
        for (int i = 1;; ++i) {
            const double t = i * h;
            if (t > 1 + Slack)
                break;
            // The first triple of a curve has no predecessor to blend with.
            const double w = count == 3 ? 1.0 : t;
            const double x = (1 - w) * at(prevX, t + 1) + w * at(curX, t);
            const double y = (1 - w) * at(prevY, t + 1) + w * at(curY, t);
            out.emplace_back(float(x), float(y));
        }
        prevX = curX;
        prevY = curY;
    }
    endCurve(nullptr);
    return out;
}

Smoother::Smoother(chartview::ChartView &chart, os::UserDialogs &dialogs, RegressionFields &fields)
    : m_chart(chart)
    , m_dialogs(dialogs)
    , m_fields(fields)
{}

os::Result Smoother::runSmoothing(int series)
{
    const os::MessageAnswer a =
        m_dialogs.message({QStringLiteral("現在のデータに上書きして平滑化データに変換します。\n"
                                          "必要な場合はファイルをコピーして実行してください。"),
                           QStringLiteral("qelPro"), os::MessageButtons::OkCancel,
                           os::MessageIcon::None, os::MessageAnswer::Ok});
    if (a == os::MessageAnswer::Cancel)
        return os::Result::failure(QStringLiteral("平滑化を中止しました。"), Cancelled);
    const double yMin = m_chart.AxisValue(chartview::AxisYMin);
    const double yMax = m_chart.AxisValue(chartview::AxisYMax);
    const os::Result result = smoothSeries(series);
    m_chart.setAxisValue(chartview::AxisYMin, yMin);
    m_chart.setAxisValue(chartview::AxisYMax, yMax);
    m_chart.clearError();
    return result;
}

os::Result Smoother::smoothSeries(int series)
{
    int points = 0, valid = 0;
    bool withX = false;
    const bool counted = retryChart(m_chart, CountAttempts, [&] {
        m_chart.setActiveSeries(qint16(series));
        points = m_chart.PointTotal();
        valid = 0;
        for (int p = 0; p < points; ++p) {
            if (!isEmptyPoint(m_chart.ValueY(p)))
                ++valid;
        }
        withX = activeSeriesUsesXValues(m_chart, series);
    });
    if (!counted) {
        m_dialogs.inform(chartErrorText());
        return os::Result::failure(chartErrorText(), ChartFailed);
    }
    const double h = stepFor(valid);
    if (h == 0) {
        const QString text = os::integerStr(valid) + QStringLiteral("データが多すぎます. ");
        m_dialogs.inform(text);
        return os::Result::failure(text, Refused);
    }

    // The points where the chart shows them: at their X values, or at the point numbers.
    std::vector<QPointF> in;
    in.reserve(std::size_t(points));
    for (int p = 0; p < points; ++p) {
        const double y = m_chart.ValueY(p);
        const double x = withX ? m_chart.ValueX(p) : p + 1;
        in.emplace_back(x, y);
    }
    const std::vector<QPointF> out = smoothPoints(in, h);
    const int m = int(out.size());
    if (m < 1)
        return os::Result::failure(QStringLiteral("平滑化する点がありません。"), Refused);

    m_fields.firstPoint = QStringLiteral("1");
    m_fields.lastPoint = QString::number(m);
    const int groups = m_chart.SeriesTotal();
    m_chart.clearError();
    m_chart.BeginDataLoad(chartview::ChannelValues, groups, m);
    m_chart.BeginDataLoad(chartview::ChannelXValues, groups, m);
    if (m_chart.ErrorPending() || m_chart.PointTotal() != m) {
        m_chart.clearError();
        m_chart.EndDataLoad(chartview::ChannelValues);
        m_chart.EndDataLoad(chartview::ChannelXValues);
        m_dialogs.inform(chartErrorText());
        return os::Result::failure(chartErrorText(), ChartFailed);
    }
    for (int g = 0; g < groups; ++g) {
        m_chart.setActiveSeries(qint16(g));
        for (int p = points; p < m; ++p)
            m_chart.setValueY(p, chartview::EmptyPointValue);
    }
    m_chart.setActiveSeries(qint16(series));
    for (int p = 0; p < m; ++p) {
        m_chart.setValueX(p, out[std::size_t(p)].x());
        m_chart.setValueY(p, out[std::size_t(p)].y());
    }
    m_chart.EndDataLoad(chartview::ChannelValues);
    m_chart.EndDataLoad(chartview::ChannelXValues);
    m_chart.setSeriesAttrColor(qint16(series), RegressionCurves::CurveColor);
    m_chart.Refresh();
    m_chart.clearError();
    return os::Result::success();
}

} // namespace qel::stats
