#pragma once

#include <QtGlobal>

#include <array>

namespace qel::chartview {
class ChartView;
}

namespace qel::shell {

// Keeps the chart's spacing in proportion to the chart's size on screen. Each resize scales
// the spacing the chart had at its reference size by the factors against that size
// (changeChartFont_GapSize), so a window dragged through many sizes ends as one resized in a
// single step would, and the same size twice gives the same chart. A change made to the
// spacing by anything else is kept: it becomes the base at the factor it was made at.
class SpacingFollower
{
public:
    // rx, ry: Chart1 against the reference size; resetX, resetY: the reference was taken anew.
    void follow(chartview::ChartView &chart, double rx, double ry, bool resetX, bool resetY);

private:
    using Horizontal = std::array<qint16, 3>; // members 5, 6 and the point gap
    using Vertical = std::array<qint16, 2>;   // members 7, 8

    static Horizontal horizontal(const chartview::ChartView &chart);
    static Vertical vertical(const chartview::ChartView &chart);
    static void setHorizontal(chartview::ChartView &chart, const Horizontal &values);
    static void setVertical(chartview::ChartView &chart, const Vertical &values);

    bool m_known = false;
    Horizontal m_baseX{};
    Vertical m_baseY{};
    double m_baseFactorX = 1;
    double m_baseFactorY = 1;
    Horizontal m_setX{};
    Vertical m_setY{};
    double m_lastX = 1;
    double m_lastY = 1;
};

} // namespace qel::shell
