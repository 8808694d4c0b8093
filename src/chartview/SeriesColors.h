#pragma once

#include "chartview/ChartModel.h"

#include <functional>
#include <optional>
#include <vector>

namespace qel::chartview {

class ChartView;

// Series colouring of the colour window: random colours and colour ramps over a range of groups.
// Groups are numbered from 1, as the user sees them; the chart's series from 0.

// The colour split: red = value AND 255, green = (value div 256) AND 255, blue = value div 65536.
struct ColorParts
{
    int red = 0;
    int green = 0;
    int blue = 0;
};
ColorParts splitColor(Rgb color);

// A random fraction in [0, 1), as the random generator hands it out.
using RandomFraction = std::function<double()>;
// The generator seeded from the clock.
RandomFraction clockSeededRandom();

// The random colour of group g: two components from {0, 40, 80, 120, 160} and, by g mod 6, the
// red, green, blue, red+green, red+blue or green+blue component(s) bright, from 220 to 255.
Rgb randomGroupColor(int group, const RandomFraction &random);
// groupRndColor(first, last): random colours for the groups first..last (last at most 255).
void groupRndColor(ChartView &chart, int first, int last, const RandomFraction &random);

// The colours of the colour ramp for the groups first..last (first <= last): from c0 to c1, or
// from c0 through the via colour to c1.
std::vector<Rgb> colorRamp(int first, int last, Rgb c0, Rgb c1, std::optional<Rgb> via);

} // namespace qel::chartview
