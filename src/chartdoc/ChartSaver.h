#pragma once

#include "os/Result.h"

#include <QString>

namespace qel::chartdoc {

class ChartDocument;

// Saves the document's chart as a chart file: the options go into the stored right title
// (the chart on screen keeps showing only its visible part) and the file legend into the
// legend file beside it. The window's save command and the command line share it.
class ChartSaver
{
public:
    static os::Result save(ChartDocument &document, const QString &path);

    static QString saveFailedText() { return QStringLiteral("記録できませんでした。"); }
};

} // namespace qel::chartdoc
