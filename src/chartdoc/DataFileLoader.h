#pragma once

#include "os/Result.h"

#include <QString>

namespace qel::chartdoc {

class ChartDocument;

// What opening a file does with it, by its extension (compared without regard to case, from
// the first dot of the file name on).
enum class FileKind {
    Chart,       // ".chf": a chart file into the working chart
    Table,       // ".tbx"
    Legacy,      // ".dfl", ".dfb", ".dfd" and any other extension: the legacy readers
    Picture,     // ".jpg", ".png" and every kind Qt reads: shown in the picture viewer
    SlideScript, // ".sld": played as a slide show
};

// What a load came to: success or the message to show, and what kind of file it was.
struct LoadResult : os::Result
{
    FileKind kind = FileKind::Legacy;
    QString extension; // lower case, from the first dot
};

// The one routine that opens chart, table and legacy files into the document. The main
// window, the recent list, the command line and the slide show all load through it, so a file
// reads the same whichever way it was opened. It shows the readers' own questions and notices
// through the document's dialogues; the result's message is for the caller to show.
class DataFileLoader
{
public:
    explicit DataFileLoader(ChartDocument &document);

    static FileKind kindOf(const QString &path);
    // A picture for the picture viewer: its last extension names a kind of picture Qt reads.
    static bool isPicture(const QString &path);

    // Loads path as its kind says. Pictures and slide scripts are not loaded here: they come
    // back as a success of their kind for the caller to show or play. On success the file is
    // the document's current file, its legend is read and its history starts afresh; on
    // failure the document is left as it was.
    LoadResult open(const QString &path);

    // loadTableFile: runs the reader; on "OK" applies the title boxes, sets the regression
    // data fields and the marker styles. Returns the reader's result text (empty when the
    // file could not be read).
    QString loadTableFile(const QString &path, const QString &extension);

    // Imports a chart file into the chart and reads its options (the regression number and
    // common X); the table image then mirrors the chart.
    os::Result loadChartFile(const QString &path);

    // Reads the table at path again into the chart after it was edited outside: values,
    // captions and titles follow the table, the chart keeps its look (type, colours, markers,
    // fonts, options). A table that does not load leaves the chart and the table image as
    // they were and answers why, with the file's name.
    os::Result reloadTable(const QString &path);

    // The designed message for a reader result other than "OK".
    static QString messageFor(const QString &result);
    // "chrs" & the error number & "読み込みできませんでした。dir: " & the path.
    static QString importFailedText(qint32 error, const QString &path);
    // Files larger than this are no table or legacy files; they are refused unread.
    static constexpr qint64 MaxTableFileSize = qint64(128) * 1024 * 1024;

private:
    LoadResult openTable(const QString &path, LoadResult result);
    QString loadTableText(const QString &text, const QString &extension);
    void readLegend(const QString &path, bool clearWithoutFile);

    ChartDocument &m_document;
};

} // namespace qel::chartdoc
