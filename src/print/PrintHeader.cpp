#include "print/PrintHeader.h"

#include "print/PrinterPage.h"

namespace qel::print {

QString PrintHeader::line(const QDateTime &when, const QString &version, const QString &printer)
{
    return QLatin1Char(' ') + when.toString(QStringLiteral("yyyy/MM/dd")) + QLatin1Char(' ') +
           when.toString(QStringLiteral("HH:mm:ss")) + QLatin1Char(' ') + version + credit() +
           printer;
}

void PrintHeader::selectFont(PrinterPage &page, double points, bool bold)
{
    for (const QString &name :
         {QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("ＦＡ 明朝"), QStringLiteral("ＭＳ 明朝")})
        page.setFontName(name);
    page.setFontSize(points);
    page.setFontBold(bold);
}

} // namespace qel::print
