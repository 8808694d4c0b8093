#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace qel::chartdoc {

class ChartDocument;
struct TableImage;
struct TableTitles;

// The predecessor's data files (".dfl" line, ".dfb" bar, ".dfd" disc, ".DFS" and the other
// ".df?"): comma- and line-separated fields, read into a table image.
class LegacyFileReader
{
public:
    explicit LegacyFileReader(ChartDocument &context);

    // Fills table and titles. Returns a result when the load ends here ("OLD-FILE", "NG-DATA",
    // or the empty text for a file that cannot be read); nothing when the common second half
    // of the table reader is to go on.
    std::optional<QString> read(QStringView text, TableImage &table, TableTitles &titles);

    static QString swapQuestion();
    // Unrecognised trailing lines read at most.
    static constexpr int MaxFreeLines = 100;

private:
    ChartDocument &m_context;
};

} // namespace qel::chartdoc
