#include "shell/ChartSpacing.h"

#include "chartview/ChartView.h"

#include <algorithm>
#include <cmath>

namespace qel::shell {

namespace {

// The chart holds 16-bit values, rounded the way the chart's host always rounded them
// (halves to even).
qint16 scaled(qint16 value, double factor)
{
    const double v = std::nearbyint(value * factor);
    return qint16(std::clamp(v, -32768.0, 32767.0));
}

} // namespace

void changeChartFont_GapSize(chartview::ChartView &chart, double fv, double fh)
{
    if (fv != 1) {
        chart.setSpacing(8, scaled(chart.Spacing(8), fv));
        chart.setSpacing(7, scaled(chart.Spacing(7), fv));
    }
    if (fh != 1) {
        chart.setSpacing(5, scaled(chart.Spacing(5), fh));
        chart.setSpacing(6, scaled(chart.Spacing(6), fh));
        qint16 gap = chart.PointGap();
        if (gap == 0)
            gap = 30; // 0 draws as 30
        chart.setPointGap(scaled(gap, fh));
    }
}

} // namespace qel::shell
