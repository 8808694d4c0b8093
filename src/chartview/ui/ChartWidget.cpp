#include "chartview/ui/ChartWidget.h"

#include "chartview/CfxOcx.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include <utility>

namespace qel::chartview {

ChartWidget::ChartWidget(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    buildToolBar();
    connect(&m_chart, &ChartControl::changed, this, qOverload<>(&QWidget::update));
    connect(&m_chart, &ChartControl::overlayChanged, this, qOverload<>(&QWidget::update));
}

void ChartWidget::buildToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const struct
    {
        int command;
        const char16_t *text;
        const char16_t *tip;
    } entries[] = {
        {CommandOpen, u"開く", u"チャートを開く"},
        {CommandSave, u"保存", u"チャートを保存"},
        {CommandPrint, u"印刷", u"印刷"},
        {CommandGallery, u"種類", u"グラフの種類を切り替え"},
        {CommandView3D, u"3D", u"3D 表示の切り替え"},
        {CommandRotate, u"回転", u"3D 表示を回転"},
        {CommandLegend, u"凡例", u"凡例の表示切り替え"},
        {CommandGrid, u"目盛線", u"縦の目盛線の切り替え"},
        {CommandColors, u"配色", u"配色と設定"},
    };
    for (const auto &e : entries) {
        QAction *action = m_toolBar->addAction(QString::fromUtf16(e.text));
        action->setToolTip(QString::fromUtf16(e.tip));
        action->setData(e.command);
        connect(action, &QAction::triggered, this,
                [this, command = e.command] { runCommand(command); });
        if (e.command == CommandPrint)
            addPrintMenu(action);
    }
}

void ChartWidget::addPrintMenu(QAction *print)
{
    // The print button's menu: the preview and the page set-up beside the print itself.
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("printMenu"));
    for (const auto &[command, text] : {std::pair{int(CommandPrint), u"印刷..."},
                                        std::pair{int(CommandPrintPreview), u"印刷プレビュー..."},
                                        std::pair{int(CommandPageSetup), u"ページ設定..."}}) {
        QAction *action = menu->addAction(QString::fromUtf16(text));
        action->setData(command);
        connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
    }
    if (auto *button = qobject_cast<QToolButton *>(m_toolBar->widgetForAction(print))) {
        button->setMenu(menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
}

QRect ChartWidget::chartRect() const
{
    const int top = m_toolBar && m_toolBar->isVisible() ? m_toolBar->sizeHint().height() : 0;
    return QRect(0, top, width(), std::max(height() - top, 1));
}

void ChartWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_toolBar->setGeometry(0, 0, width(), m_toolBar->sizeHint().height());
    m_chart.setViewSize(chartRect().size());
}

void ChartWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect area = chartRect();
    m_chart.setViewSize(area.size());
    painter.fillRect(rect(), palette().window());
    painter.translate(area.topLeft());
    m_chart.setPaintedLayout(m_chart.paint(&painter, QRectF(QPointF(0, 0), QSizeF(area.size()))));
    if (const QPicture *overlay = m_chart.overlay())
        painter.drawPicture(0, 0, *overlay);
}

ChartEvent ChartWidget::eventAt(const QPoint &pos, Qt::MouseButton button)
{
    ChartEvent e;
    e.x = pos.x();
    e.y = pos.y();
    e.button = button;
    const qint32 hit = m_chart.ChartQuery(QueryHitTest, MakeLong(qint16(pos.x()), qint16(pos.y())));
    e.series = LowWordOf(hit);
    e.point = e.series < 0 ? -1 : (hit - e.series) / 65536;
    return e;
}

void ChartWidget::pressAt(const QPoint &pos, Qt::MouseButton button)
{
    m_pressed = true;
    m_pressPos = pos;
    m_dragMoving = false;
    ChartEvent e = eventAt(pos, button);
    emit buttonPressed(e);
    if (m_chart.model().dragActive && e.series >= 0) {
        m_dragSeries = e.series;
        m_dragPoint = e.point;
    }
}

bool ChartWidget::withinClick(const QPoint &pos) const
{
    // A hand that clicks trembles by a pixel or two; that is no drag.
    constexpr int ClickSlop = 4;
    return (pos - m_pressPos).manhattanLength() <= ClickSlop;
}

void ChartWidget::moveTo(const QPoint &pos, Qt::MouseButtons buttons)
{
    if (m_dragSeries >= 0 && (buttons & Qt::LeftButton) && m_chart.model().dragActive) {
        if (!m_dragMoving && withinClick(pos))
            return;
        if (!m_dragMoving) {
            m_dragMoving = true;
            m_beforeDrag = m_chart.model();
            m_beforeDrag.dragActive = false; // the chart as it rests, to go back to
        }
        dragTo(pos);
        return;
    }
    ChartEvent e = eventAt(pos);
    emit mouseMoved(e);
    if (e.result == 0)
        showPointTip(e.series, e.point, pos);
}

