#pragma once

#include <QString>

#include <vector>

namespace qel::chartview {

// A linear value axis: its range, tick step and label decimals.
struct AxisScale
{
    double min = 0;
    double max = 1;
    double step = 0.2;
    int decimals = 1;

    // A readable scale for data running from lo to hi.
    static AxisScale automatic(double lo, double hi);
    static int decimalsForStep(double step);

    // Where v lies between min (0) and max (1).
    double fraction(double v) const { return max == min ? 0.5 : (v - min) / (max - min); }
    double valueAt(double fraction) const { return min + fraction * (max - min); }
    // Tick values from min to max; at most maxTicks of them (the step is widened if needed).
    std::vector<double> ticks(int maxTicks = 200) const;
    QString label(double v) const;
};

} // namespace qel::chartview
