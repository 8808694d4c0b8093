#pragma once

namespace qel::chartdoc {

// Turns an axis range into a readable scale: a step of 2, 5 or 10 times a power of ten,
// min and max moved out to multiples of it, and the decimals the step needs
// (0..37 gives 0..40 by 5 with 0 decimals, 0.12..0.5 gives 0.1..0.5 by 0.05 with 2).
// An empty range (min = max) is widened to min..min + 1 first.
//
// Returns false, leaving all four arguments untouched, when no scale can be made: a value
// that is not finite, min above max, or a range or scale beyond what a single holds. The
// caller then shows "error normalize.".
bool niceScale(float &min, float &max, float &step, int &decimals);

} // namespace qel::chartdoc
