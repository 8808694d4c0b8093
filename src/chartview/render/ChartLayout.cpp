#include "chartview/render/ChartLayout.h"

#include <algorithm>
#include <limits>

namespace qel::chartview {

// The anchors by square cells of the chart: a query looks only at the cells its circle
// touches.
struct ChartLayout::AnchorGrid
{
    static constexpr double Cell = 16;
    QRectF bounds;
    int columns = 0, rows = 0;
    std::vector<int> start; // per cell, where its anchors begin in order; one more at the end
    std::vector<int> order; // anchor indices, cell by cell, each cell's in ascending order

    explicit AnchorGrid(const std::vector<PointAnchor> &anchors)
    {
        double left = anchors.front().position.x(), right = left;
        double top = anchors.front().position.y(), bottom = top;
        for (const PointAnchor &a : anchors) {
            left = std::min(left, a.position.x());
            right = std::max(right, a.position.x());
            top = std::min(top, a.position.y());
            bottom = std::max(bottom, a.position.y());
        }
        bounds = QRectF(QPointF(left, top), QPointF(right, bottom));
        columns = std::clamp(int(bounds.width() / Cell) + 1, 1, 4096);
        rows = std::clamp(int(bounds.height() / Cell) + 1, 1, 4096);
        std::vector<int> count(std::size_t(columns) * std::size_t(rows) + 1, 0);
        std::vector<int> cells(anchors.size());
        for (std::size_t i = 0; i < anchors.size(); ++i) {
            cells[i] = cellOf(anchors[i].position);
            ++count[std::size_t(cells[i]) + 1];
        }
        for (std::size_t c = 1; c < count.size(); ++c)
            count[c] += count[c - 1];
        start = count;
        order.resize(anchors.size());
        for (std::size_t i = 0; i < anchors.size(); ++i)
            order[std::size_t(count[std::size_t(cells[i])]++)] = int(i);
    }
    int column(double x) const
    {
        return std::clamp(int((x - bounds.left()) / Cell), 0, columns - 1);
    }
    int row(double y) const { return std::clamp(int((y - bounds.top()) / Cell), 0, rows - 1); }
    int cellOf(const QPointF &p) const { return row(p.y()) * columns + column(p.x()); }
};

const PointAnchor *ChartLayout::nearestAnchor(const QPointF &pos, double radius) const
{
    // The nearest within radius; of equally near ones the last, as a scan in order finds it.
    const PointAnchor *best = nullptr;
    double bestDistance = radius * radius;
    const auto consider = [&](const PointAnchor &a) {
        const double dx = a.position.x() - pos.x(), dy = a.position.y() - pos.y();
        const double d = dx * dx + dy * dy;
        if (d < bestDistance || (d == bestDistance && (!best || &a > best))) {
            bestDistance = d;
            best = &a;
        }
    };
    if (runsCoverAnchors()) {
        // Only the anchors within radius across are looked at, found by bisection.
        const double left = pos.x() - radius, right = pos.x() + radius;
        for (const AnchorRun &run : xOrderedRuns) {
            const auto first = anchors.begin() + std::ptrdiff_t(run.begin);
            const auto last = anchors.begin() + std::ptrdiff_t(run.end);
            if (run.falling) {
                auto it = std::lower_bound(first, last, right, [](const PointAnchor &a, double x) {
                    return a.position.x() > x;
                });
                for (; it != last && it->position.x() >= left; ++it)
                    consider(*it);
            } else {
                auto it = std::lower_bound(first, last, left, [](const PointAnchor &a, double x) {
                    return a.position.x() < x;
                });
                for (; it != last && it->position.x() <= right; ++it)
                    consider(*it);
            }
        }
        return best;
    }
    // A scan of every anchor takes well under a millisecond; sorting them into the grid takes
    // longer, so the grid is made only once the mouse keeps asking about the same picture.
    constexpr std::size_t Few = 2048;
    constexpr int ScansBeforeGrid = 8;
    if (anchors.size() <= Few || (!m_grid && ++m_scans <= ScansBeforeGrid)) {
        for (const PointAnchor &a : anchors)
            consider(a);
        return best;
    }
    if (!m_grid)
        m_grid = std::make_shared<const AnchorGrid>(anchors);
    const AnchorGrid &g = *m_grid;
    if (!(radius >= 0) || pos.x() < g.bounds.left() - radius ||
        pos.x() > g.bounds.right() + radius || pos.y() < g.bounds.top() - radius ||
        pos.y() > g.bounds.bottom() + radius)
        return nullptr;
    for (int r = g.row(pos.y() - radius); r <= g.row(pos.y() + radius); ++r) {
        for (int c = g.column(pos.x() - radius); c <= g.column(pos.x() + radius); ++c) {
            const std::size_t cell = std::size_t(r) * std::size_t(g.columns) + std::size_t(c);
            for (int k = g.start[cell]; k < g.start[cell + 1]; ++k)
                consider(anchors[std::size_t(g.order[std::size_t(k)])]);
        }
    }
    return best;
}

void ChartLayout::addOrderedRun(std::size_t begin)
{
    if (begin >= anchors.size())
        return;
    bool rising = true, falling = true;
    for (std::size_t i = begin + 1; i < anchors.size() && (rising || falling); ++i) {
        const double step = anchors[i].position.x() - anchors[i - 1].position.x();
        rising = rising && step >= 0;
        falling = falling && step <= 0;
    }
    addOrderedRun(begin, rising, falling);
}

void ChartLayout::addOrderedRun(std::size_t begin, bool rising, bool falling)
{
    if (begin < anchors.size() && (rising || falling))
        xOrderedRuns.push_back({begin, anchors.size(), !rising});
}

bool ChartLayout::runsCoverAnchors() const
{
    if (xOrderedRuns.empty())
        return false;
    std::size_t covered = 0;
    for (const AnchorRun &run : xOrderedRuns)
        covered += run.end - run.begin;
    return covered == anchors.size();
}

std::pair<int, int> ChartLayout::hitTest(const QPointF &pos, double radius) const
{
    if (const PointAnchor *best = nearestAnchor(pos, radius))
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
