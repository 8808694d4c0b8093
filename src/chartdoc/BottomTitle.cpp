#include "chartdoc/BottomTitle.h"

#include "os/PathParts.h"

namespace qel::chartdoc {

namespace {

const QString CrLf = QStringLiteral("\r\n");

} // namespace

QString composeBottomTitle(const QString &xLegend, const QString &figureTitle)
{
    return xLegend + CrLf + CrLf + figureTitle;
}

void splitBottomTitle(const QString &text, QString &first, QString &rest)
{
    QString s = CrLf + text;
    QString a, b;
    bool found = false;
    do { // skip leading empty lines
        found = os::splitAtFirst(s, CrLf, a, b);
        s = b;
    } while (found && a.isEmpty());

    if (found) {
        // The blank line that separates the X legend from the figure title is no text.
        while (b.startsWith(CrLf))
            b.remove(0, CrLf.size());
    }
    a.replace(CrLf, QStringLiteral(" "));
    b.replace(CrLf, QStringLiteral(" "));
    rest = a + QLatin1Char(' ') + b;
    // The length test counts bytes of the two-byte characters the title was measured in.
    if (found && ((!a.isEmpty() && !b.isEmpty()) || rest.size() * 2 < 26)) {
        first = a;
        rest = b;
    }
}

BottomTitleParts decomposeBottomTitle(const QString &text)
{
    const QString separator = CrLf + CrLf;
    const qsizetype at = text.indexOf(separator);
    BottomTitleParts parts;
    if (at < 0) {
        parts.figureTitle = text;
    } else {
        parts.xLegend = text.left(at);
        parts.figureTitle = text.mid(at + separator.size());
    }
    parts.xLegend.replace(CrLf, QStringLiteral(" "));
    parts.figureTitle.replace(CrLf, QStringLiteral(" "));
    return parts;
}

} // namespace qel::chartdoc
