#pragma once

#include <QString>

namespace qel::chartdoc {

// The bottom title holds the X legend on its first line, a blank line, then the figure title.
QString composeBottomTitle(const QString &xLegend, const QString &figureTitle);

// The inverse of composeBottomTitle: the X legend is everything before the first blank line,
// the figure title everything after it (line breaks inside either become blanks). A title
// without a blank line is all figure title.
struct BottomTitleParts
{
    QString xLegend;
    QString figureTitle;
};
BottomTitleParts decomposeBottomTitle(const QString &text);

// Takes a bottom title apart into its first non-empty line and the rest (line breaks in
// them become blanks). first keeps its earlier value when the title has a single line.
void splitBottomTitle(const QString &text, QString &first, QString &rest);

} // namespace qel::chartdoc
