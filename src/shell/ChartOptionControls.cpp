#include "shell/ChartOptionControls.h"

#include "chartdoc/ChartDocument.h"
#include "chartdoc/ChartOptions.h"
#include "chartview/CfxOcx.h"
#include "chartview/ChartView.h"
#include "os/UserDialogs.h"
#include "shell/ChartSpacing.h"
#include "shell/StepTimer.h"
#include "slides/SpeechOutput.h"

#include <QLineF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace qel::shell {

using namespace chartview;

namespace {

// The text members whose size the text-size buttons scale; the top title (57) keeps its size.
constexpr int ScaledTexts[] = {60, 59, 58, 56, 55};
constexpr int SizeReference = 60; // the Y-axis labels

// The chart's 16-bit numbers take a value the way the chart's host always rounded (halves to
// even).
qint16 rounded16(double v)
{
    return qint16(std::clamp(std::nearbyint(v), -32768.0, 32767.0));
}

QPoint unpackPixel(qint32 v)
{
    const qint16 x = LowWordOf(v);
    return QPoint(x, (v - x) / 65536);
}

void drawArrowHead(QPainter &painter, const QPointF &from, const QPointF &to)
{
    const QLineF line(to, from);
    if (line.length() < 1)
        return;
    QLineF side = line.unitVector();
    side.setLength(12);
    QPainterPath head(to);
    side.setAngle(line.angle() + 25);
    head.lineTo(side.p2());
    side.setAngle(line.angle() - 25);
    head.lineTo(side.p2());
    head.closeSubpath();
    painter.fillPath(head, painter.pen().color());
}

} // namespace

ChartOptionControls::ChartOptionControls(const Parts &parts, QObject *parent)
    : QObject(parent)
    , m_parts(parts)
{
    chartdoc::ChartDocument &doc = parts.document;
    connect(&doc, &chartdoc::ChartDocument::chartReplaced, this,
            &ChartOptionControls::chartReplaced);
    // Any step recorded elsewhere, or an undo or redo, ends the step a session may join.
    connect(&doc.undoStack(), &QUndoStack::indexChanged, this, [this] {
        if (!m_pushing)
            m_session = 0;
    });
}

ChartOptionControls::~ChartOptionControls()
{
    m_parts.timer.stop();
}

ChartView &ChartOptionControls::chart() const
{
    return m_parts.document.chart();
}

template <typename Change>
void ChartOptionControls::edit(const QString &text, Change &&change, int session)
{
    chartdoc::ChartDocument &doc = m_parts.document;
    QUndoStack &stack = doc.undoStack();
    const ChartModel before = chart().model();
    change();
    // The step recorded last takes the chart as it is when first undone, so a change that
    // continues it needs no step of its own, as long as nothing came between.
    if (session != 0 && session == m_session && stack.index() == m_sessionIndex &&
        !stack.isClean() && before == m_sessionAfter) {
        m_sessionAfter = chart().model();
        return;
    }
    const int index = stack.index();
    m_pushing = true;
    doc.recordEdit(text, before);
    m_pushing = false;
    if (stack.index() == index) {
        m_session = 0; // nothing changed, nothing recorded
        return;
    }
    m_session = session;
    m_sessionIndex = stack.index();
    m_sessionAfter = session != 0 ? chart().model() : ChartModel();
}

// ---- line widths ------------------------------------------------------------------------------

qint16 ChartOptionControls::nextLineWidth(qint16 width, int step)
{
    double w = double(width) + step;
    if (w > MaxLineWidth)
        w = 1;
    if (w < 1)
        w = step < 0 && w < 0 ? MaxLineWidth : 1;
    return rounded16(w);
}

qint16 ChartOptionControls::thickLines(int index, Qt::MouseButton button)
{
    if (index != 0 && index != 1)
        return 0;
    const int step = button == Qt::RightButton ? -2 : 2;
    const qint16 w = nextLineWidth(chart().LineWidth(index == 0 ? 2 : 0), step);
    edit(index == 0 ? QStringLiteral("目盛線の太さ") : QStringLiteral("線の太さ"), [&] {
        if (index == 0) {
            chart().setLineWidth(2, w);
        } else {
            chart().setLineWidth(0, w);
            chart().setLineWidth(1, w);
        }
    });
    return w;
}

void ChartOptionControls::thickWall()
{
    edit(QStringLiteral("3D 壁の厚さ"),
         [&] { chart().setWallWidth(chart().WallWidth() == 1 ? 8 : 1); });
}

void ChartOptionControls::onlyChart()
{
    edit(QStringLiteral("グラフのみ"), [&] {
        chart().setLayoutBits(chart().LayoutBits() ^ LayoutPlotOnly);
        chart().Refresh();
    });
}

