#include "chartdoc/TableText.h"

#include "os/TextLines.h"
#include "os/Useful.h"

#include <algorithm>
#include <cmath>

namespace qel::chartdoc {

bool TableText::nextLine(QStringView &line)
{
    if (m_lines)
        return m_lines->nextLine(line);
    const qsizetype n = m_text.size();
    if (m_pos >= n)
        return false;
    const QChar *data = m_text.data();
    qsizetype i = m_pos;
    while (i < n && data[i] != u'\r' && data[i] != u'\n')
        ++i;
    line = m_text.mid(m_pos, i - m_pos);
    if (i < n && data[i] == u'\r') {
        ++i;
        if (i < n && data[i] == u'\n')
            ++i;
    } else if (i < n) {
        ++i;
    }
    m_pos = i;
    return true;
}

qsizetype TableText::remainingLines() const
{
    return remainingLines(nullptr);
}

namespace {

// Lines, the most cells of a line and all cells, counted over text or over its bytes: tabs and
// line ends stand at the same places in both.
template <typename Char>
qsizetype countLines(const Char *data, qsizetype n, qsizetype *widestLine, qsizetype *cellCount)
{
    qsizetype lines = 0, widest = 0, cells = 1, tabs = 0;
    bool open = false;
    for (qsizetype i = 0; i < n; ++i) {
        const Char c = data[i];
        if (c == Char('\t')) {
            ++cells;
            ++tabs;
            open = true;
        } else if (c == Char('\r') || c == Char('\n')) {
            ++lines;
            open = false;
            widest = std::max(widest, cells);
            cells = 1;
            if (c == Char('\r') && i + 1 < n && data[i + 1] == Char('\n'))
                ++i;
        } else {
            open = true;
        }
    }
    if (widestLine)
        *widestLine = std::max(widest, cells);
    const qsizetype total = lines + (open ? 1 : 0);
    if (cellCount)
        *cellCount = total + tabs;
    return total;
}

} // namespace

qsizetype TableText::remainingLines(qsizetype *widestLine, qsizetype *cellCount) const
{
    if (m_lines) {
        const QByteArrayView rest = m_lines->rest();
        return countLines(rest.data(), rest.size(), widestLine, cellCount);
    }
    const QStringView rest = m_text.mid(std::min(m_pos, m_text.size()));
    return countLines(rest.utf16(), rest.size(), widestLine, cellCount);
}

void TableText::release()
{
    if (m_lines)
        m_lines->release();
}

void TableText::splitCells(QStringView line, std::vector<QStringView> &cells)
{
    cells.clear();
    qsizetype start = 0;
    const qsizetype n = line.size();
    const QChar *data = line.data();
    for (qsizetype i = 0; i < n; ++i) {
        if (data[i] == u'\t') {
            cells.push_back(line.mid(start, i - start));
            start = i + 1;
        }
    }
    cells.push_back(line.mid(start));
}

QStringView TableText::key(QStringView line)
{
    const qsizetype tab = line.indexOf(u'\t');
    return unquoted(tab < 0 ? line : line.left(tab));
}

QStringView TableText::value(QStringView line)
{
    const qsizetype tab = line.indexOf(u'\t');
    if (tab < 0)
        return {};
    QStringView rest = line.mid(tab + 1);
    const qsizetype next = rest.indexOf(u'\t');
    if (next >= 0)
        rest = rest.left(next);
    return trimBlanks(rest);
}

QStringView TableText::unquoted(QStringView cell)
{
    if (cell.size() >= 2 && cell.front() == u'"' && cell.back() == u'"')
        return cell.mid(1, cell.size() - 2);
    return cell;
}

QString TableText::cellText(QStringView cell)
{
    const bool quoted = cell.size() >= 2 && cell.front() == u'"' && cell.back() == u'"';
    QString text = unquoted(cell).toString();
    if (quoted)
        text.replace(QStringLiteral("\"\""), QStringLiteral("\""));
    return text;
}

bool TableText::startsWithMark(QStringView line, QStringView mark)
{
    return line.startsWith(mark) || (line.startsWith(u'"') && line.mid(1).startsWith(mark));
}

QStringView TableText::trimLeftBlanks(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    return text.mid(i);
}

QStringView TableText::trimBlanks(QStringView text)
{
    text = trimLeftBlanks(text);
    qsizetype n = text.size();
    while (n > 0 && text[n - 1] == u' ')
        --n;
    return text.left(n);
}

namespace {

bool isAsciiSpace(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

} // namespace

float TableText::parseCell(QStringView cell, bool *isNumber)
{
    cell = unquoted(cell);
    // Cells are short; longer or non-ASCII ones take the full parse.
    constexpr qsizetype Short = 64;
    qsizetype begin = 0;
    qsizetype end = cell.size();
    const char16_t *data = cell.utf16();
    while (begin < end && isAsciiSpace(data[begin]))
        ++begin;
    while (end > begin && isAsciiSpace(data[end - 1]))
        --end;
    const qsizetype n = end - begin;
    bool ascii = n <= Short;
    char buf[Short];
    for (qsizetype i = 0; ascii && i < n; ++i) {
        const char16_t c = data[begin + i];
        if (c >= 0x80 || isAsciiSpace(c))
            ascii = false;
        else
            buf[i] = char(c);
    }
    if (!ascii)
        return os::parseSingle(cell.toString(), isNumber);

    return os::parseAsciiSingle(buf, std::size_t(n), isNumber);
}

} // namespace qel::chartdoc
