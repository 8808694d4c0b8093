#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace qel::chartdoc {

// Line and cell access to a decoded table file without copying it.
class TableText
{
public:
    explicit TableText(QStringView text)
        : m_text(text)
    {}

    // The next line without its end (CR LF, LF or CR); false at the end of the text.
    bool nextLine(QStringView &line);
    // Lines from the current position on.
    qsizetype remainingLines() const;
    // The same, with the most cells any of those lines has and the cells of all of them.
    qsizetype remainingLines(qsizetype *widestLine, qsizetype *cellCount = nullptr) const;

    // The cells of a line: the texts between tabs.
    static void splitCells(QStringView line, std::vector<QStringView> &cells);
    // The key of a line (text before the first tab) and its value (up to the next tab,
    // blanks around it removed).
    static QStringView key(QStringView line);
    static QStringView value(QStringView line);
    // Text with the blanks (U+0020) on both sides, or on the left, removed, as VB's Trim/LTrim.
    static QStringView trimBlanks(QStringView text);
    static QStringView trimLeftBlanks(QStringView text);

    // A spreadsheet may save a cell in double quotes ("a ""b"""): the text inside them.
    static QStringView unquoted(QStringView cell);
    static QString cellText(QStringView cell);
    // Whether a line starts with a mark such as "{Begin}", quoted or not.
    static bool startsWithMark(QStringView line, QStringView mark);

    // The tolerant parse of a cell (os::parseSingle), without a copy for plain ASCII cells.
    static float parseCell(QStringView cell, bool *isNumber);

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

} // namespace qel::chartdoc
