#include "chartview/CfxOcx.h"

#include "chartview/ChartView.h"

namespace qel::chartview {

namespace {

ChartErrorTrap *g_installedTrap = nullptr;

} // namespace

qint16 LowWordOf(qint32 v)
{
    return qint16(quint16(quint32(v) & 0xFFFFu));
}

qint16 HighWordOf(qint32 v)
{
    return qint16(quint16(quint32(v / 65536) & 0xFFFFu));
}

void runChartErrorTrap()
{
    if (g_installedTrap)
        g_installedTrap->run();
}

qint32 MakeLong(qint16 low, qint16 high)
{
    return qint32(high) * 65536 + qint32(low);
}

void LayoutPairAccess(ChartView &chart, int mode, int selector, qint16 &a, qint16 &b)
{
    if (selector != 0 && selector != 1)
        return;
    const qint32 index = 0x4000 + selector;
    if (mode == 0) {
        chart.setLayoutPair(index, MakeLong(a, b));
    } else if (mode == 1) {
        const qint32 v = chart.LayoutPair(index);
        a = LowWordOf(v);
        b = HighWordOf(v);
        runChartErrorTrap();
    }
}

ChartErrorTrap::ChartErrorTrap(ChartView &chart)
    : m_chart(chart)
{
    g_installedTrap = this;
}

ChartErrorTrap::~ChartErrorTrap()
{
    if (g_installedTrap == this)
        g_installedTrap = nullptr;
}

ChartErrorTrap *ChartErrorTrap::installed()
{
    return g_installedTrap;
}

void ChartErrorTrap::run()
{
    if (!m_chart.ErrorPending()) {
        m_chartErrorShown = false;
        return;
    }
    m_chart.clearError();
    if (m_beep)
        m_beep();
    if (m_switchOff) {
        m_switchOff();
    } else {
        BackgroundGradient gradient = m_chart.backgroundGradient();
        gradient.on = false;
        m_chart.setBackgroundGradient(gradient);
    }
    if (!m_chartErrorShown) {
        m_chartErrorShown = true;
        m_chart.ChartCommand(CommandRecover, 0);
    }
}

} // namespace qel::chartview
