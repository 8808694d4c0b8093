#include "shell/StartupChart.h"

#include "chartdoc/ChartOptions.h"
#include "chartdoc/SampleChart.h"
#include "chartdoc/TableImage.h"
#include "chartview/ChartView.h"
#include "os/AccessLog.h"
#include "shell/ChartGlobals.h"
#include "shell/MainForm.h"

#include <algorithm>
#include <cmath>

namespace qel::shell {

using chartview::rgb;

StartupChart::StartupChart(MainForm &form, ChartGlobals &globals, chartdoc::TableImage &table)
    : m_form(form)
    , m_globals(globals)
    , m_table(table)
{}

bool StartupChart::opensAtStart(const QString &path)
{
    const QString lower = path.toLower();
    return lower.endsWith(QStringLiteral(".chf")) || lower.endsWith(QStringLiteral(".tbx")) ||
           lower.endsWith(QStringLiteral(".sld")) ||
           lower.right(4).startsWith(QStringLiteral(".df"));
}

void StartupChart::run(const QString &commandLine, const QString &qelDir)
{
    os::AccessLog(m_form.accessLogName()).rotate();
    applyDefaults();
    // The path keeps its case for opening; only the tests ignore it.
    QString remaining = commandLine;
    remaining.remove(QLatin1Char('"'));
    if (!remaining.isEmpty()) {
        if (remaining.toLower().contains(QStringLiteral("kycfx.chf")))
            chartdoc::buildSampleChart(m_form.chart1(), m_form.chart2());
        else if (opensAtStart(remaining))
            remaining = m_form.openCommandLine(remaining);
        else
            remaining.clear(); // not a kind that opens: the start-up chart as without one
    }
    if (remaining.isEmpty())
        loadStartupChart(qelDir);
    takeCounts();
}

void StartupChart::applyDefaults()
{
    for (chartview::ChartView *chart : {&m_form.chart1(), &m_form.chart2()}) {
        chart->setLayoutBits(272);
        chart->setPrintBits(16);
    }
    m_globals.superGradientOn = true;
    m_globals.gradientKind = 1;
    m_globals.gradientColor1 = rgb(255, 255, 128);
    m_globals.gradientColor2 = rgb(0, 255, 255);
    chartview::ChartView &chart = m_form.chart1();
    chart.setBackColorC(rgb(255, 255, 255));
    chart.setBackColorB(rgb(255, 255, 255));
    chart.setBackColorA(rgb(0, 192, 192));
    chart.setIndexedColor(chartview::IndexedWalls, rgb(180, 180, 180));
    chart.setIndexedColor(chartview::IndexedAxisLines, rgb(180, 180, 180));
}

void StartupChart::loadStartupChart(const QString &qelDir)
{
    chartview::ChartView &chart1 = m_form.chart1();
    if (chart1.ImportFile(chartview::FormatChartFile, qelDir + QStringLiteral("qelPro.chf")) != 0)
        chart1.ImportFile(chartview::FormatChartFile, qelDir + QStringLiteral("qelProMulti.CHF"));
    // Start-up reports no missing chart; the chart keeps what it held.
    chart1.clearError();
    chartview::ChartView &chart2 = m_form.chart2();
    chart2.setSeriesCaption(0, QStringLiteral("qel"));
    chart2.setPointCaption(0, QStringLiteral("No.1"));
    chart2.setPointCaption(1, QStringLiteral("漢字"));
    chart2.clearError(); // an empty Chart2 has no legend to set
}

void StartupChart::takeCounts()
{
    chartview::ChartView &chart = m_form.chart1();
    m_table.groupCount = chart.SeriesTotal();
    m_table.pointCount = qint16(std::clamp<qint32>(chart.PointTotal(), 0, 32767));
    m_form.setHasXValues(chart.HasXValues());
    const double depth = std::nearbyint(chartdoc::leadingNumber(m_form.depthText()));
    chart.setDepth3D(qint16(std::clamp(depth, 0.0, 999.0)));
}

} // namespace qel::shell
