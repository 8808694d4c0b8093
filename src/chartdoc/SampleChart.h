#pragma once

namespace qel::chartview {
class ChartView;
}

namespace qel::chartdoc {

// Fills both charts with the built-in sample: five kinds of meat over a year.
void buildSampleChart(chartview::ChartView &chart1, chartview::ChartView &chart2);
void fillSampleChart(chartview::ChartView &chart);

} // namespace qel::chartdoc
