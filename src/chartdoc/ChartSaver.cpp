#include "chartdoc/ChartSaver.h"

#include "chartdoc/ChartDocument.h"
#include "chartdoc/ChartOptions.h"
#include "chartview/ChartView.h"
#include "settings/LegendFile.h"

namespace qel::chartdoc {

os::Result ChartSaver::save(ChartDocument &document, const QString &path)
{
    chartview::ChartView &chart = document.chart();
    bool commonX = document.table().commonX;
    chartOptions(chart, OptionsMode::Write, document.regressionOption(), commonX);
    const qint32 error = chart.ExportFile(chartview::FormatChartFile, path);
    chartOptions(chart, OptionsMode::Strip, 0, commonX);
    if (error != 0) {
        const QString reason = chart.ExportError();
        chart.clearError(); // told here, not again by the error trap
        return os::Result::failure(reason.isEmpty() ? saveFailedText()
                                                    : saveFailedText() + QLatin1Char('\n') + reason,
                                   error);
    }
    QString legend = document.legendText();
    const os::Result legendSaved =
        settings::LegendFile::save1Load2AppendLegendFile(1, path, legend);
    if (!legendSaved)
        return os::Result::failure(saveFailedText() + QLatin1Char('\n') + legendSaved.message);
    return os::Result::success();
}

} // namespace qel::chartdoc
