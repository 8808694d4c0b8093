#include "chartview/render/RibbonOutline.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qel::chartview {

RibbonOutline::RibbonOutline(const QPointF &along)
    : m_along(along)
    , m_outlined(!along.isNull())
{}

double RibbonOutline::alongOf(const QPointF &at) const
{
    const QPointF d = at - m_first.front;
    return d.x() * m_along.x() + d.y() * m_along.y();
}

double RibbonOutline::acrossOf(const QPointF &at) const
{
    return -at.x() * m_along.y() + at.y() * m_along.x();
}

void RibbonOutline::add(const RibbonPoint &point)
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
        if (index > 0)
            keepColumn();
        m_column = column;
        m_columnFirst = m_lowest = m_highest = m_columnLast = {point, index};
        m_lowAcross = m_highAcross = across;
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

void RibbonOutline::keepColumn()
{
    // In the run's order, each point once.
    const bool lowFirst = m_lowest.index <= m_highest.index;
    std::size_t kept = std::numeric_limits<std::size_t>::max();
    for (const Candidate *c : {&m_columnFirst, lowFirst ? &m_lowest : &m_highest,
                               lowFirst ? &m_highest : &m_lowest, &m_columnLast}) {
        if (c->index != kept)
            m_kept.push_back(c->point);
        kept = c->index;
    }
}

void RibbonOutline::finish()
{
    if (m_outlined && m_count > 0)
        keepColumn();
}

void RibbonOutline::clear()
{
    m_count = 0;
    m_kept.clear();
}

} // namespace qel::chartview
