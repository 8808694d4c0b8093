#pragma once

#include "chartview/ChartView.h"

namespace qel::stats {

// Whether the points of the active series stand at their X values, as the chart draws them:
// on a numeric X axis a series has X values when the chart says so or when any of its points
// has an X value other than 0; a fitted curve always has them. Otherwise (a category axis, or
// a series without X values) its points stand at the point numbers 1, 2, …, and the
// regression works on those, so its curves land on the points the user sees.
inline bool activeSeriesUsesXValues(chartview::ChartView &chart, int series)
{
    const chartview::ChartModel &model = chart.model();
    if (series >= 0 && series < int(model.seriesAttrColors.size()) &&
        model.seriesAttrColors[std::size_t(series)] != 0)
        return true;
    if (!chartview::numericXAxis(chart.ChartType(), chart.HasXValues()))
        return false;
    if (chart.HasXValues())
        return true;
    const int points = chart.PointTotal();
    for (int p = 0; p < points; ++p) {
        const double x = chart.ValueX(p);
        if (x != 0 && !chartview::isEmptyPoint(x) && !chartview::isEmptyPoint(chart.ValueY(p)))
            return true;
    }
    return false;
}

} // namespace qel::stats
