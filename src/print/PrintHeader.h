#pragma once

#include <QDateTime>
#include <QString>

namespace qel::print {

class PrinterPage;

// The header line every printed page starts with: date, time, program version, our credit line
// and the printer's name.
class PrintHeader
{
public:
    static QString credit()
    {
        return QStringLiteral(" qelPro  simple tool to create high grade presentation graph.  ");
    }

    // " <date> <time> <version><credit><printer>"
    static QString line(const QDateTime &when, const QString &version, const QString &printer);

    // The header's Mincho: "ＭＳ Ｐ明朝", then "ＦＡ 明朝", then "ＭＳ 明朝", each taken when the
    // page has a font for it, so the last available of the three stays. Then size and bold.
    static void selectFont(PrinterPage &page, double points, bool bold);
};

} // namespace qel::print
