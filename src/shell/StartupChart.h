#pragma once

#include <QString>

namespace qel::chartdoc {
struct TableImage;
}

namespace qel::shell {

class MainForm;
struct ChartGlobals;

// startupChart: the chart defaults, the file named on the command line (the built-in sample
// for "kycfx.chf") or the start-up chart, and the table counts taken from the chart.
class StartupChart
{
public:
    StartupChart(MainForm &form, ChartGlobals &globals, chartdoc::TableImage &table);

    // Moves an access log over a million bytes aside first.
    void run(const QString &commandLine, const QString &qelDir);
    // Whether a command-line file is opened: a chart, table, slide script or legacy file.
    static bool opensAtStart(const QString &path);

    // The defaults every start gives both charts and the background gradient.
    void applyDefaults();
    // qelPro.chf into Chart1, or qelProMulti.CHF when that import does not succeed.
    void loadStartupChart(const QString &qelDir);
    void takeCounts();

private:
    MainForm &m_form;
    ChartGlobals &m_globals;
    chartdoc::TableImage &m_table;
};

} // namespace qel::shell