void ChartWidget::releaseAt(const QPoint &pos, Qt::MouseButton button)
{
    const bool armed = m_dragSeries >= 0;
    const bool dragged = armed && m_dragMoving;
    const int series = m_dragSeries, point = m_dragPoint;
    m_dragSeries = m_dragPoint = -1;
    m_dragMoving = false;
    if (!m_pressed)
        return;
    m_pressed = false;
    if (armed)
        m_chart.setDragActive(false);
    if (dragged) {
        ChartModel before = std::exchange(m_beforeDrag, ChartModel());
        emit dragFinished(series, point);
        if (!(before == m_chart.model()))
            emit modelEditedByUser(before);
        return;
    }
    if (!withinClick(pos))
        return;
    ChartEvent e = eventAt(pos, button);
    if (e.series >= 0)
        emit pointClicked(e);
    else
        emit clickedOutsidePoints(e);
}

void ChartWidget::doubleClickAt(const QPoint &pos)
{
    ChartEvent e = eventAt(pos, Qt::LeftButton);
    if (e.series >= 0)
        emit pointChosen(e);
}

void ChartWidget::dragTo(const QPoint &pos)
{
    // The grabbed point follows the mouse up and down: the value under the pointer.
    const ChartLayout &layout = m_chart.currentLayout();
    const QPointF low = layout.valuePosition(layout.yScale.min, false);
    const QPointF high = layout.valuePosition(layout.yScale.max, false);
    if (qFuzzyCompare(low.y(), high.y()))
        return;
    const double f = (pos.y() - low.y()) / (high.y() - low.y());
    m_chart.setActiveSeries(qint16(m_dragSeries));
    m_chart.setValueY(m_dragPoint, layout.yScale.valueAt(f));
}

QString ChartWidget::valueText(double value)
{
    return QString::number(value, 'g', 7);
}

QString ChartWidget::pointTipText(int series, int point) const
{
    const ChartModel &m = m_chart.model();
    if (series < 0 || point < 0 || series >= m.seriesCount || point >= m.pointCount)
        return {};
    const double value = m.value(series, point);
    if (isEmptyPoint(value))
        return {};
    const QString seriesName = m.seriesCaptions.value(series).trimmed();
    const QString pointName = m.pointCaptions.value(point).trimmed();
    QStringList lines;
    lines << (seriesName.isEmpty() ? QStringLiteral("系列 %1").arg(series + 1) : seriesName);
    lines << (pointName.isEmpty() ? QStringLiteral("点 %1").arg(point + 1) : pointName);
    if (m.hasXValues)
        lines << QStringLiteral("X: ") + valueText(m.xValue(series, point));
    lines << QStringLiteral("値: ") + valueText(value);
    return lines.join(u'\n');
}

void ChartWidget::showPointTip(int series, int point, const QPoint &pos)
{
    const QString text = isVisible() ? pointTipText(series, point) : QString();
    if (text == m_shownTip && !text.isEmpty())
        return;
    m_shownTip = text;
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(mapToGlobal(pos + chartRect().topLeft()), text, this);
}

void ChartWidget::runCommand(int command)
{
    bool handled = false;
    emit commandTriggered(command, handled);
    if (!handled)
        runOwnCommand(command);
}

void ChartWidget::runOwnCommand(int command)
{
    const ChartModel &m = m_chart.model();
    switch (command) {
    case CommandGallery: {
        static const quint32 order[] = {GalleryLines,   GalleryBars, GalleryArea,
                                        GalleryScatter, GalleryPie,  GallerySurface};
        std::size_t i = 0;
        while (i < std::size(order) && order[i] != m.gallery())
            ++i;
        const quint32 next = order[(i + 1) % std::size(order)];
        m_chart.setChartType((m.chartType & ~quint32(GalleryMask)) | next);
        break;
    }
    case CommandView3D:
        m_chart.setView3D(!m.view3D);
        break;
    case CommandRotate:
        m_chart.setView3D(true);
        m_chart.setViewAngles(MakeLong(qint16(m.elevation()), qint16((m.rotation() + 15) % 360)));
        break;
    case CommandLegend:
        m_chart.setLayoutBits(m.layoutBits ^ LayoutHideLegend);
        break;
    case CommandGrid:
        m_chart.setChartType(m.chartType ^ TypeGrid);
        break;
    case CommandPageSetup:
        m_chart.ChartCommand(CommandPageSetup, 0);
        break;
    default:
        break; // file, print and colour commands belong to the host
    }
}

void ChartWidget::mousePressEvent(QMouseEvent *event)
{
    pressAt(event->position().toPoint() - chartRect().topLeft(), event->button());
}

void ChartWidget::mouseMoveEvent(QMouseEvent *event)
{
    moveTo(event->position().toPoint() - chartRect().topLeft(), event->buttons());
}

void ChartWidget::mouseReleaseEvent(QMouseEvent *event)
{
    releaseAt(event->position().toPoint() - chartRect().topLeft(), event->button());
}

void ChartWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    doubleClickAt(event->position().toPoint() - chartRect().topLeft());
}

} // namespace qel::chartview
