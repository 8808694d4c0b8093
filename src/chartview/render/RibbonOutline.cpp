#include "chartview/render/RibbonOutline.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qel::chartview {

RibbonOutline::RibbonOutline(const QPointF &along)
    : m_along(along)
    , m_outlined(!along.isNull())
{}

void RibbonOutline::startColumn(const RibbonPoint &point, std::size_t index, double column,
                                double across)
{
    if (index > 0)
        keepColumn();
    m_column = column;
    m_columnFirst = m_lowest = m_highest = m_columnLast = {point, index};
    m_lowAcross = m_highAcross = across;
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
