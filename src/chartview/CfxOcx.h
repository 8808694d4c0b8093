#pragma once

#include <QtGlobal>

#include <functional>

namespace qel::chartview {

class ChartView;

// Packing of 16-bit pairs exchanged with the chart, and the chart error trap.
// A pair (low, high) travels as high * 65536 + low.

qint16 LowWordOf(qint32 v);
// v / 65536 truncated towards zero, as a signed 16-bit number.
qint16 HighWordOf(qint32 v);
// Runs the installed chart error trap: called after a pair that a chart answered was
// unpacked, so a pending chart error is met once per answer.
void runChartErrorTrap();
qint32 MakeLong(qint16 low, qint16 high);

// mode 0 writes LayoutPair(0x4000 + selector) = MakeLong(a, b); mode 1 reads it into a and b.
void LayoutPairAccess(ChartView &chart, int mode, int selector, qint16 &a, qint16 &b);

// The chart error trap: after a chart call fails it beeps, stops the program's own
// background painting (so a failing paint cannot repeat) and sends one recovery command
// until a later call succeeds.
class ChartErrorTrap
{
public:
    explicit ChartErrorTrap(ChartView &chart);
    ~ChartErrorTrap();

    void run();
    void setBeep(void (*beep)()) { m_beep = beep; }
    // How the background painting is stopped; without one the chart's own gradient is switched
    // off directly. The program passes its document's switch, so its windows hear of it.
    void setGradientSwitchOff(std::function<void()> switchOff)
    {
        m_switchOff = std::move(switchOff);
    }
    // chartErrorShown: the recovery command was sent and no call has succeeded since.
    bool chartErrorShown() const { return m_chartErrorShown; }

    // The trap runChartErrorTrap runs; the main window installs one for its working chart.
    static ChartErrorTrap *installed();

private:
    ChartView &m_chart;
    std::function<void()> m_switchOff;
    bool m_chartErrorShown = false;
    void (*m_beep)() = nullptr;
};

} // namespace qel::chartview
