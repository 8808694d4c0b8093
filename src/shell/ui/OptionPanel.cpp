#include "shell/ui/OptionPanel.h"

#include "chartdoc/ChartDocument.h"
#include "chartdoc/TableFileReader.h"
#include "chartview/ui/ChartWidget.h"
#include "os/UserDialogs.h"
#include "shell/ChartOptionControls.h"
#include "shell/ui/CommandColumn.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolButton>

namespace qel::shell {

namespace {

QString numberHint()
{
    return QStringLiteral("系列と点の番号を確かめてください。");
}

} // namespace

OptionPanel::OptionPanel(const Parts &parts, QObject *parent)
    : QObject(parent)
    , m_parts(parts)
    , m_gap(parts.column.control<QLineEdit>(QStringLiteral("xGapText")))
    , m_depth(parts.column.control<QLineEdit>(QStringLiteral("depthText")))
    , m_gapBar(parts.column.control<QScrollBar>(QStringLiteral("VScroll1")))
    , m_depthBar(parts.column.control<QScrollBar>(QStringLiteral("VScroll2")))
    , m_seriesBox(parts.column.control<QLineEdit>(QStringLiteral("Text1")))
    , m_pointBox(parts.column.control<QLineEdit>(QStringLiteral("Text2")))
{
    connectButtons();
    connectNumbers();
    chartdoc::ChartDocument &doc = parts.document;
    connect(&doc, &chartdoc::ChartDocument::controlsChanged, this, &OptionPanel::showControls);
    connect(&doc, &chartdoc::ChartDocument::chartReplaced, this, &OptionPanel::showControls);
    connect(&parts.options, &ChartOptionControls::autoRotationChanged, this,
            &OptionPanel::showRotation);
    // The boxes are where the overlays read their numbers; the beep says they were entered.
    for (QLineEdit *box : {m_seriesBox, m_pointBox})
        box->installEventFilter(this);
    connect(m_pointBox, &QLineEdit::textEdited, this, [this] { m_pointTyped = true; });
    // Resting on a point fills the boxes anew (after the inspection has written them).
    connect(&parts.chart1, &chartview::ChartWidget::mouseMoved, this,
            [this] { m_pointTyped = false; });
    showControls();
}

void OptionPanel::connectButtons()
{
    const CommandColumn &c = m_parts.column;
    ChartOptionControls &options = m_parts.options;
    auto button = [&c](const QString &name) { return c.control<QAbstractButton>(name); };

    for (int index : {0, 1, 2}) {
        QAbstractButton *b = button(QStringLiteral("SSCmdThick2Dlines_%1").arg(index));
        b->installEventFilter(this);
        connect(b, &QAbstractButton::clicked, this,
                [this, index] { thickLines(index, Qt::LeftButton); });
    }
    QAbstractButton *size = button(QStringLiteral("FontSize"));
    size->installEventFilter(this);
    connect(size, &QAbstractButton::clicked, this, [this] { fontSize(Qt::LeftButton); });
    connect(button(QStringLiteral("FontSizeReset")), &QAbstractButton::clicked, &options,
            &ChartOptionControls::fontSizeReset);
    connect(button(QStringLiteral("SSCmdThickWall")), &QAbstractButton::clicked, this, [this] {
        m_parts.options.thickWall();
        m_parts.hint(QStringLiteral("3D 壁の厚さ: %1").arg(m_parts.document.chart().WallWidth()));
    });
    connect(button(QStringLiteral("SSCmdhartOnly")), &QAbstractButton::clicked, &options,
            &ChartOptionControls::onlyChart);
    for (int index = 0; index < 4; ++index) {
        QAbstractButton *b = button(QStringLiteral("SSCommandRotate_%1").arg(index));
        connect(b, &QAbstractButton::clicked, this, [this, index] {
            m_parts.options.rotate(index);
            showRotation(m_parts.options.autoRotation());
        });
    }
    connect(button(QStringLiteral("SSRibbon2")), &QAbstractButton::clicked, &options,
            &ChartOptionControls::setRibbon2);
    connect(button(QStringLiteral("SSRibbon3")), &QAbstractButton::clicked, this, [this](bool on) {
        switchControl(QStringLiteral("x軸値の縦横書き"), &chartdoc::ChartDocument::setRibbon3, on);
    });
    connect(button(QStringLiteral("SSCheck_CL_HIDEXLEG")), &QAbstractButton::clicked, this,
            [this](bool on) {
                switchControl(QStringLiteral("Hide X-leg."),
                              &chartdoc::ChartDocument::setHideXLegend, on);
            });
    connect(button(QStringLiteral("SSCheck_CL_HIDEYLEG")), &QAbstractButton::clicked, this,
            [this](bool on) {
                switchControl(QStringLiteral("Hide Y-leg."),
                              &chartdoc::ChartDocument::setHideYLegend, on);
            });
    connect(button(QStringLiteral("SSChkHidden")), &QAbstractButton::clicked, this,
            &OptionPanel::eraseHidden);
    connect(button(QStringLiteral("Check2")), &QAbstractButton::clicked, &options,
            &ChartOptionControls::trackMouse);

    connect(button(QStringLiteral("SSCmdVertConst")), &QAbstractButton::clicked, this, [this] {
        if (!m_parts.options.drawVerticalLine(pointNumber()))
            m_parts.hint(QStringLiteral("点の番号を確かめてください。"));
    });
    connect(button(QStringLiteral("SSCmdPointArrow")), &QAbstractButton::clicked, this, [this] {
        if (!m_parts.options.drawPointArrow(m_seriesBox->text(), pointNumber()))
            m_parts.hint(numberHint());
    });
}

void OptionPanel::connectNumbers()
{
    for (QLineEdit *box : {m_gap, m_depth}) {
        box->installEventFilter(this);
        connect(box, &QLineEdit::returnPressed, this, [this, box] { applyBox(box); });
    }
    // The depth box is the document's depth text as the user types it (start-up reads it).
    connect(m_depth, &QLineEdit::textEdited, &m_parts.document,
            &chartdoc::ChartDocument::setDepthText);
    for (auto [bar, box] : {std::pair{m_gapBar, m_gap}, std::pair{m_depthBar, m_depth}}) {
        // The scroll bar moves the chart as well: a drag of the thumb is one step.
        connect(bar, &QScrollBar::valueChanged, this, [this, bar, box](int value) {
            box->setText(QString::number(value));
            const bool gap = box == m_gap;
            if (bar->isSliderDown())
                gap ? m_parts.options.dragGap(value) : m_parts.options.dragDepth(value);
            else
                applyBox(box);
        });
        connect(bar, &QScrollBar::sliderReleased, &m_parts.options, &ChartOptionControls::endDrag);
    }
}

QString OptionPanel::pointNumber() const
{
    if (m_pointTyped || !m_parts.inspectedPoint)
        return m_pointBox->text();
    const int point = m_parts.inspectedPoint();
    return point >= 0 ? QString::number(point + 1) : QString();
}

void OptionPanel::applyBox(QLineEdit *box)
{
    if (box == m_gap)
        m_parts.options.applyGap(box->text());
    else
        m_parts.options.applyDepth(box->text());
    showControls(); // a clamped number shows as it was applied
}

void OptionPanel::thickLines(int index, Qt::MouseButton button)
{
    const qint16 width = m_parts.options.thickLines(index, button);
    if (width > 0)
        m_parts.hint(
            QStringLiteral("%1: %2")
                .arg(index == 0 ? QStringLiteral("目盛線の太さ") : QStringLiteral("線の太さ"))
                .arg(width));
}

void OptionPanel::fontSize(Qt::MouseButton button)
{
    if (!m_parts.options.fontSize(button))
        m_parts.hint(QStringLiteral("文字の大きさは %1～%2 ポイントの間で変わります。")
                         .arg(ChartOptionControls::MinTextSize)
                         .arg(ChartOptionControls::MaxTextSize));
}

void OptionPanel::switchControl(const QString &text, void (chartdoc::ChartDocument::*set)(bool),
                                bool on)
{
    chartdoc::ChartDocument &doc = m_parts.document;
    doc.edit(text, [&] { (doc.*set)(on); });
    m_parts.chart1.update();
}

void OptionPanel::eraseHidden(bool checked)
{
    chartdoc::ChartDocument &doc = m_parts.document;
    doc.edit(QStringLiteral("Erase hidden"), [&] {
        doc.setHiddenChecked(checked);
        // The question may answer Cancel, which clears the box and keeps the chart.
        const bool hasHidden = chartdoc::TableFileReader(doc).setChartData();
        doc.setHiddenEnabled(hasHidden);
    });
    m_parts.chart1.update();
}

void OptionPanel::showRotation(int running)
{
    for (int index : {2, 3}) {
        auto *b = m_parts.column.control<QAbstractButton>(
            QStringLiteral("SSCommandRotate_%1").arg(index));
        const QSignalBlocker block(b);
        b->setChecked(running == index);
    }
}

void OptionPanel::showControls()
{
    const chartdoc::ViewControls &c = m_parts.document.controls();
    const CommandColumn &column = m_parts.column;
    auto set = [&column](const QString &name, bool on) {
        auto *b = column.control<QAbstractButton>(name);
        const QSignalBlocker block(b);
        b->setChecked(on);
    };
    set(QStringLiteral("SSCheck_CL_HIDEXLEG"), c.hideXLegend);
    set(QStringLiteral("SSCheck_CL_HIDEYLEG"), c.hideYLegend);
    set(QStringLiteral("SSChkHidden"), c.hiddenChecked);
    set(QStringLiteral("SSRibbon3"), c.ribbon3);
    set(QStringLiteral("SSRibbon2"), m_parts.options.ribbon2());
    set(QStringLiteral("Check2"), m_parts.options.trackingMouse());
    column.control<QCheckBox>(QStringLiteral("SSChkHidden"))->setEnabled(c.hiddenEnabled);
    for (const auto &[box, text, bar] :
         {std::tuple{m_gap, c.gapText, m_gapBar}, std::tuple{m_depth, c.depthText, m_depthBar}}) {
        if (box->text() != text)
            box->setText(text);
        const QSignalBlocker block(bar);
        bar->setValue(text.toInt());
    }
    showRotation(m_parts.options.autoRotation());
}

bool OptionPanel::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == m_gap || watched == m_depth) {
        if (type == QEvent::FocusOut || type == QEvent::MouseButtonDblClick)
            applyBox(static_cast<QLineEdit *>(watched));
        return false;
    }
    if (watched == m_seriesBox || watched == m_pointBox) {
        if (type == QEvent::FocusIn)
            m_parts.dialogs.beep();
        return false;
    }
    // The line-width and text-size buttons act on the button that was let go over them: the
    // left one arrives as a click (as do the keys), the others here. Shift+Space stands in for
    // the right button.
    if (type == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Space || !(key->modifiers() & Qt::ShiftModifier))
            return false;
        if (!key->isAutoRepeat())
            actWith(static_cast<QAbstractButton *>(watched), Qt::RightButton);
        return true;
    }
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
        return false;
    auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() == Qt::LeftButton)
        return false;
    auto *b = static_cast<QAbstractButton *>(watched);
    if (type == QEvent::MouseButtonRelease && b->rect().contains(mouse->position().toPoint()))
        actWith(b, mouse->button());
    return true;
}

void OptionPanel::actWith(QAbstractButton *b, Qt::MouseButton button)
{
    if (b->objectName() == QStringLiteral("FontSize"))
        fontSize(button);
    else
        thickLines(b->objectName().back().digitValue(), button);
}

} // namespace qel::shell
