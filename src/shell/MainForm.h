#pragma once

#include <QSize>
#include <QString>

namespace qel::chartview {
class ChartView;
}

namespace qel::shell {

// What start-up and quitting ask of the main window; tests stand in for the window.
class MainForm
{
public:
    virtual ~MainForm() = default;

    virtual QSize screenSize() const = 0; // pixels
    virtual void setWindowSize(const QSize &pixels) = 0;
    virtual void registerFileTypes() = 0;
    virtual chartview::ChartView &chart1() = 0;
    virtual chartview::ChartView &chart2() = 0;
    // The recent list: 0 adds path, 1 saves the list, 2 loads it.
    virtual void setComboAccessFile(int mode, const QString &path) = 0;
    virtual void setChart2Width(int twips) = 0;
    // Opens the file named on the command line; returns the command line, cleared when the
    // file could not be opened, so that the start-up chart is shown instead.
    virtual QString openCommandLine(const QString &commandLine) = 0;
    virtual QString depthText() const = 0;
    // The access log named by the version window (created when missing).
    virtual QString accessLogName() = 0;
    virtual void setHasXValues(bool on) = 0;
    virtual void showForm() = 0;
    virtual void showAbout() = 0;
    virtual void unloadAbout() = 0;
    // Unloads the colour window and the settings window.
    virtual void closeOtherWindows() = 0;
    virtual void endProgram() = 0;
};

} // namespace qel::shell
