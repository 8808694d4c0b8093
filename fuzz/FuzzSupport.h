#pragma once

#include "chartdoc/ChartDocument.h"
#include "chartdoc/TableFileReader.h"
#include "chartdoc/TableImage.h"
#include "chartview/render/ChartControl.h"
#include "os/UserDialogs.h"
#include "settings/Form2State.h"
#include "slides/MessageLog.h"

#include <QCoreApplication>

namespace qel::fuzz {

// Answers every question with its default, as the command line does.
class QuietDialogs : public os::UserDialogs
{
public:
    os::MessageAnswer message(const os::MessageRequest &request) override
    {
        return request.defaultAnswer;
    }
    QStringList chooseFiles(const os::FileDialogRequest &) override { return {}; }
    void beep() override {}
};

inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

// One table or legacy load of the given bytes into a fresh chart.
inline void loadTableBytes(const uint8_t *data, size_t size, bool tableFile)
{
    chartview::ChartControl chart;
    QuietDialogs dialogs;
    slides::MessageLog messages;
    chartdoc::ChartDocument context(chart, dialogs, messages);
    chartdoc::TableFileReader reader(context);
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    // The path has no legend file beside it.
    reader.loadBytes(bytes, tableFile);
    // The Erase hidden box rebuilds the chart from whatever was loaded.
    context.setHiddenChecked(true);
    reader.setChartData();
}

} // namespace qel::fuzz
