#pragma once

#include <QPointF>

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

    void add(const RibbonPoint &point);
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
    double alongOf(const QPointF &at) const;
    double acrossOf(const QPointF &at) const;

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
