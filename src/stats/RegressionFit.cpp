#include "stats/RegressionFit.h"

#include <cmath>
#include <limits>

namespace qel::stats {

namespace {

// Results are stored as singles; the arithmetic between them runs in double precision.
// The rounding goes through memory on purpose: an optimiser may otherwise carry the wider
// value on into the next step, and the statistics would change with the build.
float single(double v)
{
    volatile float rounded = float(v);
    return rounded;
}

bool fitsSingle(double v)
{
    return std::isfinite(v) && std::abs(v) <= double(std::numeric_limits<float>::max());
}

} // namespace

RegressionFit::Linear RegressionFit::linear(const RegressionSums &sums)
{
    Linear l;
    l.n = sums.n;
    l.sx = single(sums.sx);
    l.sy = single(sums.sy);
    l.sx2 = single(sums.sx2);
    l.sy2 = single(sums.sy2);
    l.sxy = single(sums.sxy);
    const double n = sums.n;
    if (n < 1)
        return l;

    l.meanX = single(l.sx / n);
    l.meanY = single(l.sy / n);
    l.sxx = single(double(l.sx2) - double(l.sx) * l.sx / n);
    l.syy = single(double(l.sy2) - double(l.sy) * l.sy / n);
    if (l.sxx < 0)
        l.sxx = 0;
    if (l.syy < 0)
        l.syy = 0;
    if (n > 1) {
        l.sdX = single(std::sqrt(l.sxx / (n - 1)));
        l.sdY = single(std::sqrt(l.syy / (n - 1)));
    }

    if (single(double(l.sxx) * l.syy) == 0) {
        l.degenerate = true;
        l.r = 0;
        return l;
    }

    l.sxyDev = single(double(l.sxy) - double(l.sx) * l.sy / n);
    l.r = single(l.sxyDev / std::sqrt(double(l.sxx) * l.syy));
    if (double(l.r) * l.r > 1)
        l.r = l.sxyDev < 0 ? -1.0f : 1.0f;
    l.slope = single(double(l.sxyDev) / l.sxx);
    l.intercept = single((double(l.sy) - double(l.slope) * l.sx) / n);

    // With two points the line is exact and the residual variance has no degrees of freedom.
    l.estimable = sums.n > 2;
    if (l.estimable) {
        l.s2 = single((1 - double(l.r) * l.r) * l.syy / (n - 2));
        l.seMeanY2 = single(double(l.s2) / n);
        l.seSlope2 = single(double(l.s2) / l.sxx);
        l.seIntercept2 = single(double(l.seSlope2) * l.sx2 / n);
    }
    return l;
}

std::optional<RegressionFit::FixedPoint> RegressionFit::fixedPoint(const Linear &l, float x0,
                                                                   float y0)
{
    FixedPoint f;
    f.x0 = x0;
    f.y0 = y0;
    const double n = l.n;
    const double X0 = x0, Y0 = y0;
    f.sxx0 = single(l.sx2 - 2 * X0 * l.sx + n * X0 * X0);
    f.syy0 = single(l.sy2 - 2 * Y0 * l.sy + n * Y0 * Y0);
    f.sxy0 = single(l.sxy - X0 * l.sy - Y0 * l.sx + n * X0 * Y0);
    if (f.sxx0 == 0 || f.syy0 == 0 || n < 2)
        return std::nullopt;

    f.b0 = single(double(f.sxy0) / f.sxx0);
    f.a0 = single(Y0 - double(f.b0) * X0);
    f.c0 = single(double(f.sxy0) / f.syy0);
    f.d0 = single(X0 - double(f.c0) * Y0);
    f.rssY0 = single(f.syy0 - double(f.sxy0) * f.sxy0 / f.sxx0);
    f.rssX0 = single(f.sxx0 - double(f.sxy0) * f.sxy0 / f.syy0);
    // Both are sums of squares; rounding must not make them negative (their roots are printed).
    if (f.rssY0 < 0)
        f.rssY0 = 0;
    if (f.rssX0 < 0)
        f.rssX0 = 0;
    f.varY0 = single(f.rssY0 / (n - 1));
    f.varX0 = single(f.rssX0 / (n - 1));
    return f;
}

std::optional<RegressionFit::Parabola> RegressionFit::parabola(const RegressionSums &s)
{
    const double n = s.n;
    if (s.n < 3)
        return std::nullopt;
    const double sxx = s.sx2 - s.sx * s.sx / n;
    const double sx2x2 = s.sx4 - s.sx2 * s.sx2 / n;
    const double sxy = s.sxy - s.sx * s.sy / n;
    const double sx2y = s.sx2y - s.sx2 * s.sy / n;
    const double sxx2 = s.sx3 - s.sx * s.sx2 / n;
    const double syy = s.sy2 - s.sy * s.sy / n;

    const double d = sxx * sx2x2 - sxx2 * sxx2;
    if (d == 0 || !std::isfinite(d))
        return std::nullopt;
    Parabola p;
    p.b = (sxy * sx2x2 - sxx2 * sx2y) / d;
    p.a = (sxx * sx2y - sxx2 * sxy) / d;
    p.c = s.sy / n - p.b * s.sx / n - p.a * s.sx2 / n;
    if (!std::isfinite(p.a) || !std::isfinite(p.b) || !std::isfinite(p.c))
        return std::nullopt;

    double rss = syy - p.b * sxy - p.a * sx2y;
    if (rss < 0)
        rss = 0;
    p.seY = single(std::sqrt(rss / (n - 1)));

    if (p.a != 0) {
        const double xv = -p.b / (2 * p.a);
        if (fitsSingle(xv)) {
            const double x = single(xv);
            const double yv = p.a * x * x + p.b * x + p.c;
            if (fitsSingle(yv)) {
                p.vertexX = single(xv);
                p.vertexY = single(yv);
            }
        }
    }
    return p;
}

RegressionFit::XRange RegressionFit::xRange(const RegressionSums &sums, double axisMin,
                                            double axisMax, bool whole)
{
    XRange r;
    if (whole) {
        r.xs = single(axisMin);
        r.xe = single(axisMax);
        return r;
    }
    const double margin = (axisMax - axisMin) / 30;
    double xs = sums.minX - margin;
    double xe = sums.maxX + margin;
    if (xs < axisMin)
        xs = axisMin;
    if (xe > axisMax)
        xe = axisMax;
    r.xs = single(xs);
    r.xe = single(xe);
    return r;
}

RegressionFit::SeValues RegressionFit::seAt(const Linear &l, float x)
{
    SeValues v;
    v.x = x;
    const double dx = double(x) - l.meanX;
    const float seLine2 = single(l.seMeanY2 + double(l.seSlope2) * dx * dx);
    const float seY2 = single(double(seLine2) + l.s2);
    v.seLine = single(std::sqrt(seLine2));
    v.seY = single(std::sqrt(seY2));
    v.y = single(l.intercept + double(l.slope) * x);
    return v;
}

} // namespace qel::stats
