#pragma once

#include "os/Result.h"
#include "stats/RegressionFit.h"

#include <QtGlobal>

#include <vector>

namespace qel::os {
class UserDialogs;
}
namespace qel::chartview {
class ChartView;
}

namespace qel::stats {

class DataField;

// Writes the fitted curves of a regression run into their chart series: the straight line,
// the parabola, the four standard-error curves, each coloured 0x800008.
class RegressionCurves
{
public:
    // The second colour every curve series gets (red 8, green 0, blue 128).
    static constexpr quint32 CurveColor = 0x800008;

    struct Segment
    {
        float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    };

    // The line y = slope x + intercept from xs to xe, each end pulled back along the line to
    // the Y axis range where it would leave it. A horizontal line keeps its ends.
    static Segment clipLine(float xs, float xe, float yMin, float yMax, float slope,
                            float intercept);

    RegressionCurves(chartview::ChartView &chart, os::UserDialogs &dialogs, DataField &field,
                     qint16 &colorGroupCount);

    // The straight line of series (0-based) at points 1 and 2, or 4 and 5 for the line through
    // the fixed point; with se, also the standard-error curves of that line over range.
    // A failure with the code CurveNotWritten when the chart kept refusing the points (the
    // user has been told and the run goes on); any other failure means the series could not
    // be reserved and the run ends.
    os::Result writeLine(int series, const Segment &line, bool fixedPointLine,
                         const RegressionFit::Linear *se, const RegressionFit::XRange &range);

    // writeParabola: y = A x^2 + B x + C from xs to xe at points 10 onwards. Failures as for
    // writeLine.
    os::Result writeParabola(int series, float xs, float xe, double c, double b, double a);

    // Puts the saved second-axis flags of the user groups back on them and their curves,
    // when any user group was on the second axis.
    void copySecondAxis(const std::vector<qint16> &saved);

private:
    os::Result writeSeCurves(int series, const RegressionFit::Linear &line,
                             const RegressionFit::XRange &range);

    chartview::ChartView &m_chart;
    os::UserDialogs &m_dialogs;
    DataField &m_field;
    qint16 &m_colorGroupCount;
};

} // namespace qel::stats
