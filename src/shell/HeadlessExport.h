#pragma once

#include <QSize>
#include <QString>

namespace qel::chartview {
class ChartView;
}

namespace qel::shell {

// Renders a chart to a file without a window: the format follows the file's extension.
class HeadlessExport
{
public:
    // The ExportFile format for an output path, or 0 when the extension is not supported.
    static qint16 formatFor(const QString &path);

    // Exports the sample chart (or the chart file input) to output. Returns 0 on success;
    // otherwise error holds the text to print.
    static int run(const QString &output, const QSize &size, const QString &input, QString &error);

    static int exportChart(chartview::ChartView &chart, const QString &output, QString &error);
};

} // namespace qel::shell
