#pragma once

#include "chartdoc/TableImage.h"
#include "settings/Form2State.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

namespace qel::os {
class MessageWindow;
} // namespace qel::os

namespace qel::chartview {
class ChartView;
struct BackgroundGradient;
struct ChartModel;
} // namespace qel::chartview

namespace qel::os {
class UserDialogs;
}

namespace qel::chartdoc {

// The main window's view controls that loads read and set. The window shows them; they live
// here so a load without a window sets them the same way.
struct ViewControls
{
    bool hiddenChecked = false; // SSChkHidden, "Erase hidden"
    bool hiddenEnabled = false;
    bool hideXLegend = false; // SSCheck_CL_HIDEXLEG: AxisBits 0x4
    bool hideYLegend = false; // SSCheck_CL_HIDEYLEG: AxisBits 0x20
    bool ribbon3 = false;     // SSRibbon3: AxisBits 0x80, x values written vertically
    QString gapText;          // xGapText: the chart's PointGap
    QString depthText;        // depthText: the chart's Depth3D

    bool operator==(const ViewControls &) const = default;
};

// What the user works on: the working chart Chart1, the table image of the last table read,
// the title and data-field boxes, the file legend, the view controls, the regression option,
// the current file and whether it has unsaved changes, with the undo history of the edits.
// Windows observe it through its signals; loads, saves and jobs change it.
class ChartDocument : public QObject
{
    Q_OBJECT

public:
    ChartDocument(chartview::ChartView &chart, os::UserDialogs &dialogs,
                  os::MessageWindow &messages, QObject *parent = nullptr);
    ~ChartDocument() override;

    chartview::ChartView &chart() const { return m_chart; }
    TableImage &table() { return m_table; }
    const TableImage &table() const { return m_table; }
    os::UserDialogs &dialogs() const { return m_dialogs; }
    os::MessageWindow &messageWindow() const { return m_messages; }
    // The title boxes (txtTop, txtLeft, txtBottom, txtRight) and the data-field boxes.
    settings::Form2State &form2() { return m_form2; }

    const ViewControls &controls() const { return m_controls; }
    bool hiddenChecked() const { return m_controls.hiddenChecked; }
    void setHiddenChecked(bool on);
    void setHiddenEnabled(bool on);
    void setHideXLegend(bool on);
    void setHideYLegend(bool on);
    void setRibbon3(bool down);
    // The gap and depth boxes take the chart's PointGap and Depth3D.
    void updateGapScroll();
    void updateDepthScroll();
    QString depthText() const { return m_controls.depthText; }
    void setDepthText(const QString &text);
    // depthText_DblClick: the depth box, clamped to 0..999, becomes the chart's Depth3D.
    void depthText_DblClick();
    // Every control follows the chart as it now is (after a chart file or an undo).
    void controlsFollowChart();

    // txtLegend, the file legend under the chart (line breaks CR LF).
    QString legendText() const { return m_legend; }
    void setLegendText(const QString &text);

    // The background the program paints itself (superGradientOn, the gradient kind and its
    // colours). It lives in the working chart, so undo, chart files and every output carry it.
    chartview::BackgroundGradient gradient() const;
    void setGradient(const chartview::BackgroundGradient &gradient);
    // Rotation, the chart error trap and the white print stop the program's own painting; the
    // kind and colours stay for the colour window to switch it on again.
    void switchGradientOff();

    // The colour group count N: the user's series, whose regression companions are the series
    // s + N and s + 2N. 0 while no regression has fixed it.
    qint16 &colorGroupCount() { return m_colorGroupCount; }
    // N as the colour window uses it: the chart's series count while N is 0 or exceeds it.
    int userGroupCount() const;

    // regrOption: the regression curve chosen for this chart, stored in its right title.
    qint16 regressionOption() const { return m_regressionOption; }
    void setRegressionOption(qint16 option) { m_regressionOption = option; }

    QString currentFile() const { return m_currentFile; }
    void setCurrentFile(const QString &path);

    // Unsaved changes: set by every edit, cleared by a load or a save.
    bool isModified() const { return !m_undo.isClean(); }
    // The chart now holds what is on disk: the history is kept, the clean point moves here.
    void markSaved();
    // A new chart was loaded: its history starts afresh.
    void resetHistory();

    // Records an edit of the chart made since `before` as one undoable step.
    void recordEdit(const QString &text, const chartview::ChartModel &before);
    // Runs an edit of the chart and records it as one step when it changed anything.
    template <typename Edit> void edit(const QString &text, Edit &&change);
    QUndoStack &undoStack() { return m_undo; }

    // The settings window's spreadsheet buttons follow a table file just written.
    void tableFileWritten(const QString &path) { emit tableWritten(path); }

signals:
    void controlsChanged();
    // The background gradient changed (the chart was redrawn with it).
    void gradientChanged();
    void legendChanged(const QString &text);
    void currentFileChanged(const QString &path);
    void modifiedChanged(bool modified);
    // The chart's content was replaced by a load, an undo or a redo.
    void chartReplaced();
    void tableWritten(const QString &path);

private:
    void setControls(const ViewControls &controls);
    void setFlag(bool ViewControls::*flag, bool on);
    // A box that switches an AxisBits bit of the chart.
    void switchAxisControl(quint32 bit, bool ViewControls::*flag, bool on);

    chartview::ChartView &m_chart;
    os::UserDialogs &m_dialogs;
    os::MessageWindow &m_messages;
    TableImage m_table;
    settings::Form2State m_form2;
    ViewControls m_controls;
    QString m_legend;
    qint16 m_regressionOption = 0;
    qint16 m_colorGroupCount = 0;
    QString m_currentFile;
    QUndoStack m_undo;
};

} // namespace qel::chartdoc

#include "chartview/ChartModel.h"
#include "chartview/ChartView.h"

template <typename Edit> void qel::chartdoc::ChartDocument::edit(const QString &text, Edit &&change)
{
    const chartview::ChartModel before = m_chart.model();
    change();
    recordEdit(text, before);
}
