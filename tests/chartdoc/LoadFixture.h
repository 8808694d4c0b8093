#pragma once

#include "chartdoc/ChartDocument.h"
#include "chartdoc/DataFileLoader.h"
#include "chartdoc/TableFileReader.h"
#include "chartdoc/TableImage.h"
#include "chartview/render/ChartControl.h"
#include "settings/Form2State.h"
#include "slides/MessageLog.h"
#include "support/FakeDialogs.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>

namespace qel::test {

// A chart with everything a load reaches, the dialogues answered from a script.
struct LoadFixture
{
    chartview::ChartControl chart;
    FakeDialogs dialogs;
    slides::MessageLog messages;
    chartdoc::ChartDocument context{chart, dialogs, messages};
    chartdoc::TableImage &table = context.table();
    settings::Form2State &form2 = context.form2();

    QString load(const QString &path)
    {
        const QString extension = path.mid(path.lastIndexOf(QLatin1Char('.')));
        return chartdoc::TableFileReader(context).loadTable(path, extension);
    }
    QString loadFixture(const QString &name) { return load(dataPath(name)); }
    QString loadFile(const QString &path)
    {
        const QString extension = path.mid(path.lastIndexOf(QLatin1Char('.')));
        return chartdoc::DataFileLoader(context).loadTableFile(path, extension);
    }
    chartdoc::LoadResult open(const QString &path)
    {
        return chartdoc::DataFileLoader(context).open(path);
    }
    double y(int series, int point) const { return chart.model().value(series, point); }
    double x(int series, int point) const { return chart.model().xValue(series, point); }
};

} // namespace qel::test
