#pragma once

#include <QByteArray>
#include <QString>

namespace qel::chartview {
class ChartView;
}

namespace qel::chartdoc {

struct TableImage;
class ChartDocument;

// A JSON picture of a loaded chart for scripts and tests: counts, type, titles, captions,
// the values of each series (null for a hidden point), the axes as the chart holds them, the
// options, the file legend and, after a table or legacy load, the table image's fields.
class ChartDump
{
public:
    struct Options
    {
        int regression = 0;
        bool commonX = false;
        QString legend;                    // line breaks as the legend box holds them
        const TableImage *table = nullptr; // left out when null
    };

    static QByteArray toJson(const chartview::ChartView &chart, const Options &options);
    // The document's chart with its options, legend and table image.
    static QByteArray toJson(const ChartDocument &document);
};

} // namespace qel::chartdoc
