#pragma once

#include <QString>

namespace qel::chartdoc {

// The title texts a table or legacy file carries, before they go into the title boxes.
struct TableTitles
{
    QString topTitle;    // "TopTit="
    QString figureTitle; // "Title=": the lower part of the bottom title
    QString xLegend;
    QString yLegend;
    QString zLegend;
};

} // namespace qel::chartdoc
