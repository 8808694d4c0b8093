#include "chartview/ui/PointInspector.h"

#include "chartview/CfxOcx.h"
#include "chartview/ui/InspectionHost.h"
#include "os/MessageWindow.h"
#include "os/Useful.h"
#include "os/UserDialogs.h"

#include <QEvent>

namespace qel::chartview {

namespace {

// Rows within this many pixels of a point's centre grab it for a drag.
constexpr int GrabRows = 2;
constexpr int AnalysisAttempts = 5;
constexpr int PlotAttempts = 10;

struct TextArea
{
    const char16_t *label;
    int title;   // TitleCaption index; NoTitle looks nothing up, XLegend the fixed text
    int element; // the font dialogue's element
};
constexpr int NoTitle = -1;
constexpr int XLegend = -2;

// Codes 1 to 8 of the click-area classifier.
constexpr TextArea TextAreas[] = {
    {u"Tt", 2, 2}, {u"Tl", 1, 5},       {u"Bt", 3, 3}, {u"Bl", XLegend, 4},
    {u"Lt", 0, 0}, {u"Ll", NoTitle, 5}, {u"Rt", 1, 1}, {u"LRl", 1, 5},
};

QString number(int v)
{
    return QString::number(v);
}

} // namespace

PointInspector::PointInspector(ChartWidget &chart1, ChartWidget &chart2, InspectionHost &host,
                               os::MessageWindow &messages, os::UserDialogs &dialogs,
                               QObject *parent)
    : QObject(parent)
    , m_chart1(chart1)
    , m_chart2(chart2)
    , m_host(host)
    , m_messages(messages)
    , m_dialogs(dialogs)
    , m_pump([](double seconds) { os::wait(seconds, true); })
{
    connect(&chart1, &ChartWidget::pointClicked, this, &PointInspector::chart1PointClicked);
    connect(&chart1, &ChartWidget::mouseMoved, this, &PointInspector::chart1MouseMoved);
    connect(&chart1, &ChartWidget::buttonPressed, this, &PointInspector::chart1ButtonPressed);
    connect(&chart1, &ChartWidget::pointChosen, this, &PointInspector::chart1PointChosen);
    connect(&chart1, &ChartWidget::clickedOutsidePoints, this,
            &PointInspector::chartClickedOutsidePoints);
    connect(&chart1, &ChartWidget::dragFinished, this, &PointInspector::chart1DragFinished);
    connect(&chart2, &ChartWidget::pointClicked, this, &PointInspector::chart2PointClicked);
    connect(&chart2, &ChartWidget::pointChosen, this, &PointInspector::chart2PointChosen);
    // A click beside the points of Chart2 is also its point message for "no point".
    connect(&chart2, &ChartWidget::clickedOutsidePoints, this, [this](ChartEvent &e) {
        chart2PointClicked(e);
        chartClickedOutsidePoints(e);
    });
    chart1.installEventFilter(this);
}

ChartWidget &PointInspector::chartWidget(int chartNumber)
{
    return chartNumber == 2 ? m_chart2 : m_chart1;
}

bool PointInspector::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_chart1 && event->type() == QEvent::MouseButtonRelease)
        endDrag();
    return QObject::eventFilter(watched, event);
}

void PointInspector::endDrag()
{
    if (!m_dragging)
        return;
    m_dragging = false;
    m_chart1.chart().setDragActive(false);
}

void PointInspector::chart1PointClicked(ChartEvent &e)
{
    endDrag();
    if (e.series < 0)
        return;
    ChartControl &c = m_chart1.chart();
    c.setClickLog(c.ClickLog() + QStringLiteral("\r\n(") + number(e.series + 1) + u',' +
                  number(e.point + 1) + u')');
}

void PointInspector::chart2PointClicked(ChartEvent &e)
{
    if (e.series < 0) {
        m_messages.hide();
        return;
    }
    m_messages.frmMsgShow(QStringLiteral(" Chart2 データ情報"),
                          number(e.series + 1) + QStringLiteral(" Group\n  Point ") +
                              number(e.point + 1));
    m_pump(0);
    m_messages.sendToBack();
}

