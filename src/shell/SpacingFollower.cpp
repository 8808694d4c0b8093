#include "shell/SpacingFollower.h"

#include "chartview/ChartView.h"
#include "shell/ChartSpacing.h"

#include <cmath>

namespace qel::shell {

namespace {

// Pixel rounding must not turn an unchanged factor into a rescale.
double exactOne(double factor)
{
    return std::abs(factor - 1) < 1e-9 ? 1 : factor;
}

} // namespace

SpacingFollower::Horizontal SpacingFollower::horizontal(const chartview::ChartView &chart)
{
    return {chart.Spacing(5), chart.Spacing(6), chart.PointGap()};
}

SpacingFollower::Vertical SpacingFollower::vertical(const chartview::ChartView &chart)
{
    return {chart.Spacing(7), chart.Spacing(8)};
}

void SpacingFollower::setHorizontal(chartview::ChartView &chart, const Horizontal &values)
{
    if (horizontal(chart) == values)
        return;
    chart.setSpacing(5, values[0]);
    chart.setSpacing(6, values[1]);
    chart.setPointGap(values[2]);
}

void SpacingFollower::setVertical(chartview::ChartView &chart, const Vertical &values)
{
    if (vertical(chart) == values)
        return;
    chart.setSpacing(7, values[0]);
    chart.setSpacing(8, values[1]);
}

void SpacingFollower::follow(chartview::ChartView &chart, double rx, double ry, bool resetX,
                             bool resetY)
{
    const Horizontal nowX = horizontal(chart);
    const Vertical nowY = vertical(chart);
    if (!m_known || resetX || nowX != m_setX) {
        m_baseX = nowX;
        m_baseFactorX = resetX || !m_known ? 1 : m_lastX;
    }
    if (!m_known || resetY || nowY != m_setY) {
        m_baseY = nowY;
        m_baseFactorY = resetY || !m_known ? 1 : m_lastY;
    }
    m_known = true;

    setHorizontal(chart, m_baseX);
    setVertical(chart, m_baseY);
    const double fh = exactOne(rx / m_baseFactorX);
    const double fv = exactOne(ry / m_baseFactorY);
    if (fh * fv != 1)
        changeChartFont_GapSize(chart, fv, fh);

    m_setX = horizontal(chart);
    m_setY = vertical(chart);
    m_lastX = rx;
    m_lastY = ry;
}

} // namespace qel::shell
