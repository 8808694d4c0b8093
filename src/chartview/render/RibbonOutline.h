#pragma once

#include <QPointF>

#include <cmath>

#include <cstddef>
#include <vector>

namespace qel::chartview {

// A point of a 3D ribbon: its place in the chart's box and on the screen.
struct RibbonPoint
{
    double u = 0, v = 0;
    QPointF front; // on the screen, at the ribbon's front edge
};

// A run of a 3D ribbon, taken a point at a time: how many points it has, its first and last,
// and the outline that draws it whole when it has more points than pixels: per pixel column
// along the run's direction on the screen, its first, lowest, highest and last point. Only
// those are kept, so a run of a million points needs no array of them.
class RibbonOutline
{
public:
    // along: the unit direction of the u axis on the screen; without one no outline is kept.
    explicit RibbonOutline(const QPointF &along);

    // Inline: a run may have a million points.
    void add(const RibbonPoint &point)
    {
        const std::size_t index = m_count++;
        if (index == 0)
            m_first = point;
        m_last = point;
        if (!m_outlined)
            return;
        const double column = std::floor(alongOf(point.front));
        const double across = acrossOf(point.front);
        if (index == 0 || column != m_column) {
            startColumn(point, index, column, across);
            return;
        }
        if (across < m_lowAcross) {
            m_lowAcross = across;
            m_lowest = {point, index};
        }
        if (across > m_highAcross) {
            m_highAcross = across;
            m_highest = {point, index};
        }
        m_columnLast = {point, index};
    }
    // Ends the run's last column; call once the run's last point was added.
    void finish();
    void clear();

    std::size_t count() const { return m_count; }
    const RibbonPoint &first() const { return m_first; }
    const RibbonPoint &last() const { return m_last; }
    const std::vector<RibbonPoint> &kept() const { return m_kept; }

private:
    struct Candidate
    {
        RibbonPoint point;
        std::size_t index = 0; // in the run
    };
    void keepColumn();
    void startColumn(const RibbonPoint &point, std::size_t index, double column, double across);
    double alongOf(const QPointF &at) const
    {
        const QPointF d = at - m_first.front;
        return d.x() * m_along.x() + d.y() * m_along.y();
    }
    double acrossOf(const QPointF &at) const
    {
        return -at.x() * m_along.y() + at.y() * m_along.x();
    }

    QPointF m_along;
    bool m_outlined;
    std::size_t m_count = 0;
    RibbonPoint m_first, m_last;
    double m_column = 0;
    Candidate m_columnFirst, m_lowest, m_highest, m_columnLast;
    double m_lowAcross = 0, m_highAcross = 0;
    std::vector<RibbonPoint> m_kept;
};

} // namespace qel::chartview
