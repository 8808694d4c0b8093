#pragma once

#include "chartview/ChartModel.h"

#include <QObject>
#include <QString>

#include <functional>

namespace qel::chartdoc {
class ChartDocument;
}
namespace qel::chartview {
class ChartView;
}
namespace qel::os {
class UserDialogs;
}
namespace qel::slides {
class SpeechOutput;
}

namespace qel::shell {

class StepTimer;

// The option panel beside the working chart (Chart1): what each of its controls does to the
// chart, without the widgets. Every user action is one undoable step of the document; a
// scroll bar dragged to and fro and a whole automatic rotation are one step each.
class ChartOptionControls : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        chartdoc::ChartDocument &document; // the working chart and its undo history
        slides::SpeechOutput &speech;
        os::UserDialogs &dialogs; // the beep
        StepTimer &timer;         // the waits of the automatic rotation
    };

    explicit ChartOptionControls(const Parts &parts, QObject *parent = nullptr);
    ~ChartOptionControls() override;

    // Called by every rotation step: the program's own background painting goes off.
    void setGradientOff(std::function<void()> off) { m_gradientOff = std::move(off); }

    // ---- line widths -------------------------------------------------------------------------
    static constexpr qint16 MaxLineWidth = 22;
    // The width after one step of +2 (left button) or -2 (right button): past 22 it starts
    // again at 1; below 1 the right button goes round to 22, anything else stops at 1.
    static qint16 nextLineWidth(qint16 width, int step);
    // SSCmdThick2Dlines, released with button: index 0 the grid lines (LineWidth 2), index 1 the
    // data lines (LineWidth 0 and 1); any other index does nothing. Returns the new width, or 0
    // when nothing changed.
    qint16 thickLines(int index, Qt::MouseButton button);
    // SSCmdThickWall: a wall of 1 becomes 8, any other 1.
    void thickWall();
    // SSCmdhartOnly: the chart alone, without titles and legends, or everything again.
    void onlyChart();
    // SSRibbon2 down: the axis labels on the right as well (AxisBits 0x100).
    void setRibbon2(bool down);
    bool ribbon2() const;

    // ---- rotation ----------------------------------------------------------------------------
    static constexpr double RotationStep = 7.5;
    static constexpr int AutoSteps = 48;
    static constexpr int AutoWaitMilliseconds = 500;
    static constexpr qint16 Elevation = 30;
    // Below 0 turns to 360, above 360 to 0.
    static double wrapAngle(double angle);
    static QString autoRotationHint() { return QStringLiteral("回転の停止は、再度クリックします"); }
    // SSCommandRotate: index 0 turns left (+7.5°), 1 right (-7.5°), each one step; 2 and 3 turn
    // the same ways 48 times, half a second apart. A second click on an automatic button, or
    // a click on a manual one, stops a running rotation.
    void rotate(int index);
    double angle() const { return m_angle; }
    // The automatic button whose rotation is running, or -1.
    int autoRotation() const { return m_autoIndex; }
    int autoStepsDone() const { return m_autoSteps; }
    void stopAutoRotation();

    // ---- text size ---------------------------------------------------------------------------
    static constexpr double MinTextSize = 8;
    static constexpr double MaxTextSize = 38;
    // FontSize, released with button: left 1.2 times larger, right 0.8 times. Refused (false)
    // when the Y-axis labels' size would leave 8..38.
    bool fontSize(Qt::MouseButton button);
    // FontSizeReset: the six chart texts at their first sizes.
    void fontSizeReset();

    // ---- point gap and depth -----------------------------------------------------------------
    static constexpr qint16 MaxGap = 100;
    static constexpr qint16 MaxDepth = 999;
    // The number a box holds, rounded and clamped to 0..maximum; no number counts as 0.
    static qint16 boxNumber(const QString &text, qint16 maximum);
    // xGapText / depthText applied (Enter, double click, leaving the box, the scroll bar).
    void applyGap(const QString &text);
    void applyDepth(const QString &text);
    // The scroll bar's thumb being dragged: the whole drag is one step.
    void dragGap(int value);
    void dragDepth(int value);
    void endDrag();

    // ---- mouse tracking and the drawings over the chart -----------------------------------
    // Check2: CursorMode 2 and track-mouse charts without markers, or back.
    void trackMouse(bool on);
    bool trackingMouse() const;
    // SSCmdVertConst: a vertical line through point (point box) of the first series. Beeps
    // and draws nothing when the box names no point of the chart.
    bool drawVerticalLine(const QString &pointBox);
    // SSCmdPointArrow: an arrow from the chart's top-left corner to the point (series box,
    // point box). Beeps and draws nothing when the boxes name no drawn point.
    bool drawPointArrow(const QString &seriesBox, const QString &pointBox);

signals:
    // An automatic rotation started (the button's index) or ended (-1).
    void autoRotationChanged(int index);

private:
    enum class Drag { None, Gap, Depth };

    chartview::ChartView &chart() const;
    // Runs change on the chart and records it as one step; with a session that matches the
    // last step recorded, the change joins that step instead.
    template <typename Change> void edit(const QString &text, Change &&change, int session = 0);
    int newSession() { return ++m_sessionSerial; }
    void rotationStep(double step, int session);
    void autoStep();
    void applyNumber(Drag kind, const QString &text, int session);
    // The chart was loaded, undone or redone: a rotation in progress stops and the angle
    // follows the chart.
    void chartReplaced();
    // Point (series, point) as drawn, in chart pixels; false when there is none.
    bool pointPixel(int series, int point, QPoint &pixel);
    int boxIndex(const QString &text) const;

    Parts m_parts;
    std::function<void()> m_gradientOff;
    double m_angle = 0;
    int m_autoIndex = -1;
    int m_autoSteps = 0;
    int m_rotationSession = 0;
    Drag m_drag = Drag::None;
    int m_dragSession = 0;

    int m_sessionSerial = 0;
    int m_session = 0;       // the session of the step last recorded here
    int m_sessionIndex = -1; // the undo stack's index just after that step
    bool m_pushing = false;  // a step of ours is being recorded
    chartview::ChartModel m_sessionAfter;
};

} // namespace qel::shell
