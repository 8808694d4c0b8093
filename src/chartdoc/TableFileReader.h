#pragma once

#include "chartdoc/TableTitles.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace qel::chartdoc {

class ChartDocument;
class TableText;
struct TableImage;

// Reads a table file (".Tbx") or, through LegacyFileReader, a legacy data file into the table
// image, then pushes it into the chart, rounds the axis scales and applies the chart type.
// The table image and the chart are replaced only by a load that succeeds.
class TableFileReader
{
public:
    explicit TableFileReader(ChartDocument &context);

    // Reader results (any other text, the empty one included, means the load stopped early).
    static QString resultOk() { return QStringLiteral("OK"); }
    static QString resultNgData() { return QStringLiteral("NG-DATA"); }
    static QString resultOldFile() { return QStringLiteral("OLD-FILE"); }

    // loadTable: ".tbx" (any case) is a table file, any other extension a legacy file.
    QString loadTable(const QString &path, const QString &extension);
    // The same on a file's bytes; unreadable tells whether some bytes could not be read in
    // any encoding (they come out as U+FFFD).
    QString loadBytes(QByteArray bytes, bool tableFile, bool *unreadable = nullptr);
    // The same on the file's decoded text.
    QString loadText(const QString &text, bool tableFile);

    // Pushes the table image into the chart, asking first when the hidden-data box is set.
    // Returns whether the table has points with a missing value (the box is then available).
    bool setChartData();

    static constexpr int MaxHeaderLines = 50;
    // The chart's largest grid; a file that declares more is refused before anything is sized.
    static constexpr qint64 MaxCells = 16'000'000;
    static constexpr qint64 MaxFileSize = qint64(128) * 1024 * 1024;
    // A table sized far beyond the cells its file holds is refused as too large: it would be
    // almost all empty, and only a damaged or made-up file looks like that.
    static bool fitsItsFile(qint64 tableCells, qint64 fileCells)
    {
        return tableCells <= MaxCells && tableCells <= 16 * fileCells + 65536;
    }

    static QString formatErrorText() { return QStringLiteral("書式またはタブ区切りエラーです。"); }
    static QString tbxLoadErrorText() { return QStringLiteral("Tbx load error"); }
    static QString tooLargeText(qint64 cells);

    // The shared second half: scan, checks, titles, chart data, scales, chart type, legend.
    QString finishLoad(TableImage &&table, const TableTitles &titles,
                       const std::optional<QString> &fileLegend, bool tableFile);

private:
    QString readTable(TableText &lines);
    QString stop(const QString &result = QString());
    void applyAxisScales(float xMin, float xMax, float yMin, float yMax, bool mosaic);
    void applyChartType(int chartType);

    ChartDocument &m_context;
};

} // namespace qel::chartdoc
