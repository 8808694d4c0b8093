#pragma once

#include "stats/RegressionSums.h"

#include <optional>

namespace qel::stats {

// The formulas of the data information report. The straight line works on single-precision
// copies of the double sums, every named result rounded to a single; the parabola stays in
// double precision.
class RegressionFit
{
public:
    struct Linear
    {
        int n = 0;
        float sx = 0, sy = 0, sx2 = 0, sy2 = 0, sxy = 0; // the single copies, as reported
        float meanX = 0, meanY = 0;
        float sxx = 0, syy = 0; // corrected sums of squares, never below 0
        float sdX = 0, sdY = 0;
        // Sxx * Syy = 0: r is 0 and nothing further is computed.
        bool degenerate = false;
        float sxyDev = 0; // corrected sum of products
        float r = 0;
        float slope = 0, intercept = 0;
        // Residual variance and the squared standard errors; they need n > 2.
        bool estimable = false;
        float s2 = 0;
        float seMeanY2 = 0, seSlope2 = 0, seIntercept2 = 0;
    };

    // The line through a fixed point (X0, Y0): one of least Y variance, one of least X variance.
    struct FixedPoint
    {
        float x0 = 0, y0 = 0;
        float sxx0 = 0, syy0 = 0, sxy0 = 0;
        float b0 = 0, a0 = 0; // y = b0 x + a0
        float c0 = 0, d0 = 0; // x = c0 y + d0
        float rssY0 = 0, varY0 = 0;
        float rssX0 = 0, varX0 = 0;
    };

    // y = A x^2 + B x + C.
    struct Parabola
    {
        double a = 0, b = 0, c = 0;
        float seY = 0;
        // The vertex; absent when A is 0 (a straight line has none) or beyond the single range.
        std::optional<float> vertexX, vertexY;
        bool minimum() const { return a >= 0; }
    };

    // The abscissa range the curves are drawn over.
    struct XRange
    {
        float xs = 0, xe = 0;
    };

    // Standard errors of the line and of a Y value at x, with the line's y there.
    struct SeValues
    {
        float x = 0, seLine = 0, seY = 0, y = 0;
    };

    static Linear linear(const RegressionSums &sums);
    // Empty when Sxx0 or Syy0 is 0: no fixed-point line can be fitted.
    static std::optional<FixedPoint> fixedPoint(const Linear &line, float x0, float y0);
    // Empty when the X values do not determine a parabola (fewer than three distinct x).
    static std::optional<Parabola> parabola(const RegressionSums &sums);
    static XRange xRange(const RegressionSums &sums, double axisMin, double axisMax, bool whole);
    static SeValues seAt(const Linear &line, float x);
};

} // namespace qel::stats
