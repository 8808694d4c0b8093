#pragma once

#include <QString>

#include <optional>

namespace qel::chartview {
class ChartView;
}

namespace qel::chartdoc {

// Options that travel inside the chart's right title after the marker "{kyOpt}":
// "{regr=N}" (the chosen regression curve) and "{commonX}".
struct ParsedOptions
{
    QString visibleText;
    std::optional<double> regression;
    bool commonX = false;
};

// Reads the option text; the visible title is everything before the first "{kyOpt}".
ParsedOptions parseOptions(const QString &rightTitle);

// The option text for a right title: "{kyOpt}{regr=N}" when N > 0, then "{commonX}".
QString encodeOptions(int regression, bool commonX);

// An empty top title (nothing but blanks and ideographic spaces, under 80 characters)
// becomes 110 blanks, so the chart keeps an empty title band of fixed width.
QString applyTopTitleRule(const QString &topTitle);

// TitleRule only applies the top-title rule (the chart switch's step).
enum class OptionsMode { TitleRule = 0, Read = 1, Write = 2, Strip = 3 };

// The option store of a chart's right title. Read takes the options out of the title (the
// chart then shows only the visible part), sets commonX and returns the regression number;
// Write stores regression and commonX after the visible title, exactly once; Strip drops
// them. Every mode first applies the top-title rule.
std::optional<double> chartOptions(chartview::ChartView &chart, OptionsMode mode, int regression,
                                   bool &commonX);

// The value of VB's Val(): the leading decimal number of text, 0 when there is none.
double leadingNumber(const QString &text);

} // namespace qel::chartdoc
