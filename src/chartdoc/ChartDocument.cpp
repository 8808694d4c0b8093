#include "chartdoc/ChartDocument.h"

#include "chartdoc/ChartOptions.h"
#include "chartview/ChartModel.h"
#include "chartview/ChartView.h"

#include <QUndoCommand>

#include <algorithm>
#include <cmath>

namespace qel::chartdoc {

using namespace chartview;

namespace {

void switchAxisBit(ChartView &chart, quint32 bit, bool on)
{
    const quint32 bits = chart.AxisBits();
    chart.setAxisBits(on ? bits | bit : bits & ~bit);
}

// One edit of the chart, kept as the whole chart before and after it: the chart is a plain
// value, so undoing is exact whatever the edit touched. The chart after the edit is taken when
// it is first undone, so what its caller did to finish the edit (an axis range put back after
// a regression) is part of it.
class ChartSnapshotCommand : public QUndoCommand
{
public:
    ChartSnapshotCommand(ChartDocument &document, const QString &text, ChartModel before)
        : QUndoCommand(text)
        , m_document(document)
        , m_before(std::move(before))
    {}

    void undo() override
    {
        if (m_first) {
            m_after = m_document.chart().model();
            m_first = false;
        }
        restore(m_before);
    }
    void redo() override
    {
        // The edit is already on the chart when the command is pushed.
        if (!m_first)
            restore(m_after);
    }

private:
    void restore(const ChartModel &model)
    {
        m_document.chart().setModel(model);
        m_document.controlsFollowChart();
        emit m_document.chartReplaced();
    }

    ChartDocument &m_document;
    ChartModel m_before;
    ChartModel m_after;
    bool m_first = true;
};

} // namespace

ChartDocument::ChartDocument(ChartView &chart, os::UserDialogs &dialogs,
                             os::MessageWindow &messages, QObject *parent)
    : QObject(parent)
    , m_chart(chart)
    , m_dialogs(dialogs)
    , m_messages(messages)
{
    m_controls.depthText = QString::number(chart.Depth3D());
    m_controls.gapText = QString::number(chart.PointGap());
    connect(&m_undo, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit modifiedChanged(!clean); });
}

ChartDocument::~ChartDocument() = default;

void ChartDocument::setControls(const ViewControls &controls)
{
    if (controls == m_controls)
        return;
    m_controls = controls;
    emit controlsChanged();
}

void ChartDocument::setFlag(bool ViewControls::*flag, bool on)
{
    ViewControls c = m_controls;
    c.*flag = on;
    setControls(c);
}

void ChartDocument::switchAxisControl(quint32 bit, bool ViewControls::*flag, bool on)
{
    switchAxisBit(m_chart, bit, on);
    setFlag(flag, on);
}

void ChartDocument::setHiddenChecked(bool on)
{
    setFlag(&ViewControls::hiddenChecked, on);
}

void ChartDocument::setHiddenEnabled(bool on)
{
    setFlag(&ViewControls::hiddenEnabled, on);
}

void ChartDocument::setHideXLegend(bool on)
{
    switchAxisControl(AxisHideXLabels, &ViewControls::hideXLegend, on);
}

void ChartDocument::setHideYLegend(bool on)
{
    switchAxisControl(AxisHideYLabels, &ViewControls::hideYLegend, on);
}

void ChartDocument::setRibbon3(bool down)
{
    switchAxisControl(AxisVerticalXLabels, &ViewControls::ribbon3, down);
}

void ChartDocument::updateGapScroll()
{
    ViewControls c = m_controls;
    c.gapText = QString::number(m_chart.PointGap());
    setControls(c);
}

void ChartDocument::updateDepthScroll()
{
    ViewControls c = m_controls;
    c.depthText = QString::number(m_chart.Depth3D());
    setControls(c);
}

void ChartDocument::setDepthText(const QString &text)
{
    ViewControls c = m_controls;
    c.depthText = text;
    setControls(c);
}

void ChartDocument::depthText_DblClick()
{
    const double v = std::clamp(std::round(leadingNumber(m_controls.depthText)), 0.0, 999.0);
    m_chart.setDepth3D(qint16(v));
    setDepthText(QString::number(qint16(v)));
}

void ChartDocument::controlsFollowChart()
{
    ViewControls c = m_controls;
    const quint32 bits = m_chart.AxisBits();
    c.hideXLegend = bits & AxisHideXLabels;
    c.hideYLegend = bits & AxisHideYLabels;
    c.ribbon3 = bits & AxisVerticalXLabels;
    c.gapText = QString::number(m_chart.PointGap());
    c.depthText = QString::number(m_chart.Depth3D());
    setControls(c);
}

BackgroundGradient ChartDocument::gradient() const
{
    return m_chart.backgroundGradient();
}

void ChartDocument::setGradient(const BackgroundGradient &gradient)
{
    if (gradient == m_chart.backgroundGradient())
        return;
    m_chart.setBackgroundGradient(gradient);
    emit gradientChanged();
}

void ChartDocument::switchGradientOff()
{
    BackgroundGradient g = gradient();
    g.on = false;
    setGradient(g);
}

int ChartDocument::userGroupCount() const
{
    const int groups = m_chart.SeriesTotal();
    return m_colorGroupCount > 0 && m_colorGroupCount <= groups ? m_colorGroupCount : groups;
}

void ChartDocument::setLegendText(const QString &text)
{
    if (text == m_legend)
        return;
    m_legend = text;
    emit legendChanged(text);
}

void ChartDocument::setCurrentFile(const QString &path)
{
    if (path == m_currentFile)
        return;
    m_currentFile = path;
    emit currentFileChanged(path);
}

void ChartDocument::markSaved()
{
    m_undo.setClean();
}

void ChartDocument::resetHistory()
{
    m_undo.clear(); // a cleared stack is clean
    emit modifiedChanged(false);
}

void ChartDocument::recordEdit(const QString &text, const ChartModel &before)
{
    if (m_chart.model() == before)
        return;
    m_undo.push(new ChartSnapshotCommand(*this, text, before));
}

} // namespace qel::chartdoc