void ChartOptionControls::setRibbon2(bool down)
{
    edit(QStringLiteral("ｚ軸説明"), [&] {
        const quint32 bits = chart().AxisBits();
        chart().setAxisBits(down ? bits | AxisRightLabels : bits & ~AxisRightLabels);
    });
}

bool ChartOptionControls::ribbon2() const
{
    return chart().AxisBits() & AxisRightLabels;
}

// ---- rotation ---------------------------------------------------------------------------------

double ChartOptionControls::wrapAngle(double angle)
{
    if (angle < 0)
        return 360;
    if (angle > 360)
        return 0;
    return angle;
}

void ChartOptionControls::rotationStep(double step, int session)
{
    const QString text = session != 0 ? QStringLiteral("自動回転") : QStringLiteral("回転");
    edit(
        text,
        [&] {
            if (m_gradientOff)
                m_gradientOff();
            m_angle = wrapAngle(m_angle + step);
            chart().setView3D(true);
            chart().setViewAngles(MakeLong(Elevation, rounded16(m_angle)));
        },
        session);
}

void ChartOptionControls::rotate(int index)
{
    switch (index) {
    case 0:
    case 1:
        // A manual turn is also the stop signal of an automatic rotation.
        stopAutoRotation();
        rotationStep(index == 0 ? RotationStep : -RotationStep, 0);
        break;
    case 2:
    case 3: {
        if (m_autoIndex >= 0) {
            stopAutoRotation();
            break;
        }
        m_autoIndex = index;
        m_autoSteps = 0;
        m_rotationSession = newSession();
        const int session = m_rotationSession;
        emit autoRotationChanged(index);
        QString hint = autoRotationHint();
        m_parts.speech.voiceSpeak(hint);
        // The speech may have let a click through that stopped this rotation already.
        if (m_autoIndex == index && m_rotationSession == session)
            autoStep();
        break;
    }
    default:
        break;
    }
}

void ChartOptionControls::autoStep()
{
    if (m_autoIndex < 0)
        return;
    if (m_autoSteps >= AutoSteps) {
        stopAutoRotation();
        return;
    }
    ++m_autoSteps;
    rotationStep(m_autoIndex == 2 ? RotationStep : -RotationStep, m_rotationSession);
    m_parts.timer.start(AutoWaitMilliseconds, [this] { autoStep(); });
}

void ChartOptionControls::stopAutoRotation()
{
    if (m_autoIndex < 0)
        return;
    m_parts.timer.stop();
    m_autoIndex = -1;
    m_rotationSession = 0;
    emit autoRotationChanged(-1);
}

void ChartOptionControls::chartReplaced()
{
    stopAutoRotation();
    const int shown = chart().model().rotation();
    if (rounded16(m_angle) == shown)
        return;
    // The chart holds whole degrees; the turns go in steps of 7.5, so the angle it was
    // turned to is the step that rounds to what it shows.
    const double steps = std::nearbyint(shown / RotationStep) * RotationStep;
    m_angle = rounded16(steps) == shown ? steps : shown;
}

// ---- text size --------------------------------------------------------------------------------

bool ChartOptionControls::fontSize(Qt::MouseButton button)
{
    const bool smaller = button == Qt::RightButton;
    const double f = smaller ? 0.8 : 1.2;
    const double n = chart().TextFont(SizeReference).pointSize * f;
    if (n < MinTextSize || n > MaxTextSize)
        return false;
    edit(QStringLiteral("文字の大きさ"), [&] {
        if (smaller)
            changeChartFont_GapSize(chart(), 0.85, 0.85);
        for (int member : ScaledTexts) {
            ChartFontSpec font = chart().TextFont(member);
            font.pointSize *= f;
            chart().setTextFont(member, font);
        }
    });
    m_parts.document.updateGapScroll(); // the smaller text narrowed the gap as well
    return true;
}

void ChartOptionControls::fontSizeReset()
{
    const std::pair<int, double> sizes[] = {{60, 11}, {59, 11}, {57, 8},
                                            {58, 14}, {56, 14}, {55, 14}};
    edit(QStringLiteral("文字の大きさを戻す"), [&] {
        for (const auto &[member, size] : sizes) {
            ChartFontSpec font = chart().TextFont(member);
            font.pointSize = size;
            chart().setTextFont(member, font);
        }
    });
}

// ---- point gap and depth ----------------------------------------------------------------------

qint16 ChartOptionControls::boxNumber(const QString &text, qint16 maximum)
{
    const double v = chartdoc::leadingNumber(text);
    if (!std::isfinite(v))
        return v > 0 ? maximum : 0;
    return qint16(std::clamp(std::nearbyint(v), 0.0, double(maximum)));
}

