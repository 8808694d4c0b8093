#include "chartdoc/NiceScale.h"

#include <cmath>

namespace qel::chartdoc {

namespace {

// Nearest integer with halves going to the even one, as Basic's CInt rounds.
float roundHalfEven(float v)
{
    const float below = std::floor(v);
    const float fraction = v - below;
    if (fraction > 0.5f)
        return below + 1;
    if (fraction < 0.5f)
        return below;
    return std::fmod(below, 2.0f) == 0 ? below : below + 1;
}

} // namespace

bool niceScale(float &min, float &max, float &step, int &decimals)
{
    if (!std::isfinite(min) || !std::isfinite(max) || min > max)
        return false;

    float top = max;
    float r = top - min;
    if (r == 0) {
        top = min + 1;
        r = 1;
    }
    if (!std::isfinite(r))
        return false;

    // Scale r into 10 <= r < 100; e counts the powers of ten taken out.
    int e = 0;
    while (r >= 100) {
        r /= 10;
        --e;
    }
    while (r < 10) {
        r *= 10;
        ++e;
    }

    int mantissa = 10;
    if (r <= 20)
        mantissa = 2;
    else if (r <= 50)
        mantissa = 5;
    // A power of ten beyond the single range still gives a step that fits.
    const float newStep = static_cast<float>(mantissa / std::pow(10.0, e));
    if (!(newStep > 0) || !std::isfinite(newStep))
        return false;

    float low = roundHalfEven(min / newStep);
    if (low * newStep > min)
        low -= 1;
    float high = roundHalfEven(top / newStep);
    if (high * newStep < top)
        high += 1;
    const float newMin = low * newStep;
    const float newMax = high * newStep;
    // Far from zero a single cannot resolve the step any more; the scale would not cover the range.
    if (!std::isfinite(newMin) || !std::isfinite(newMax) || newMin > min || newMax < top ||
        !(newMin < newMax))
        return false;

    // Counted from e: multiplying the single step by ten drifts (0.0001f needs five times).
    const int newDecimals = mantissa == 10 ? e - 1 : e;

    min = newMin;
    max = newMax;
    step = newStep;
    decimals = newDecimals > 0 ? newDecimals : 0;
    return true;
}

} // namespace qel::chartdoc
