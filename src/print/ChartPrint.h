#pragma once

#include "print/PrintSource.h"

namespace qel::chartview {
class ChartView;
}

namespace qel::print {

class PrinterPage;

// The printed layouts of the chart: the standard page with its header and legend text, the
// chart at its on-screen proportions, the chart filling the page's width, and the window
// print. Each is one document, ended at the end of the routine; endDoc's result says whether
// the output came out.
class ChartPrint
{
public:
    ChartPrint(PrinterPage &page, const PrintSource &source);

    // Standard page print: mode 1 prints Chart1, mode 2 Chart1 and Chart2 below it.
    void standardPage(int mode);
    // CmdPrnChart: Chart1 at its place and size in the window.
    void asScreen();
    // CmdPrnFill: Chart1 across the page's width in its upper half.
    void fillingPage();
    // CmdPrnForm: the whole window at its size (smaller when the page is smaller).
    void windowPrint();

    // The five background colours a white print sets on a chart.
    static void whiten(chartview::ChartView &chart);
    // The header line's text for this page.
    QString headerLine() const;

    // Empty lines between the header and the legend text.
    static constexpr int LegendGapLines = 21;

private:
    void paintChart(chartview::ChartView *chart, const QRect &target, int paintMode);

    PrinterPage &m_page;
    const PrintSource &m_source;
};

} // namespace qel::print
