#pragma once

#include "chartview/ui/ChartWidget.h"

#include <QObject>

#include <functional>

namespace qel::os {
class MessageWindow;
class UserDialogs;
} // namespace qel::os

namespace qel::chartview {

class InspectionHost;

// The main window's reactions to the mouse on its two charts: the series and point under
// the mouse, the start of a point drag, the click log, Chart2's point message, the start of
// an analysis for a chosen series, and the font dialogue of a clicked chart text.
class PointInspector : public QObject
{
    Q_OBJECT

public:
    // The plot rectangle in chart pixels, as the plot-area routine measures it.
    struct PlotRect
    {
        int bottom = 0; // row of the Y-axis minimum
        int top = 0;    // row of the Y-axis maximum
        int left = 0;   // column of the X-axis minimum
        int right = 0;  // column of the X-axis maximum
    };

    // A wait that lets pending events run (os::wait by default; tests pass their own).
    using Pump = std::function<void(double seconds)>;

    PointInspector(ChartWidget &chart1, ChartWidget &chart2, InspectionHost &host,
                   os::MessageWindow &messages, os::UserDialogs &dialogs,
                   QObject *parent = nullptr);

    void setPump(Pump pump) { m_pump = std::move(pump); }

    // The event handlers; connected to the charts, public for the host and the tests.
    void chart1PointClicked(ChartEvent &e);
    void chart2PointClicked(ChartEvent &e);
    void chart1MouseMoved(ChartEvent &e);
    void chart1ButtonPressed(ChartEvent &e);
    void chart1PointChosen(ChartEvent &e);
    void chart2PointChosen(ChartEvent &e);
    void chartClickedOutsidePoints(ChartEvent &e);
    void chart1DragFinished();

    // The plot-area routine for chart 1 or 2.
    PlotRect plotArea(int chartNumber);
    // The text area a click at (x, y) names: 1 to 8, 66, or 0 for none, before the turn of
    // a horizontal chart. (w, h) are the chart's extents.
    static int classifyClickArea(int x, int y, const PlotRect &plot, int w, int h);
    // The codes of a horizontal chart (bit 0x200) and of an upright one.
    static int adjustForOrientation(int code, bool horizontal);
    // The text-area font routine: the font dialogue of the chart text the code names.
    void textAreaFont(int chartNumber, int code);

    bool dragging() const { return m_dragging; }
    bool onPoint() const { return m_onPoint; }
    int candidateSeries() const { return m_candidateSeries; }
    int candidatePoint() const { return m_candidatePoint; }
    // The point the mouse was last over (0-based; -1 beside the points). The "Value:" box
    // holds its value, so the overlay drawings take the point from here.
    int inspectedSeries() const { return m_inspectedSeries; }
    int inspectedPoint() const { return m_inspectedPoint; }

protected:
    // A button let go on Chart1 always ends a drag, also one the chart never took up.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ChartWidget &chartWidget(int chartNumber);
    void endDrag();

    ChartWidget &m_chart1;
    ChartWidget &m_chart2;
    InspectionHost &m_host;
    os::MessageWindow &m_messages;
    os::UserDialogs &m_dialogs;
    Pump m_pump;

    bool m_dragging = false;
    bool m_onPoint = false;
    int m_candidateSeries = 0;
    int m_candidatePoint = 0;
    int m_inspectedSeries = -1;
    int m_inspectedPoint = -1;
};

} // namespace qel::chartview
