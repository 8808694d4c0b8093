#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace qel::chartdoc {

class ChartDocument;

// Writes the working chart as a table file for the spreadsheet (writeTableFile). Everything
// comes from the chart, so a chart file converts as well as a table; the table image gives
// only the creation text, version, type option and the common-X layout.
class TableFileWriter
{
public:
    explicit TableFileWriter(ChartDocument &context);

    // writeTableFile(mode): the companion table of currentFile. Nothing without a table
    // editor or for a current file that is itself a table; mode 0 never replaces a file,
    // other modes ask first. Returns whether the file was written.
    bool writeTableFile(int mode, const QString &currentFile, const QString &tableEditorPath);

    // Writes to path without asking; a failure is reported. Returns whether it was written.
    bool write(const QString &path);

    // The file's lines, without their CR LF ends.
    QStringList lines(const QDateTime &now) const;

    // The companion table of a file: its folder, its base name and ".Tbx".
    static QString tablePath(const QString &file);
    static QStringList banner();
    // A header number: " 3 " or "-3 ".
    static QString headerNumber(int v);

private:
    ChartDocument &m_context;
};

} // namespace qel::chartdoc
