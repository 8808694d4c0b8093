#include "chartdoc/DataFileLoader.h"

#include "chartdoc/ChartOptions.h"
#include "chartdoc/TableFileReader.h"
#include "chartdoc/TableImage.h"
#include "chartdoc/TableLoadContext.h"
#include "chartview/ChartView.h"
#include "os/UserDialogs.h"
#include "settings/Form2State.h"
#include "settings/LegendFile.h"

#include <cmath>

namespace qel::chartdoc {

using namespace chartview;

DataFileLoader::DataFileLoader(TableLoadContext &context)
    : m_context(context)
{}

QString DataFileLoader::messageFor(const QString &result)
{
    if (result == TableFileReader::resultNgData())
        return QStringLiteral("Abnormal/No data.");
    if (result == TableFileReader::resultOldFile())
        return QStringLiteral("Not or old Qel file.");
    return QStringLiteral("Loading file error.");
}

QString DataFileLoader::loadTableFile(const QString &path, const QString &extension)
{
    settings::Form2State &form2 = m_context.form2();
    const QString one = QStringLiteral("1");
    if (path.isEmpty()) {
        form2.setDataFields(one, one, one, one);
        return QString();
    }
    ChartView &chart = m_context.chart();
    TableFileReader reader(m_context);
    const QString result = reader.loadTable(path, extension);
    const bool ok = result == TableFileReader::resultOk();
    if (!ok)
        m_context.dialogs().inform(messageFor(result), os::MessageIcon::Exclamation);
    // A failed load leaves the chart as it was, titles and markers included.
    if (ok)
        m_context.form2().applyTitleBoxes(chart);
    form2.setDataFields(one, QString::number(chart.SeriesTotal()), one,
                        QString::number(chart.PointTotal()));
    if (ok) {
        static constexpr qint16 Markers[3] = {2, 1, 3};
        for (int s = 0; s < chart.SeriesTotal(); ++s)
            chart.setMarkerStyle(qint16(s), Markers[s % 3]);
    }
    return result;
}

bool DataFileLoader::loadChartFile(const QString &path)
{
    ChartView &chart = m_context.chart();
    const qint32 error = chart.ImportFile(FormatChartFile, path);
    if (error != 0) {
        QString text = QStringLiteral("chrs") + QString::number(error) +
                       QStringLiteral("読み込みできませんでした。dir: ") + path;
        if (!chart.ImportError().isEmpty())
            text += QStringLiteral("\r\n") + chart.ImportError();
        m_context.dialogs().inform(text);
        return false;
    }
    bool commonX = false;
    const std::optional<double> regression = chartOptions(chart, OptionsMode::Read, 0, commonX);
    m_regression = regression && std::isfinite(*regression) && std::abs(*regression) < 32768
                       ? int(*regression)
                       : 0;
    const QString one = QStringLiteral("1");
    m_context.form2().setDataFields(one, QString::number(chart.SeriesTotal()), one,
                                    QString::number(chart.PointTotal()));

    // The table image follows the chart, so its counts always match its arrays.
    const ChartModel &m = chart.model();
    TableImage &table = m_context.table();
    const qint16 groups = qint16(std::clamp(m.seriesCount, 0, 32767));
    const qint16 points = qint16(std::clamp(m.pointCount, 0, 32767));
    table.dimension(groups, points);
    table.commonX = commonX;
    for (int g = 1; g <= groups; ++g) {
        table.groupLegend[g] = m.seriesCaptions.value(g - 1);
        for (int p = 1; p <= points; ++p) {
            const double y = m.value(g - 1, p - 1);
            if (isEmptyPoint(y) || !std::isfinite(y))
                continue;
            table.setX(g, p, float(m.xValue(g - 1, p - 1)));
            table.setY(g, p, float(y));
        }
    }
    for (int p = 1; p <= points; ++p)
        table.pointLegend[p] = m.pointCaptions.value(p - 1);

    QString legend = m_context.legendText();
    settings::LegendFile::save1Load2AppendLegendFile(2, path, legend);
    m_context.setLegendText(legend);
    return true;
}

} // namespace qel::chartdoc
