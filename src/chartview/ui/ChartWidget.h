#pragma once

#include "chartview/render/ChartControl.h"

#include <QWidget>

class QAction;
class QToolBar;

namespace qel::chartview {

// The arguments of a chart event. Setting result to 1 suppresses the chart's own reaction.
struct ChartEvent
{
    int x = 0;
    int y = 0;
    int series = -1; // negative: no point
    int point = -1;
    Qt::MouseButton button = Qt::NoButton;
    int result = 0;
};

// Shows a chart, raises its mouse events and carries its tool bar.
// Gestures: a click on a point, a double click on a point (chosen for analysis), a click
// elsewhere; while DragActive is on, dragging moves the grabbed point up and down. A press
// and release that stays within a few pixels is a click, also on a grabbed point.
class ChartWidget : public QWidget
{
    Q_OBJECT

public:
    // Tool bar commands, reported with these numbers.
    enum Command {
        CommandSave = 29701,
        CommandOpen = 29702,
        CommandPrint = 0x7313,
        CommandGallery = 29442,
        CommandView3D = 29443,
        CommandRotate = 29444,
        CommandLegend = 29445,
        CommandGrid = 29451,
        CommandColors = 29463,
        CommandPageSetup = 0x7403,    // the chart's page set-up (ChartCommand 0x7403)
        CommandPrintPreview = 0x7F01, // ours: the print preview, offered beside print
    };

    explicit ChartWidget(QWidget *parent = nullptr);

    ChartControl &chart() { return m_chart; }
    QToolBar *toolBar() const { return m_toolBar; }
    // The rectangle the chart is drawn in, below the tool bar.
    QRect chartRect() const;

    // The same handlers the mouse uses, for the host and for tests: positions are in
    // chart pixels.
    void pressAt(const QPoint &pos, Qt::MouseButton button = Qt::LeftButton);
    void moveTo(const QPoint &pos, Qt::MouseButtons buttons = Qt::NoButton);
    void releaseAt(const QPoint &pos, Qt::MouseButton button = Qt::LeftButton);
    void doubleClickAt(const QPoint &pos);
    void runCommand(int command);

    // A value as the inspection shows it: up to seven significant digits, as a single holds.
    static QString valueText(double value);
    // The tip of a point: series name, point legend, X value when there are X values, value.
    // Empty for a point that does not exist or holds no value.
    QString pointTipText(int series, int point) const;
    // Shows that tip at pos (chart pixels), or hides the tip when there is none.
    void showPointTip(int series, int point, const QPoint &pos);
    // The tip last shown; empty once it was hidden.
    QString shownTip() const { return m_shownTip; }

signals:
    void pointClicked(qel::chartview::ChartEvent &event);
    void mouseMoved(qel::chartview::ChartEvent &event);
    void buttonPressed(qel::chartview::ChartEvent &event);
    void pointChosen(qel::chartview::ChartEvent &event);
    void clickedOutsidePoints(qel::chartview::ChartEvent &event);
    // A dragged point was let go.
    void dragFinished(int series, int point);
    // A drag changed the chart; before is the whole chart as it was when the drag began,
    // so the host can offer to undo it. Raised once per drag, after dragFinished.
    void modelEditedByUser(const qel::chartview::ChartModel &before);
    // A tool bar command; set handled to keep the chart's own handling from running.
    void commandTriggered(int command, bool &handled);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    ChartEvent eventAt(const QPoint &pos, Qt::MouseButton button = Qt::NoButton);
    void buildToolBar();
    void addPrintMenu(QAction *print);
    void runOwnCommand(int command);
    void dragTo(const QPoint &pos);
    bool withinClick(const QPoint &pos) const;

    ChartControl m_chart;
    QToolBar *m_toolBar = nullptr;
    QPoint m_pressPos;
    bool m_pressed = false;
    // The point a press grabbed while DragActive was on; it moves once the mouse leaves
    // the click's few pixels.
    int m_dragSeries = -1;
    int m_dragPoint = -1;
    bool m_dragMoving = false;
    ChartModel m_beforeDrag;
    QString m_shownTip;
};

} // namespace qel::chartview
