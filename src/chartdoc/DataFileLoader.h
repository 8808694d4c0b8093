#pragma once

#include <QString>

#include <optional>

namespace qel::chartdoc {

class TableLoadContext;

// The loads of the open command that end in the working chart: table and legacy files
// (loadTableFile, with its messages) and chart files. The window and the command line share it.
class DataFileLoader
{
public:
    explicit DataFileLoader(TableLoadContext &context);

    // loadTableFile: runs the reader, reports a result other than "OK", applies the title
    // boxes, sets the regression data fields and the marker styles. Returns the result.
    QString loadTableFile(const QString &path, const QString &extension);

    // Imports a chart file into the chart and reads its options (the regression number and
    // common X); the table image then mirrors the chart. On failure shows "chrs" & the error
    // number & "読み込みできませんでした。dir: " & the path and the reason, and returns false.
    bool loadChartFile(const QString &path);

    // The regression option read from the last chart file (0 when none).
    int regressionOption() const { return m_regression; }

    static QString messageFor(const QString &result);

private:
    TableLoadContext &m_context;
    int m_regression = 0;
};

} // namespace qel::chartdoc