void PointInspector::chart1MouseMoved(ChartEvent &e)
{
    ChartControl &c = m_chart1.chart();
    if (!m_dragging) {
        e.result = 1;
        const qint32 r = c.ChartQuery(QueryHitTest, MakeLong(qint16(e.x), qint16(e.y)));
        const int s = LowWordOf(r);
        const int p = HighWordOf(r);
        runChartErrorTrap();
        // The "Value:" box shows the point's value; the point itself is named in the tip.
        const ChartModel &m = c.model();
        const bool known = s >= 0 && p >= 0 && s < m.seriesCount && p < m.pointCount &&
                           !isEmptyPoint(m.value(s, p));
        m_inspectedSeries = s >= 0 && p >= 0 ? s : -1;
        m_inspectedPoint = s >= 0 && p >= 0 ? p : -1;
        m_host.setPointBoxes(number(s + 1),
                             known ? ChartWidget::valueText(m.value(s, p)) : QString());
        m_chart1.showPointTip(s, p, QPoint(e.x, e.y));
        if (s >= 0 && p >= 0) {
            const qint32 at = c.ChartQuery(QueryPointPosition, r);
            const int py = HighWordOf(at);
            runChartErrorTrap();
            if (py - GrabRows <= e.y && e.y <= py + GrabRows) {
                m_chart1.setCursor(Qt::SizeVerCursor);
                m_onPoint = true;
                m_candidateSeries = s;
                m_candidatePoint = p;
            } else {
                m_chart1.setCursor(Qt::CrossCursor);
                m_onPoint = false;
            }
        }
    }
    if (m_dragging && m_onPoint) {
        e.result = 1;
        m_chart1.setCursor(Qt::SizeVerCursor);
    }
}

void PointInspector::chart1ButtonPressed(ChartEvent &e)
{
    if (!m_onPoint || m_candidateSeries < 0 || m_candidatePoint < 0)
        return;
    e.result = 1;
    m_dragging = true;
    m_chart1.setCursor(Qt::SizeVerCursor);
    m_chart1.chart().setDragActive(true);
}

void PointInspector::chart1DragFinished()
{
    m_dragging = false;
}

void PointInspector::chart1PointChosen(ChartEvent &e)
{
    e.result = 1;
    ChartControl &c = m_chart1.chart();
    if (e.series < 0)
        return;
    if (!(c.ChartType() & 0x8u)) {
        // Analysis works on scatter charts only; rather than ignore the double click, offer
        // the switch and go on when the user takes it.
        if (!m_host.offerScatterChart())
            return;
        c.setChartType(GalleryScatter | (c.ChartType() & (TypeShowMarkers | TypeTrackMouse)));
    }
    const QString dataName =
        number(e.series + 1) + QStringLiteral(": ") + c.SeriesCaption(qint16(e.series));
    const int job = m_host.askRegressionJob(dataName);
    if (job == 0)
        return;
    AnalysisOutcome outcome;
    for (int attempt = 0; attempt < AnalysisAttempts; ++attempt) {
        const double yMin = c.AxisValue(AxisYMin);
        const double yMax = c.AxisValue(AxisYMax);
        outcome = m_host.runRegressionJob(e.series, job);
        c.setAxisValue(AxisYMin, yMin);
        c.setAxisValue(AxisYMax, yMax);
        if (outcome.error == 0)
            return;
    }
    m_dialogs.inform(outcome.description + QStringLiteral(" <1>"));
}

void PointInspector::chart2PointChosen(ChartEvent &e)
{
    e.result = 1;
}

