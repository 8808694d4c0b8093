#include "chartdoc/ChartOptions.h"

#include "chartview/ChartView.h"
#include "os/PathParts.h"

#include <algorithm>

namespace qel::chartdoc {

namespace {

const QString KyOpt = QStringLiteral("{kyOpt}");
const QString Regr = QStringLiteral("{regr=");
const QString CommonX = QStringLiteral("{commonX}");

} // namespace

double leadingNumber(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i].isSpace())
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    qsizetype digits = 0;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    return text.mid(start, i - start).toDouble();
}

ParsedOptions parseOptions(const QString &rightTitle)
{
    ParsedOptions parsed;
    parsed.visibleText = rightTitle;
    parsed.commonX = rightTitle.contains(CommonX);
    QString after;
    if (!os::splitAtFirst(rightTitle, KyOpt, parsed.visibleText, after))
        return parsed;
    QString beforeRegr, number;
    if (os::splitAtFirst(after, Regr, beforeRegr, number))
        parsed.regression = leadingNumber(number);
    return parsed;
}

QString encodeOptions(int regression, bool commonX)
{
    // The marker leads whenever there is an option, so "{commonX}" is never shown as text.
    if (regression <= 0 && !commonX)
        return {};
    QString text = KyOpt;
    if (regression > 0)
        text += Regr + QString::number(regression) + QLatin1Char('}');
    if (commonX)
        text += CommonX;
    return text;
}

QString applyTopTitleRule(const QString &topTitle)
{
    // Only an empty band is widened: a title the user or the table gave is kept.
    const bool allBlank = std::all_of(topTitle.cbegin(), topTitle.cend(), [](QChar c) {
        return c == QLatin1Char(' ') || c == QChar(0x3000);
    });
    if (topTitle.size() >= 80 || !allBlank)
        return topTitle;
    return QString(110, QLatin1Char(' '));
}

std::optional<double> chartOptions(chartview::ChartView &chart, OptionsMode mode, int regression,
                                   bool &commonX)
{
    chart.setTitleCaption(2, applyTopTitleRule(chart.TitleCaption(2)));
    const ParsedOptions parsed = parseOptions(chart.TitleCaption(1));
    switch (mode) {
    case OptionsMode::Read:
        commonX = parsed.commonX;
        chart.setTitleCaption(1, parsed.visibleText);
        return parsed.regression;
    case OptionsMode::Write:
        chart.setTitleCaption(1, parsed.visibleText + encodeOptions(regression, commonX));
        return {};
    case OptionsMode::Strip:
        chart.setTitleCaption(1, parsed.visibleText);
        return {};
    case OptionsMode::TitleRule:
        return {};
    }
    return {};
}

} // namespace qel::chartdoc
