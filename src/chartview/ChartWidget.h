#pragma once

#include "chartview/ChartControl.h"

#include <QWidget>

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
// elsewhere; while DragActive is on, dragging moves the grabbed point up and down.
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

signals:
    void pointClicked(qel::chartview::ChartEvent &event);
    void mouseMoved(qel::chartview::ChartEvent &event);
    void buttonPressed(qel::chartview::ChartEvent &event);
    void pointChosen(qel::chartview::ChartEvent &event);
    void clickedOutsidePoints(qel::chartview::ChartEvent &event);
    // A dragged point was let go.
    void dragFinished(int series, int point);
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
    void runOwnCommand(int command);
    void dragTo(const QPoint &pos);
    void showValueTip(const ChartEvent &event, const QPoint &globalPos);

    ChartControl m_chart;
    QToolBar *m_toolBar = nullptr;
    QPoint m_pressPos;
    bool m_pressed = false;
    int m_dragSeries = -1;
    int m_dragPoint = -1;
};

} // namespace qel::chartview