PointInspector::PlotRect PointInspector::plotArea(int chartNumber)
{
    ChartControl &c = chartWidget(chartNumber).chart();
    const quint32 savedType = c.ChartType();
    const qint16 savedAxis = c.model().queryAxis;
    // Measured on the scatter layout, whose axes are both numeric.
    c.setChartType((savedType & ~0x7u) | 0x8u);
    PlotRect r;
    for (int attempt = 0; attempt < PlotAttempts; ++attempt) {
        c.clearError();
        // The Y rows first, with the query on the Y axis whatever an earlier run left set.
        c.setQueryAxis(0);
        r.bottom = c.ChartQuery(QueryValuePosition, c.AxisValue(AxisYMin));
        r.top = c.ChartQuery(QueryValuePosition, c.AxisValue(AxisYMax));
        c.setQueryAxis(2);
        r.left = c.ChartQuery(QueryValuePosition, c.AxisValue(AxisXMin));
        r.right = c.ChartQuery(QueryValuePosition, c.AxisValue(AxisXMax));
        if (c.HasXValues()) {
            // The X axis of X values runs between the data box's corners.
            r.left = LowWordOf(c.ChartQuery(QueryPlotBottomLeft));
            r.right = LowWordOf(c.ChartQuery(QueryPlotTopRight));
        }
        if (!c.ErrorPending())
            break;
    }
    c.clearError();
    c.setQueryAxis(savedAxis);
    c.setChartType(savedType);
    return r;
}

int PointInspector::classifyClickArea(int x, int y, const PlotRect &plot, int w, int h)
{
    const double bottom = plot.bottom, top = plot.top, left = plot.left, right = plot.right;
    if (y < top / 2)
        return 1;
    if (y < top)
        return 2;
    if (y > 0.8 * bottom && y > bottom + (h - bottom) / 2)
        return 3;
    if (y > 0.8 * bottom)
        return 4;
    if (x < left / 2)
        return 5;
    if (x < left)
        return 6;
    if (x < left + w / 10.0)
        return 66;
    if (x > right && x > right + (w - right) / 2)
        return 7;
    if (x > right)
        return 8;
    if (x > 0.8 * h)
        return 7;
    return 0;
}

int PointInspector::adjustForOrientation(int code, bool horizontal)
{
    if (horizontal) {
        switch (code) {
        case 4:
            return 6;
        case 6:
            return 5;
        case 8:
            return 7;
        case 66:
            return 4;
        default:
            return code;
        }
    }
    return code == 2 ? 1 : code;
}

void PointInspector::chartClickedOutsidePoints(ChartEvent &e)
{
    if (&m_chart1 == sender())
        endDrag();
    e.result = 1;
    const int chartNumber = m_chart2.isHidden() ? 1 : 2;
    ChartControl &c = chartWidget(chartNumber).chart();
    const qint32 hit = c.ChartQuery(QueryHitTest, MakeLong(qint16(e.x), qint16(e.y)));
    if (LowWordOf(hit) >= 0)
        return;
    const qint32 extents = c.ChartQuery(QueryExtents);
    const int w = LowWordOf(extents);
    const int h = HighWordOf(extents);
    runChartErrorTrap();
    const bool horizontal = c.ChartType() & TypeHorizontal;
    const PlotRect plot = plotArea(chartNumber);
    const int code = adjustForOrientation(classifyClickArea(e.x, e.y, plot, w, h), horizontal);
    textAreaFont(chartNumber, code);
}

void PointInspector::textAreaFont(int chartNumber, int code)
{
    if (chartNumber == 2) {
        // Chart2 has one title line at the top and one label block at the side.
        if (code == 2)
            code = 1;
        else if (code == 8)
            code = 6;
    }
    if (code < 1 || code > 8)
        return;
    const TextArea &area = TextAreas[code - 1];
    ChartControl &c = chartWidget(chartNumber).chart();
    QString text;
    if (area.title == XLegend)
        text = QStringLiteral("X Legend");
    else if (area.title != NoTitle)
        text = c.TitleCaption(qint16(area.title));
    if (text.isEmpty())
        return;
    m_messages.frmMsgShow(QString(), QString::fromUtf16(area.label) + QStringLiteral(" フォント"));
    c.ChartCommand(CommandFontDialog, area.element);
    m_messages.hide();
}

} // namespace qel::chartview
