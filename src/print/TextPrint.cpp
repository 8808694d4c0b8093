#include "print/TextPrint.h"

#include "print/PrinterPage.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace qel::print {

QString TextPrint::indent(const PrinterPage &page)
{
    const double space = page.textWidth(QStringLiteral(" "));
    if (!(space > 0))
        return QString();
    const long count = std::lround(IndentTwips / space);
    return QString(int(std::clamp(count, 0L, 1000L)), QLatin1Char(' '));
}

QStringList TextPrint::pieces(const QString &line, bool followed)
{
    QStringList out;
    qsizetype start = 0;
    while (start < line.size()) {
        const qsizetype space = line.indexOf(QLatin1Char(' '), start);
        const qsizetype end = space < 0 ? line.size() : space + 1;
        const QString word = line.mid(start, end - start);
        // The first space's position in the text that remains, 1-based. A line break that
        // follows puts the indent's space two characters (CR LF) after the word.
        qsizetype firstSpace = 0;
        if (space >= 0)
            firstSpace = space - start + 1;
        else if (followed)
            firstSpace = word.size() + 3;
        if (firstSpace == 0 || firstSpace >= LongWord) {
            for (qsizetype i = 0; i < word.size(); ++i) {
                // A character outside the BMP is fed whole, never half a surrogate pair.
                const qsizetype n = word.at(i).isHighSurrogate() && i + 1 < word.size() ? 2 : 1;
                out.append(word.mid(i, n));
                i += n - 1;
            }
        } else {
            out.append(word);
        }
        start = end;
    }
    return out;
}

void TextPrint::print(PrinterPage &page, const QString &text)
{
    if (text == QStringLiteral("FF")) {
        page.newPage();
        return;
    }
    const QString lead = indent(page);
    const double limit = page.metrics().width - RightAllowance;
    static const QRegularExpression breaks(QStringLiteral("\r\n|\n|\r"));
    const QStringList lines = text.split(breaks);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString current;
        for (const QString &piece : pieces(lines.at(i), i + 1 < lines.size())) {
            if (!current.isEmpty() && page.currentX() + page.textWidth(current + piece) > limit) {
                page.print(lead + current);
                current.clear();
            }
            current += piece;
        }
        page.print(lead + current);
    }
}

} // namespace qel::print
