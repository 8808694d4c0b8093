#pragma once

#include "chartview/ChartModel.h"
#include "chartview/render/ChartLayout.h"
#include "chartview/render/ChartPainter.h"
#include "chartview/render/RibbonOutline.h"

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>

class QPainter;

namespace qel::chartview {

// One paint (or layout) of a chart: works out the regions, scales and projection, then
// draws the parts in order. With no painter it only records the geometry.
class ChartRenderer
{
public:
    // Without recordPoints where each point landed is not kept: a painter gets the picture
    // alone, no painter the scales and regions alone.
    ChartRenderer(const ChartModel &model, const ChartPainter::BackgroundPainter &background,
                  QPainter *painter, const QSizeF &size, bool recordPoints = true,
                  std::vector<PointAnchor> spare = {});

    ChartLayout run();

private:
    struct Face
    {
        QPolygonF polygon;
        // A ribbon of many points, drawn whole: its body (the union of its top faces, in
        // pieces of a few dozen faces, which the rasterizer fills quickest) and the edges of
        // its far and near side.
        std::vector<QPainterPath> body;
        QPolygonF farEdge, nearEdge;
        QColor fill;
        double depth = 0;
        int series = -1;
        int point = -1;
        QPointF anchor;
        bool hasAnchor = false;
    };

    void addAnchor(const PointAnchor &anchor)
    {
        if (m_recordPoints)
            m_layout.anchors.push_back(anchor);
    }
    void addRegion(PointRegion region);

    // Layout
    void computeSeriesFacts();
    void computeScales();
    void computeRegions();
    void computeProjection();
    double dataDepthRatio() const;
    QPointF toScreen(double u, double v, double w = 0) const
    {
        return m_layout.projection.map(u, v, w);
    }
    double vOf(int series, double value) const;
    double baseV() const;
    bool usesNumericX() const;
    bool isPie() const { return m_model.gallery() == GalleryPie; }
    bool isSurface() const { return m_model.gallery() == GallerySurface; }
    bool isBarLike() const;
    int rows() const;
    std::pair<double, double> rowRange(int series) const;

    // Drawing
    void drawBackground();
    void drawPlotBackground();
    void drawBands();
    void drawGrid();
    void drawWalls3D();
    void drawSeries();
    // What placing a series' points needs, looked up once for all of them: a chart may have
    // millions.
    struct Placement
    {
        const float *values = nullptr;
        const float *xs = nullptr;
        const AxisScale *yScale = nullptr;
        bool curve = false; // a fitted curve: placed by its X values on a category axis too
        bool ownX = false;  // placed by its X values on a numeric axis
    };
    Placement placementOf(int series) const;
    // A point's u: on a numeric axis by its X value (a point number on a chart without X
    // values; a fitted curve always has its X values, 0 included), on a category axis by its
    // slot (a fitted curve by its X value, a point number).
    double placedU(const Placement &place, int point) const
    {
        if (m_layout.numericX)
            return m_layout.xScale.fraction(place.ownX ? double(place.xs[point])
                                                       : double(point + 1));
        return place.curve ? m_layout.pointNumberU(double(place.xs[point]))
                           : m_layout.slotCentre(point);
    }
    void computePositions(int series);
    void drawLines2D(int series, bool smooth, bool area);
    // One run of points without a gap: its area, then its line.
    void drawRun(int series, const QPointF *run, qsizetype size, bool smooth, bool area);
    void drawBars2D();
    void drawMarkers(int series, bool record);
    // The anchors of the series' points from their positions.
    void recordAnchors(int series, bool markers);
    void drawPie();
    void drawSurface2D();
    void buildFaces3D(std::vector<Face> &faces);
    void addBox(std::vector<Face> &faces, double u0, double u1, double v0, double v1, double w0,
                double w1, const QColor &color, int series, int point);
    void addRibbon(std::vector<Face> &faces, int series, bool area);
    // A run of a ribbon with more points than pixels along it: one face for the whole run.
    // middleW: the ribbon's middle in the depth; depth: from a point of the front edge to the
    // same point of the back edge, on the screen.
    bool addDenseRibbon(std::vector<Face> &faces, const RibbonOutline &run, double middleW,
                        const QPointF &depth, const QColor &color);
    void paintFaces(std::vector<Face> &faces);
    void drawConstants();
    void drawAxes();
    void drawXLabels();
    void drawYLabels(const AxisScale &scale, bool right);
    void drawRowLabels();
    void drawTitles();
    void drawLegend();
    void drawMarker(const QPointF &at, qint16 style, const QColor &color, double size);
    double markerSize() const;

    QFont font(ChartText text) const;
    QColor seriesColor(int series) const;
    QColor surfaceColor(double value) const;
    QPen dataPen(const QColor &color) const;
    bool showLegend() const;
    struct LegendEntry
    {
        int index = 0; // the series, or the point of a pie
        QString text;
    };
    std::vector<LegendEntry> legendEntries() const;
    bool drawsMarkers(int series) const;
    bool isFittedCurve(int series) const;

    const ChartModel &m_model;
    const ChartPainter::BackgroundPainter &m_background;
    QPainter *m_painter;
    bool m_recordPoints = true;
    ChartLayout m_layout;
    bool m_plotOnly = false;

    QRectF m_topTitle, m_bottomTitle, m_leftTitle, m_rightTitle, m_legend;
    double m_yLabelWidth = 0, m_y2LabelWidth = 0, m_xLabelHeight = 0;
    bool m_secondAxis = false;
    // Per series: whether it has X values of its own, and how many points it shows.
    std::vector<char> m_seriesHasX;
    std::vector<int> m_shownPoints;
    std::vector<QPointF> m_positions; // the points of the series being drawn, on the screen
};

} // namespace qel::chartview