void ChartOptionControls::applyNumber(Drag kind, const QString &text, int session)
{
    chartdoc::ChartDocument &doc = m_parts.document;
    if (kind == Drag::Gap) {
        const qint16 gap = boxNumber(text, MaxGap);
        edit(
            QStringLiteral("x軸値の間隔"), [&] { chart().setPointGap(gap); }, session);
        doc.updateGapScroll();
    } else {
        const qint16 depth = boxNumber(text, MaxDepth);
        edit(
            QStringLiteral("奥行きの深さ"), [&] { chart().setDepth3D(depth); }, session);
        doc.updateDepthScroll();
    }
}

void ChartOptionControls::applyGap(const QString &text)
{
    applyNumber(Drag::Gap, text, 0);
}

void ChartOptionControls::applyDepth(const QString &text)
{
    applyNumber(Drag::Depth, text, 0);
}

void ChartOptionControls::dragGap(int value)
{
    if (m_drag != Drag::Gap) {
        m_drag = Drag::Gap;
        m_dragSession = newSession();
    }
    applyNumber(Drag::Gap, QString::number(value), m_dragSession);
}

void ChartOptionControls::dragDepth(int value)
{
    if (m_drag != Drag::Depth) {
        m_drag = Drag::Depth;
        m_dragSession = newSession();
    }
    applyNumber(Drag::Depth, QString::number(value), m_dragSession);
}

void ChartOptionControls::endDrag()
{
    m_drag = Drag::None;
    m_dragSession = 0;
}

// ---- mouse tracking and overlays --------------------------------------------------------------

void ChartOptionControls::trackMouse(bool on)
{
    edit(QStringLiteral("Track Mouse"), [&] {
        chart().setCursorMode(on ? 2 : 1);
        const quint32 type = chart().ChartType();
        chart().setChartType(on ? (type & ~TypeShowMarkers) | TypeTrackMouse
                                : (type | TypeShowMarkers) & ~TypeTrackMouse);
    });
}

bool ChartOptionControls::trackingMouse() const
{
    return chart().model().cursorMode == 2;
}

int ChartOptionControls::boxIndex(const QString &text) const
{
    const double v = chartdoc::leadingNumber(text);
    if (!std::isfinite(v) || std::abs(v) > 1e9)
        return -1;
    return int(std::nearbyint(v)) - 1;
}

bool ChartOptionControls::pointPixel(int series, int point, QPoint &pixel)
{
    ChartView &c = chart();
    if (series < 0 || point < 0 || series >= c.SeriesTotal() || point >= c.PointTotal())
        return false;
    const qint32 v = c.ChartQuery(QueryPointPosition, MakeLong(qint16(series), qint16(point)));
    if (c.ErrorPending()) {
        c.clearError(); // a point without a value is not drawn
        return false;
    }
    pixel = unpackPixel(v);
    return true;
}

bool ChartOptionControls::drawVerticalLine(const QString &pointBox)
{
    ChartView &c = chart();
    const int p = boxIndex(pointBox);
    QPoint at;
    if (p < 0 || p > 32767 || !pointPixel(0, p, at)) {
        m_parts.dialogs.beep();
        return false;
    }
    const qint16 savedAxis = c.model().queryAxis;
    c.setQueryAxis(0);
    const int y1 = c.ChartQuery(QueryValuePosition, c.AxisValue(AxisYMin));
    const int y2 = c.ChartQuery(QueryValuePosition, c.AxisValue(AxisYMax));
    c.setQueryAxis(savedAxis);
    const qint32 context = c.ChartQuery(QueryBeginOverlay);
    if (QPainter *painter = c.OverlayPainter(context)) {
        painter->setPen(QPen(QColor(0, 0, 160), 2));
        painter->drawLine(QPointF(at.x(), y1), QPointF(at.x(), y2));
        if (c.HasXValues()) {
            // With X values the line reaches over the whole plot, floor to top.
            const QPoint bottom = unpackPixel(c.ChartQuery(QueryPlotBottomLeft));
            const QPoint top = unpackPixel(c.ChartQuery(QueryPlotTopRight));
            painter->drawLine(QPointF(at.x(), bottom.y()), QPointF(at.x(), top.y()));
        }
    }
    c.ChartQuery(QueryEndOverlay);
    return true;
}

bool ChartOptionControls::drawPointArrow(const QString &seriesBox, const QString &pointBox)
{
    ChartView &c = chart();
    const int s = boxIndex(seriesBox);
    const int p = boxIndex(pointBox);
    QPoint at;
    if (s < 0 || p < 0 || s > 32767 || p > 32767 || !pointPixel(s, p, at)) {
        m_parts.dialogs.beep();
        return false;
    }
    const qint32 context = c.ChartQuery(QueryBeginOverlay);
    if (QPainter *painter = c.OverlayPainter(context)) {
        painter->setPen(QPen(QColor(200, 0, 0), 2));
        painter->drawLine(QPointF(0, 0), QPointF(at));
        drawArrowHead(*painter, QPointF(0, 0), QPointF(at));
    }
    c.ChartQuery(QueryEndOverlay);
    return true;
}

} // namespace qel::shell
