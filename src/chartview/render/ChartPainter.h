#pragma once

#include "chartview/ChartModel.h"
#include "chartview/render/ChartLayout.h"

#include <QFont>
#include <QRect>

#include <functional>
#include <vector>

class QPainter;

namespace qel::chartview {

// Draws a chart model into any QPainter (widget, image, PDF, printer, SVG) and records
// the geometry of what it drew. One routine for every output, so they all look alike.
class ChartPainter
{
public:
    using BackgroundPainter = std::function<bool(QPainter *painter, const QRect &area)>;

    explicit ChartPainter(const ChartModel &model, BackgroundPainter background = {});

    // Paints into target (in the painter's coordinates). resolution is the target's dots per
    // inch: the chart is laid out in chart pixels of 1/96 inch and scaled to it, so text and
    // lines keep their proportions on any device. Returns the layout in chart pixels
    // relative to the target's top-left corner.
    // Without recordPoints the layout leaves out where each point landed (pictures and
    // prints need no mouse queries).
    // spare: an array whose room the point anchors may take over (the previous paint's).
    ChartLayout paint(QPainter *painter, const QRectF &target, qreal resolution = 96,
                      bool recordPoints = true, std::vector<PointAnchor> spare = {}) const;
    // The same layout without drawing; without withPoints only the regions and scales, not
    // where each point lands.
    ChartLayout layout(const QSizeF &size, bool withPoints = true) const;

    // The font that draws a chart text; Windows Japanese font names are mapped onto the
    // IPA fonts so every output shows the same glyphs.
    static QFont fontFor(const ChartFontSpec &spec);
    static QString resolveFamily(const QString &family);

private:
    const ChartModel &m_model;
    BackgroundPainter m_background;
};

} // namespace qel::chartview
