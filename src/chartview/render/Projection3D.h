#pragma once

#include <QPointF>
#include <QRectF>

namespace qel::chartview {

// A point of the chart's box: u across the points (0..1), v up the values (0..1),
// w into the depth (0..1, the front at 0).
struct WorldPoint
{
    double u = 0;
    double v = 0;
    double w = 0;
};

// Maps the chart's box onto the plot area: flat in 2D, an orthographic view turned by
// the rotation about the vertical axis and tilted by the elevation in 3D. Seen straight from
// the front or the back (rotation 0 or 180) a tilted box would hide its side wall, and with it
// the grid lines that carry the values from the axis to the data further back; there the view
// is the oblique one of a pseudo-3D chart: the front face as in 2D, the depth drawn receding
// up to the right at the elevation's angle (unless seen from straight above).
class Projection3D
{
public:
    Projection3D() = default;
    // depthRatio: the box's depth relative to its width.
    Projection3D(const QRectF &plot, bool view3D, double elevationDegrees, double rotationDegrees,
                 double depthRatio);

    // Inline: a chart of many points maps every one of them on every paint.
    QPointF map(const WorldPoint &p) const { return map(p.u, p.v, p.w); }
    QPointF map(double u, double v, double w = 0) const
    {
        if (!m_3d)
            return {m_plot.left() + u * m_plot.width(), m_plot.bottom() - v * m_plot.height()};
        double x, y, z;
        rotate(u, v, w, x, y, z);
        return {m_offset.x() + x * m_scale, m_offset.y() - y * m_scale};
    }
    // Distance from the viewer: larger is farther; faces are painted far to near.
    double depth(const WorldPoint &p) const;
    bool is3D() const { return m_3d; }
    // Which side of the box faces away from the viewer (for the walls).
    bool backIsFar() const;  // the w = 1 face is behind
    bool rightIsFar() const; // the u = 1 face is behind
    bool floorVisible() const { return m_elevation > 0; }
    bool isOblique() const { return m_oblique; }
    // Pixels per unit of the box's width; the box is boxHeight() high and depthRatio() deep in
    // those units, so a length in pixels converts to every axis alike.
    double scale() const { return m_scale; }
    double boxHeight() const { return m_height; }
    double depthRatio() const { return m_depth; }

private:
    void rotate(double u, double v, double w, double &x, double &y, double &z) const
    {
        // Centre the box on the vertical axis it turns about.
        const double cx = u - 0.5, cy = v * m_height, cz = (w - 0.5) * m_depth;
        const double x1 = cx * m_cosRot + cz * m_sinRot;
        const double z1 = -cx * m_sinRot + cz * m_cosRot;
        if (m_oblique) {
            // The depth recedes along (cos, sin) of the elevation; the viewer looks along
            // (-cos, -sin, 1), so the distance from the viewer is measured along it.
            x = x1 + z1 * m_cosEl;
            y = cy + z1 * m_sinEl;
            z = z1 - x1 * m_cosEl - cy * m_sinEl;
            return;
        }
        x = x1;
        y = cy * m_cosEl + z1 * m_sinEl;
        z = -cy * m_sinEl + z1 * m_cosEl;
    }

    QRectF m_plot;
    bool m_3d = false;
    bool m_oblique = false;
    double m_elevation = 0; // radians
    double m_sinRot = 0, m_cosRot = 1, m_sinEl = 0, m_cosEl = 1;
    double m_depth = 0;
    double m_scale = 1;
    QPointF m_offset;
    double m_height = 1; // the box's height in box units
};

} // namespace qel::chartview
