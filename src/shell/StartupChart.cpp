#include "shell/StartupChart.h"

#include "chartdoc/ChartOptions.h"
#include "chartdoc/SampleChart.h"
#include "chartdoc/TableImage.h"
#include "chartview/ChartView.h"
#include "chartview/render/ChartFile.h"
#include "os/AccessLog.h"
#include "shell/MainForm.h"
#include "shell/ShippedFiles.h"

#include <QFile>

#include <algorithm>
#include <cmath>

namespace qel::shell {

using chartview::rgb;

StartupChart::StartupChart(MainForm &form, chartdoc::TableImage &table)
    : m_form(form)
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
    applyDefaults(m_form.chart1(), m_form.chart2());
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
        loadStartupChart(m_form.chart1(), m_form.chart2(), qelDir);
    takeCounts();
}

void StartupChart::applyDefaults(chartview::ChartView &chart1, chartview::ChartView &chart2)
{
    for (chartview::ChartView *chart : {&chart1, &chart2}) {
        chart->setLayoutBits(272);
        chart->setPrintBits(16);
    }
    // The designed vertical gradient, yellow to cyan.
    chart1.setBackgroundGradient(
        {true, chartview::GradientVertical, rgb(255, 255, 128), rgb(0, 255, 255)});
    chart1.setBackColorC(rgb(255, 255, 255));
    chart1.setBackColorB(rgb(255, 255, 255));
    chart1.setBackColorA(rgb(0, 192, 192));
    chart1.setIndexedColor(chartview::IndexedWalls, rgb(180, 180, 180));
    chart1.setIndexedColor(chartview::IndexedAxisLines, rgb(180, 180, 180));
}

namespace {

// The built-in copy stands in when the program folder has no readable start-up chart.
bool importBuiltIn(chartview::ChartView &chart, const QString &name)
{
    QFile file(ShippedFiles::builtIn(name));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    chartview::ChartModel model;
    model.backgroundGradient = chart.backgroundGradient();
    if (!chartview::ChartFile::fromJson(file.readAll(), model, name).ok())
        return false;
    chart.setModel(model);
    return true;
}

} // namespace

void StartupChart::loadStartupChart(chartview::ChartView &chart1, chartview::ChartView &chart2,
                                    const QString &qelDir)
{
    if (chart1.ImportFile(chartview::FormatChartFile, qelDir + QStringLiteral("qelPro.chf")) != 0 &&
        chart1.ImportFile(chartview::FormatChartFile, qelDir + QStringLiteral("qelProMulti.CHF")) !=
            0)
        importBuiltIn(chart1, QStringLiteral("qelPro.chf"));
    // Start-up reports no missing chart; the chart keeps what it held.
    chart1.clearError();
    chart2.setSeriesCaption(0, QStringLiteral("qel"));
    chart2.setPointCaption(0, QStringLiteral("No.1"));
    chart2.setPointCaption(1, QStringLiteral("漢字"));
    chart2.clearError(); // an empty Chart2 has no legend to set
}

void StartupChart::prepareStartupChart(chartview::ChartView &chart1, chartview::ChartView &chart2,
                                       const QString &qelDir)
{
    applyDefaults(chart1, chart2);
    loadStartupChart(chart1, chart2, qelDir);
    chart1.setPointGap(0);
    chart1.setDepth3D(qint16(initialDepthText().toInt()));
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
