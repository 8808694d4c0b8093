#pragma once

namespace qel::chartview {
class ChartView;
}

namespace qel::shell {

// changeChartFont_GapSize: scales the chart's spacing with its text size or its size on
// screen; fv the vertical spacing (members 7, 8), fh the horizontal one (members 5, 6) and
// the point gap. A factor of 1 leaves its direction alone.
void changeChartFont_GapSize(chartview::ChartView &chart, double fv, double fh);

} // namespace qel::shell
