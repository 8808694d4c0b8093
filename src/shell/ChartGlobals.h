#pragma once

#include "chartview/ChartModel.h"

namespace qel::shell {

// Chart state kept by the program rather than by a chart: the error trap's flags and the
// background gradient the program paints itself.
struct ChartGlobals
{
    bool superGradientOn = false;
    bool chartErrorShown = false;
    qint16 gradientKind = 0; // 0 none, 1 vertical, 2 two-direction, 4 box
    chartview::Rgb gradientColor1 = 0;
    chartview::Rgb gradientColor2 = 0;
};

} // namespace qel::shell
