#include "chartdoc/TableLoadContext.h"

#include "chartdoc/ChartOptions.h"
#include "chartview/ChartModel.h"
#include "chartview/ChartView.h"

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

} // namespace

TableLoadContext::TableLoadContext(ChartView &chart, TableImage &table, os::UserDialogs &dialogs,
                                   MessageWindow &messages, settings::Form2State &form2)
    : m_chart(chart)
    , m_table(table)
    , m_dialogs(dialogs)
    , m_messages(messages)
    , m_form2(form2)
    , m_depthText(QString::number(chart.Depth3D()))
    , m_gapText(QString::number(chart.PointGap()))
{}

TableLoadContext::~TableLoadContext() = default;

void TableLoadContext::setHideXLegend(bool on)
{
    m_hideXLegend = on;
    switchAxisBit(m_chart, AxisHideXLabels, on);
}

void TableLoadContext::setHideYLegend(bool on)
{
    m_hideYLegend = on;
    switchAxisBit(m_chart, AxisHideYLabels, on);
}

void TableLoadContext::setRibbon3(bool down)
{
    m_ribbon3 = down;
    switchAxisBit(m_chart, AxisVerticalXLabels, down);
}

void TableLoadContext::updateGapScroll()
{
    m_gapText = QString::number(m_chart.PointGap());
}

void TableLoadContext::updateDepthScroll()
{
    m_depthText = QString::number(m_chart.Depth3D());
}

void TableLoadContext::depthText_DblClick()
{
    const double v = std::clamp(std::round(leadingNumber(m_depthText)), 0.0, 999.0);
    m_chart.setDepth3D(qint16(v));
    m_depthText = QString::number(qint16(v));
}

void TableLoadContext::tableFileWritten(const QString &) {}

} // namespace qel::chartdoc
