#include "shell/HeadlessExport.h"

#include "chartdoc/SampleChart.h"
#include "chartview/ChartControl.h"
#include "os/PathParts.h"

#include <QFileInfo>

namespace qel::shell {

using namespace chartview;

qint16 HeadlessExport::formatFor(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("png"))
        return FormatPng;
    if (suffix == QStringLiteral("bmp"))
        return FormatBitmap;
    if (suffix == QStringLiteral("jpg") || suffix == QStringLiteral("jpeg"))
        return FormatJpeg;
    if (suffix == QStringLiteral("svg"))
        return FormatSvg;
    if (suffix == QStringLiteral("pdf"))
        return FormatPdf;
    if (suffix == QStringLiteral("chf"))
        return FormatChartFile;
    return 0;
}

int HeadlessExport::exportChart(ChartView &chart, const QString &output, QString &error)
{
    const qint16 format = formatFor(output);
    if (format == 0) {
        error =
            QStringLiteral("%1: 出力形式が分かりません (png, bmp, jpg, svg, pdf, chf)").arg(output);
        return 2;
    }
    if (chart.ExportFile(format, output) != 0) {
        error = QStringLiteral("%1: 記録できませんでした。").arg(output);
        return 1;
    }
    return 0;
}

int HeadlessExport::run(const QString &output, const QSize &size, const QString &input,
                        QString &error)
{
    ChartControl chart1, chart2;
    chart1.setViewSize(size);
    if (input.isEmpty()) {
        chartdoc::buildSampleChart(chart1, chart2);
    } else if (os::PathParts::of(input).lowerExtension() == QStringLiteral(".chf")) {
        if (chart1.ImportFile(FormatChartFile, input) != 0) {
            error = chart1.ImportError();
            return 1;
        }
    } else {
        error = QStringLiteral("%1: この種類のファイルはまだ書き出せません").arg(input);
        return 2;
    }
    return exportChart(chart1, output, error);
}

} // namespace qel::shell
