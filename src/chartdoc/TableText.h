#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace qel::os {
class TextLines;
}

namespace qel::chartdoc {

// Line and cell access to a table file without copying it: to its decoded text, or to its
// bytes, decoded a line at a time.
class TableText
{
public:
    explicit TableText(QStringView text)
        : m_text(text)
    {}
    explicit TableText(os::TextLines &lines)
        : m_lines(&lines)
    {}

    // The next line without its end (CR LF, LF or CR); false at the end of the text. Read from
    // bytes, the line holds until the next call.
    bool nextLine(QStringView &line);
    // Gives up what is left of the file's bytes, once nothing more is to be read.
    void release();
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
    os::TextLines *m_lines = nullptr;
};

} // namespace qel::chartdoc
