#pragma once

#include "os/Result.h"
#include "stats/RegressionFields.h"

#include <QPointF>

#include <array>
#include <vector>

namespace qel::os {
class UserDialogs;
}
namespace qel::chartview {
class ChartView;
}

namespace qel::stats {

// Smoothing (job 77): a series becomes a parametric curve x(t), y(t) through its valid points,
// each coordinate built from overlapping quadratics through three neighbouring points.
class Smoother
{
public:
    // Coefficients (a, b, c) of a + b t + c t^2 through (0, y1), (1, y2), (2, y3).
    using Quadratic = std::array<float, 3>;

    // The parameter step for c valid points (0.05 to 0.5); 0 when there are too many (100 or more).
    static double stepFor(int validPoints);
    static Quadratic kernel(float y1, float y2, float y3);
    // The output points for the series' points in order; a point with an empty X or Y ends
    // the curve there.
    static std::vector<QPointF> smoothPoints(const std::vector<QPointF> &points, double step);

    Smoother(chartview::ChartView &chart, os::UserDialogs &dialogs, RegressionFields &fields);

    // Job 77: asks first, smooths the series and keeps the Y-axis range as it was. A Cancel
    // answer is a failure with the code Cancelled.
    os::Result runSmoothing(int series);
    // smoothSeries: replaces the series by its smoothed curve; every group of the chart gets
    // the new point count. The curve is a fitted series (second colour 0x800008): a plain line
    // through its X values, which are point numbers where the series had no X values.
    // A failure when it refused or failed (the user has been told).
    os::Result smoothSeries(int series);

private:
    chartview::ChartView &m_chart;
    os::UserDialogs &m_dialogs;
    RegressionFields &m_fields;
};

} // namespace qel::stats
