#pragma once

#include <QString>

namespace qel::chartdoc {
struct TableImage;
}
namespace qel::chartview {
class ChartView;
}

namespace qel::shell {

class MainForm;

// startupChart: the chart defaults, the file named on the command line (the built-in sample
// for "kycfx.chf") or the start-up chart, and the table counts taken from the chart.
class StartupChart
{
public:
    StartupChart(MainForm &form, chartdoc::TableImage &table);

    // Moves an access log over a million bytes aside first.
    void run(const QString &commandLine, const QString &qelDir);
    // Whether a command-line file is opened: a chart, table, slide script or legacy file.
    static bool opensAtStart(const QString &path);

    // The defaults every start gives both charts, and Chart1's background gradient.
    static void applyDefaults(chartview::ChartView &chart1, chartview::ChartView &chart2);
    // qelPro.chf into Chart1, or qelProMulti.CHF when that import does not succeed; the copy
    // built into the program when neither is in the program folder. Chart2's sample legends.
    static void loadStartupChart(chartview::ChartView &chart1, chartview::ChartView &chart2,
                                 const QString &qelDir);
    // The chart every file is opened over when the program has started without one: what the
    // window holds after start-up, for loads without a window (the command line).
    static void prepareStartupChart(chartview::ChartView &chart1, chartview::ChartView &chart2,
                                    const QString &qelDir);
    // The depth box's text when the program starts.
    static QString initialDepthText() { return QStringLiteral("50"); }
    void takeCounts();

private:
    MainForm &m_form;
    chartdoc::TableImage &m_table;
};

} // namespace qel::shell
