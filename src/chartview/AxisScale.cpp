#include "chartview/AxisScale.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace qel::chartview {

AxisScale AxisScale::automatic(double lo, double hi)
{
    if (!std::isfinite(lo) || !std::isfinite(hi) || lo > hi)
        return {};
    if (lo == hi) {
        lo -= lo == 0 ? 1 : std::abs(lo) * 0.1;
        hi += hi == 0 ? 1 : std::abs(hi) * 0.1;
    }
    // Zero belongs on a chart's value axis when the data lie near it.
    if (lo > 0 && lo < (hi - lo) * 0.5)
        lo = 0;
    if (hi < 0 && -hi < (hi - lo) * 0.5)
        hi = 0;
    const double raw = (hi - lo) / 6;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double step = magnitude;
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        step = m * magnitude;
        if (step >= raw)
            break;
    }
    AxisScale s;
    s.step = step;
    s.min = std::floor(lo / step + 1e-9) * step;
    s.max = std::ceil(hi / step - 1e-9) * step;
    s.decimals = decimalsForStep(step);
    return s;
}

int AxisScale::decimalsForStep(double step)
{
    int d = 0;
    step = std::abs(step);
    while (step > 0 && d < 9 &&
           std::abs(step * std::pow(10.0, d) - std::round(step * std::pow(10.0, d))) >
               1e-6 * std::pow(10.0, d))
        ++d;
    return d;
}

std::vector<double> AxisScale::ticks(int maxTicks) const
{
    std::vector<double> out;
    if (!(max > min) || !std::isfinite(min) || !std::isfinite(max))
        return out;
    double s = step > 0 && std::isfinite(step) ? step : (max - min) / 5;
    while ((max - min) / s > maxTicks)
        s *= 2;
    // Axis values often come from singles: allow for their rounding at both ends.
    const long long first = std::llround(std::ceil(min / s - 1e-4));
    for (long long i = first;; ++i) {
        const double v = double(i) * s;
        if (v > max + s * 1e-4)
            break;
        out.push_back(std::abs(v) < s * 1e-4 ? 0.0 : v);
        if (out.size() > std::size_t(maxTicks) + 1)
            break;
    }
    return out;
}

QString AxisScale::label(double v) const
{
    return QLocale::c().toString(v, 'f', std::clamp(decimals, 0, 9));
}

} // namespace qel::chartview
