#pragma once

#include "chartview/render/ChartControl.h"
#include "shell/MainForm.h"
#include "support/RecordingSpeech.h"

#include <QStringList>

#include <functional>

namespace qel::test {

// Stands in for the main window: real charts, every other step written to a log.
class FakeForm : public shell::MainForm
{
public:
    QSize screenSize() const override { return screen; }
    void setWindowSize(const QSize &pixels) override
    {
        log << QStringLiteral("setWindowSize %1x%2").arg(pixels.width()).arg(pixels.height());
    }
    void registerFileTypes() override { log << QStringLiteral("registerFileTypes"); }
    chartview::ChartView &chart1() override { return charts[0]; }
    chartview::ChartView &chart2() override { return charts[1]; }
    void setComboAccessFile(int mode, const QString &path) override
    {
        // The series count shows whether the start-up charts were imported before.
        log << QStringLiteral("setComboAccessFile %1 [%2] chart1 series %3")
                   .arg(mode)
                   .arg(path)
                   .arg(charts[0].SeriesTotal());
    }
    void setChart2Width(int twips) override
    {
        log << QStringLiteral("setChart2Width %1").arg(twips);
    }
    QString openCommandLine(const QString &commandLine) override
    {
        log << QStringLiteral("openCommandLine ") + commandLine;
        return opener ? opener(commandLine) : QString();
    }
    QString depthText() const override { return depth; }
    QString accessLogName() override { return accessLog; }
    void setHasXValues(bool on) override { hasXValues = on; }
    void showForm() override { log << QStringLiteral("showForm"); }
    void showAbout() override { log << QStringLiteral("showAbout"); }
    void unloadAbout() override { log << QStringLiteral("unloadAbout"); }
    void closeOtherWindows() override { log << QStringLiteral("closeOtherWindows"); }
    void endProgram() override { log << QStringLiteral("endProgram"); }

    QSize screen{1920, 1080};
    QString depth = QStringLiteral("50");
    QString accessLog;
    bool hasXValues = false;
    std::function<QString(const QString &)> opener;
    chartview::ChartControl charts[2];
    QStringList log;
};

} // namespace qel::test
