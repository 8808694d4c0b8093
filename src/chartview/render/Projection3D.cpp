#include "chartview/render/Projection3D.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qel::chartview {

namespace {

constexpr double Pi = 3.14159265358979323846;

} // namespace

Projection3D::Projection3D(const QRectF &plot, bool view3D, double elevationDegrees,
                           double rotationDegrees, double depthRatio)
    : m_plot(plot)
    , m_3d(view3D)
{
    if (!m_3d)
        return;
    m_elevation = std::clamp(elevationDegrees, -90.0, 90.0) * Pi / 180;
    const double rot = rotationDegrees * Pi / 180;
    // Straight from above (a surface's mosaic) the tilted view is the one wanted.
    m_oblique = std::fmod(std::abs(rotationDegrees), 180.0) == 0 && std::abs(elevationDegrees) < 90;
    m_sinRot = std::sin(rot);
    m_cosRot = std::cos(rot);
    m_sinEl = std::sin(m_elevation);
    m_cosEl = std::cos(m_elevation);
    m_depth = std::max(depthRatio, 0.0);
    // The box keeps the plot's proportions: width 1, height plot.h / plot.w.
    m_height = plot.width() > 0 ? plot.height() / plot.width() : 1;

    // Fit the projected corners of the box into the plot area.
    double minX = std::numeric_limits<double>::max(), maxX = -minX, minY = minX, maxY = -minX;
    for (int i = 0; i < 8; ++i) {
        double x, y, z;
        rotate(i & 1, (i >> 1) & 1, (i >> 2) & 1, x, y, z);
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    const double w = std::max(maxX - minX, 1e-9), h = std::max(maxY - minY, 1e-9);
    m_scale = std::min(plot.width() / w, plot.height() / h);
    m_offset = QPointF(plot.center().x() - (minX + maxX) / 2 * m_scale,
                       plot.center().y() + (minY + maxY) / 2 * m_scale);
}

double Projection3D::depth(const WorldPoint &p) const
{
    if (!m_3d)
        return p.w;
    double x, y, z;
    rotate(p.u, p.v, p.w, x, y, z);
    return z;
}

bool Projection3D::backIsFar() const
{
    return depth({0.5, 0, 1}) > depth({0.5, 0, 0});
}

bool Projection3D::rightIsFar() const
{
    return depth({1, 0, 0.5}) > depth({0, 0, 0.5});
}

} // namespace qel::chartview
