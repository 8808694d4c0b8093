#include "chartdoc/FileDialogKinds.h"

#include <QRegularExpression>

namespace qel::chartdoc {

namespace {

bool looksLikePatterns(const QString &text)
{
    return !text.isEmpty() && !text.contains(QLatin1Char(' ')) &&
           (text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?')));
}

QStringList bothCases(const QString &patterns)
{
    QStringList out;
    for (const QString &p :
         patterns.split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts)) {
        for (const QString &variant : {p, p.toLower(), p.toUpper()}) {
            if (!out.contains(variant))
                out << variant;
        }
    }
    return out;
}

} // namespace

QStringList FileDialogKinds::translateFilter(const QString &windowsFilter)
{
    static const QRegularExpression inParentheses(QStringLiteral("\\(([^)]*)\\)"));
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString description = parts[i];
        if (description.trimmed().isEmpty())
            continue;
        QString patterns;
        if (i + 1 < parts.size() && looksLikePatterns(parts[i + 1].trimmed())) {
            patterns = parts[i + 1].trimmed();
            ++i;
        } else if (const auto m = inParentheses.match(description); m.hasMatch()) {
            patterns = m.captured(1);
        } else {
            continue;
        }
        QString label = description;
        label.remove(inParentheses);
        filters << label.trimmed() + QStringLiteral("    (") +
                       bothCases(patterns).join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

os::FileDialogRequest FileDialogKinds::request(const QString &kind, const Context &context,
                                               const QString &pattern)
{
    using Mode = os::FileDialogRequest::Mode;
    os::FileDialogRequest r;
    const QString savedName =
        context.lastChartBaseName.isEmpty()
            ? context.lastChartDirectory + QStringLiteral("*.CHF")
            : context.lastChartDirectory + context.lastChartBaseName + QStringLiteral(".CHF");
    if (kind == QStringLiteral("loadqel")) {
        r.mode = Mode::OpenMany;
        r.title = QStringLiteral("QEL Import Chart & Multi Slide");
        // Everything the program opens comes first, so no kind of file is hidden at the start.
        r.filters = translateFilter(QStringLiteral(
            "qelPro のすべてのファイル (*.CHF;*.Tbx;*.df?;*.Sld;*.jpg;*.jpeg;*.png;*.bmp;"
            "*.gif)|*.CHF;*.Tbx;*.df?;*.Sld;*.jpg;*.jpeg;*.png;*.bmp;*.gif|"
            "qel Slide    (*.CHF;*.jpg;*.Sld)|*.CHF;*.jpg;*.Sld|qel File     "
            "(*.CHF;*.Tbx;*.Sld;*.df?)|"
            "*.CHF;*.Tbx;*.Sld;*.df?|tbx File     (*.Tbx)|*.Tbx|qelDf File  "
            "(*.df?)|*.df?|画像         (*.jpg;*.jpeg;*.png;*.bmp;*.gif)|"
            "*.jpg;*.jpeg;*.png;*.bmp;*.gif|all            (*.*)|*.*"));
        // The dialogue starts in the current file's folder; its name box stays empty, so
        // pressing Open never opens a file the user did not choose.
        const qsizetype slash = context.currentFile.lastIndexOf(QLatin1Char('/'));
        r.proposedPath =
            slash < 0 ? QString() : context.currentFile.left(slash + 1) + QStringLiteral("*");
    } else if (kind == QStringLiteral("loadqel2")) {
        r.title = QStringLiteral("QEL Import Chart");
        r.filters = translateFilter(QStringLiteral("qel       (*.CHF)|すべてのﾌｧｲﾙ  (*.*)|*.*"));
        r.proposedPath = context.lastChartDirectory + QStringLiteral("*.CHF");
    } else if (kind == QStringLiteral("saveqel")) {
        r.mode = Mode::Save;
        r.title = QStringLiteral("QEL Export Chart");
        r.filters =
            translateFilter(QStringLiteral("qel File (*.CHF)|*.CHF|bmp File (*.BMP)|*.BMP|"));
        r.proposedPath = savedName;
    } else if (kind == QStringLiteral("saveqel2")) {
        r.mode = Mode::Save;
        r.title = QStringLiteral("QEL Export Chart");
        r.filters = translateFilter(QStringLiteral("qel (*.CHF)|*.CHF|"));
        r.proposedPath = savedName;
    } else {
        r.title = QStringLiteral("QEL Import Chart");
        r.filters = translateFilter(QStringLiteral("qel File (") + pattern + QStringLiteral(")|") +
                                    pattern + QStringLiteral("|すべてのﾌｧｲﾙ (*.*)|*.*"));
    }
    return r;
}

} // namespace qel::chartdoc
