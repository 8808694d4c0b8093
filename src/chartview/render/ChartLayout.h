#pragma once

#include "chartview/AxisScale.h"
#include "chartview/render/Projection3D.h"

#include <QPolygonF>
#include <QRectF>

#include <memory>
#include <vector>

namespace qel::chartview {

// Where one drawn point landed: its anchor (marker centre, bar top, slice middle).
struct PointAnchor
{
    int series = -1;
    int point = -1;
    QPointF position;
    bool marker = false; // a marker was drawn there
};

// An area that belongs to a point (a bar, a slice), in paint order.
struct PointRegion
{
    int series = -1;
    int point = -1;
    QPolygonF polygon;
};

// The geometry of one paint, recorded while painting, in chart pixels (1/96 inch) from the
// chart's top-left corner. Mouse queries are answered from it, so what is hit is what was drawn.
struct ChartLayout
{
    QSizeF size;
    QRectF plot;     // the area the data box is fitted into
    QRectF dataRect; // 2D: the plot; 3D: the bounding box of the projected data box
    Projection3D projection;
    AxisScale yScale;
    AxisScale y2Scale;
    AxisScale xScale; // numeric X axis (scatter, or X values in use)
    bool numericX = false;
    bool horizontal = false;
    // Point slots of a category axis: the points of the data series. Fitted curves may have
    // more points than that; they do not widen the axis.
    int slotCount = 0;
    int seriesRows = 1; // depth rows in 3D
    std::vector<PointAnchor> anchors;
    // Stretches of the anchors whose x only grows or only falls (a line's points along its
    // axis). When they hold every anchor, a query bisects each instead of looking at every
    // anchor.
    struct AnchorRun
    {
        std::size_t begin = 0;
        std::size_t end = 0;
        bool falling = false; // x never grows
    };
    std::vector<AnchorRun> xOrderedRuns;
    std::vector<PointRegion> regions;
    std::vector<int> legend; // the series (the points of a pie) the legend lists, in order

    // The u coordinate (0..1 across the box) of a point's slot centre on a category axis.
    double slotCentre(int point) const { return (point + 0.5) / std::max(slotCount, 1); }
    double slotWidth() const { return 1.0 / std::max(slotCount, 1); }
    // The u coordinate of a point number (1 for the first slot) on a category axis; curves
    // computed over the point numbers are drawn through it.
    double pointNumberU(double number) const { return (number - 0.5) / std::max(slotCount, 1); }

    // The point under pos: the nearest anchor within radius, else the front-most region
    // containing pos. {-1, -1} when there is none. Many anchors are searched through a grid
    // made once a few queries came, so the anchors must not change after the first query.
    std::pair<int, int> hitTest(const QPointF &pos, double radius = 6) const;
    // Records anchors[begin, anchors.size()) as a stretch when their x is ordered.
    void addOrderedRun(std::size_t begin);
    // The same, for a caller that watched the order while adding them.
    void addOrderedRun(std::size_t begin, bool rising, bool falling);
    // The anchor of a drawn point; false for a hidden or unknown point.
    bool pointPosition(int series, int point, QPointF &pos) const;
    // The screen position of a value on the Y axis (or the X axis); the point where the
    // value meets the front face of the data box.
    QPointF valuePosition(double value, bool xAxis) const;

private:
    struct AnchorGrid;
    const PointAnchor *nearestAnchor(const QPointF &pos, double radius) const;
    // Whether xOrderedRuns hold every anchor.
    bool runsCoverAnchors() const;
    mutable std::shared_ptr<const AnchorGrid> m_grid;
    mutable int m_scans = 0; // queries answered by scanning, before the grid is made
};

} // namespace qel::chartview
