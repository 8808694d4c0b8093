#pragma once

#include "os/Result.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

namespace qel::slides {

// One row of the slide table: the file entry as written (".CHF" or ".JPG" appended) and the
// narration collected for it.
struct SlideRow
{
    QString file;
    QString narration;
};

// slideTable: row 0 keeps the narration written before the first file entry and is never
// shown; rows 1..count are the slides in script order.
struct SlideTable
{
    static constexpr int maxSlides = 500;

    std::vector<SlideRow> rows{SlideRow{}};
    // File entries after the 500th: counted, never stored.
    int ignoredEntries = 0;

    int count() const { return int(rows.size()) - 1; }
};

// A slide script (".Sld") and the scripts the program writes for a multiple selection.
class SlideScript
{
public:
    // Classifies every line as file entry, text entry, continuation or comment.
    static SlideTable parse(const QString &text);

    // Reads path (CP932 or UTF-8) and parses it. A file that cannot be read leaves table
    // empty and answers the reason with the file's name.
    static os::Result read(const QString &path, SlideTable &table);

    // The full path of a file entry: name is relative to folder, "\" counts as a separator,
    // and each part missing under its exact name is looked up without regard to case (the
    // stored names end in ".CHF" while files on disk are often "….chf"). Absolute names are
    // taken as they are. Names that cannot be found come back joined as written.
    static QString resolve(const QString &folder, const QString &name);

    // The notice for file entries beyond the 500th; empty when there were none.
    static QString overflowNotice(const SlideTable &table);

    // The generated script of a selection: header line, then two lines per shown slide.
    static QString headerLine(const QString &folder, const QDateTime &when);
    static QString entryLines(int slideNumber, const QString &file, const QString &description);
    // "MM-dd-yyyy(hhmmss).Sld": the name proposed for a generated script.
    static QString proposedFileName(const QDateTime &when);

    // A selection list (folder on the first line, then one name per line): the names that
    // can be slides, in order. Names with a path in them are left out.
    static QStringList playList(const QString &selection, QString *folder = nullptr);

    // {"count": N, "rows": [{"file": …, "narration": …}, …]} with row 0 included.
    static QByteArray toJson(const SlideTable &table);
};

} // namespace qel::slides
