#include "chartview/render/ChartLayout.h"

#include <limits>

namespace qel::chartview {

std::pair<int, int> ChartLayout::hitTest(const QPointF &pos, double radius) const
{
    const PointAnchor *best = nullptr;
    double bestDistance = radius * radius;
    for (const PointAnchor &a : anchors) {
        const double dx = a.position.x() - pos.x(), dy = a.position.y() - pos.y();
        const double d = dx * dx + dy * dy;
        if (d <= bestDistance) {
            bestDistance = d;
            best = &a;
        }
    }
    if (best)
        return {best->series, best->point};
    for (auto it = regions.rbegin(); it != regions.rend(); ++it) {
        if (it->polygon.containsPoint(pos, Qt::OddEvenFill))
            return {it->series, it->point};
    }
    return {-1, -1};
}

bool ChartLayout::pointPosition(int series, int point, QPointF &pos) const
{
    for (const PointAnchor &a : anchors) {
        if (a.series == series && a.point == point) {
            pos = a.position;
            return true;
        }
    }
    return false;
}

QPointF ChartLayout::valuePosition(double value, bool xAxis) const
{
    double f;
    if (xAxis)
        f = numericX ? xScale.fraction(value) : pointNumberU(value);
    else
        f = yScale.fraction(value);
    if (horizontal && !projection.is3D())
        return xAxis ? projection.map(0, f) : projection.map(f, 0);
    return xAxis ? projection.map(f, 0) : projection.map(0, f);
}

} // namespace qel::chartview
