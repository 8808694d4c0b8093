#include "chartview/render/ChartRenderer.h"

#include "chartview/render/GradientPainter.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <limits>

namespace qel::chartview {

namespace {

constexpr double Pi = 3.14159265358979323846;

QStringList titleLines(const QString &text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = t.split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.first().trimmed().isEmpty())
        lines.removeFirst();
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    return lines;
}

bool hasText(const QString &text)
{
    return !titleLines(text).isEmpty() || (!text.isEmpty() && text.trimmed().isEmpty());
}

QColor shade(const QColor &c, int factor)
{
    return factor >= 100 ? c.lighter(factor) : c.darker(10000 / std::max(factor, 1));
}

} // namespace

ChartRenderer::ChartRenderer(const ChartModel &model,
                             const ChartPainter::BackgroundPainter &background, QPainter *painter,
                             const QSizeF &size, bool recordPoints, std::vector<PointAnchor> spare)
    : m_model(model)
    , m_background(background)
    , m_painter(painter)
    , m_recordPoints(recordPoints)
{
    m_layout.size = size;
    m_layout.slotCount = model.pointCount;
    m_plotOnly = model.layoutBits & LayoutPlotOnly;
    // Every point gets its anchor: room for them at once instead of growing step by step,
    // in the spare array when there is one (memory that is already the program's).
    spare.clear();
    m_layout.anchors = std::move(spare);
    if (m_recordPoints)
        m_layout.anchors.reserve(std::size_t(std::max(model.seriesCount, 0)) *
                                 std::size_t(std::max(model.pointCount, 0)));
}

void ChartRenderer::addRegion(PointRegion region)
{
    if (m_recordPoints)
        m_layout.regions.push_back(std::move(region));
}

ChartLayout ChartRenderer::run()
{
    computeSeriesFacts();
    computeScales();
    computeRegions();
    computeProjection();
    drawBackground();
    if (!isPie()) {
        drawPlotBackground();
        if (m_layout.projection.is3D())
            drawWalls3D();
        drawBands();
        drawGrid();
        // In 3D the constant lines run along the walls, behind the data; in 2D over it.
        if (m_layout.projection.is3D())
            drawConstants();
    }
    drawSeries();
    if (!isPie()) {
        if (!m_layout.projection.is3D())
            drawConstants();
        drawAxes();
    }
    drawTitles();
    drawLegend();
    return std::move(m_layout);
}

// ---- layout ------------------------------------------------------------------------------

QFont ChartRenderer::font(ChartText text) const
{
    return ChartPainter::fontFor(m_model.fonts[std::size_t(text)]);
}

bool ChartRenderer::usesNumericX() const
{
    return numericXAxis(m_model.chartType, m_model.hasXValues);
}

bool ChartRenderer::isBarLike() const
{
    const quint32 g = m_model.gallery();
    return g == GalleryBars || g == GalleryStackedBars;
}

int ChartRenderer::rows() const
{
    if (m_model.gallery() == GalleryStackedBars)
        return 1;
    return std::max(m_model.seriesCount, 1);
}

std::pair<double, double> ChartRenderer::rowRange(int series) const
{
    const int n = rows();
    const int row = m_model.gallery() == GalleryStackedBars ? 0 : series;
    const double pad = 0.12 / n;
    return {double(row) / n + pad, double(row + 1) / n - pad};
}

void ChartRenderer::computeSeriesFacts()
{
    const ChartModel &m = m_model;
    const std::size_t n = std::size_t(std::max(m.seriesCount, 0));
    m_seriesHasX.assign(n, m.hasXValues);
    m_shownPoints.assign(n, 0);
    int extent = 0;
    bool curves = false;
    for (int s = 0; s < m.seriesCount; ++s) {
        const bool curve = isFittedCurve(s);
        curves = curves || curve;
        for (int p = 0; p < m.pointCount; ++p) {
            const double v = m.value(s, p);
            if (isEmptyPoint(v) || !std::isfinite(v))
                continue;
            ++m_shownPoints[std::size_t(s)];
            const double x = m.xValue(s, p);
            if (x != 0 && !isEmptyPoint(x))
                m_seriesHasX[std::size_t(s)] = true;
            if (!curve)
                extent = std::max(extent, p + 1);
        }
    }
    // The field grows to hold a fitted curve's points; the category axis keeps to the data.
    if (curves && !isPie() && !isSurface()) {
        for (int p = extent; p < m.pointCount; ++p) {
            if (!m.pointCaptions.value(p).isEmpty())
                extent = p + 1;
        }
        m_layout.slotCount = std::max(extent, 1);
    }
}

void ChartRenderer::computeScales()
{
    const ChartModel &m = m_model;
    m_layout.numericX = usesNumericX();
    double lo = 1e300, hi = -1e300, lo2 = 1e300, hi2 = -1e300, xlo = 1e300, xhi = -1e300;
    const bool stacked = m.gallery() == GalleryStackedBars;
    // Series by series, the way the values lie in memory; stacked bars also sum per point.
    std::vector<double> positive, negative;
    if (stacked) {
        positive.assign(std::size_t(std::max(m.pointCount, 0)), 0.0);
        negative.assign(positive.size(), 0.0);
    }
    for (int s = 0; s < m.seriesCount; ++s) {
        const bool second = m.onSecondAxis(s);
        double &sLo = second ? lo2 : lo;
        double &sHi = second ? hi2 : hi;
        const bool ownX = isFittedCurve(s) || m_seriesHasX[std::size_t(s)];
        const float *values = m.values.data() + m.cell(s, 0);
        const float *xs = m.xValues.data() + m.cell(s, 0);
        for (int p = 0; p < m.pointCount; ++p) {
            const double v = values[p];
            if (isEmptyPoint(v) || !std::isfinite(v))
                continue;
            sLo = std::min(sLo, v);
            sHi = std::max(sHi, v);
            if (stacked)
                (v >= 0 ? positive : negative)[std::size_t(p)] += v;
            const double xv = ownX ? double(xs[p]) : double(p + 1);
            if (std::isfinite(xv) && !isEmptyPoint(xv)) {
                xlo = std::min(xlo, xv);
                xhi = std::max(xhi, xv);
            }
        }
    }
    for (std::size_t p = 0; p < positive.size(); ++p) {
        lo = std::min(lo, negative[p]);
        hi = std::max(hi, positive[p]);
    }
    auto makeScale = [&](double dataLo, double dataHi, int iMin, int iMax, int iStep,
                         int decimalsIndex, bool includeZero) {
        if (dataLo > dataHi) {
            dataLo = 0;
            dataHi = 1;
        }
        if (includeZero) {
            dataLo = std::min(dataLo, 0.0);
            dataHi = std::max(dataHi, 0.0);
        }
        AxisScale s = AxisScale::automatic(dataLo, dataHi);
        const auto value = [&](int i, double fallback) {
            const auto it = m.axisValues.find(i);
            return it != m.axisValues.end() && std::isfinite(it->second) ? it->second : fallback;
        };
        const AxisScale automatic = s;
        s.min = value(iMin, s.min);
        s.max = value(iMax, s.max);
        s.step = value(iStep, s.step);
        if (!(s.max > s.min))
            s = automatic;
        if (!(s.step > 0) || (s.max - s.min) / s.step > 1000)
            s.step = (s.max - s.min) / 5;
        const auto d = m.axisDecimals.find(decimalsIndex);
        s.decimals = d != m.axisDecimals.end() ? d->second : AxisScale::decimalsForStep(s.step);
        return s;
    };
    const bool zero = isBarLike() || m.gallery() == GalleryArea;
    m_layout.yScale = makeScale(lo, hi, AxisYMin, AxisYMax, AxisYStep, DecimalsY, zero);
    m_secondAxis = lo2 <= hi2;
    m_layout.y2Scale = makeScale(lo2, hi2, AxisY2Min, AxisY2Max, AxisY2Step, DecimalsY2, zero);
    m_layout.xScale = makeScale(xlo, xhi, AxisXMin, AxisXMax, AxisXStep, DecimalsX, false);
}

void ChartRenderer::computeRegions()
{
    const auto &sp = m_model.spacing;
    QRectF r(QPointF(0, 0), m_layout.size);
    r.adjust(std::max<int>(sp[0], 0), std::max<int>(sp[2], 0), -std::max<int>(sp[1], 0),
             -std::max<int>(sp[3], 0));
    if (!m_plotOnly) {
        const QFontMetricsF top(font(ChartText::TopTitle));
        if (hasText(m_model.visibleTitle(2))) {
            const double h = std::max<qsizetype>(titleLines(m_model.visibleTitle(2)).size(), 1) *
                             top.lineSpacing();
            m_topTitle = QRectF(r.left(), r.top(), r.width(), h);
            r.setTop(r.top() + h + 2);
        }
        const QFontMetricsF bottom(font(ChartText::BottomTitle));
        const QStringList bottomLines = titleLines(m_model.visibleTitle(3));
        if (!bottomLines.isEmpty()) {
            const double h = bottomLines.size() * bottom.lineSpacing();
            m_bottomTitle = QRectF(r.left(), r.bottom() - h, r.width(), h);
            r.setBottom(r.bottom() - h - 4);
        }
        const QStringList leftLines = titleLines(m_model.visibleTitle(0));
        if (!leftLines.isEmpty()) {
            const double w =
                leftLines.size() * QFontMetricsF(font(ChartText::LeftTitle)).lineSpacing();
            m_leftTitle = QRectF(r.left(), r.top(), w, r.height());
            r.setLeft(r.left() + w + 4);
        }
        const QStringList rightLines = titleLines(m_model.visibleTitle(1));
        if (!rightLines.isEmpty()) {
            const double w =
                rightLines.size() * QFontMetricsF(font(ChartText::RightTitle)).lineSpacing();
            m_rightTitle = QRectF(r.right() - w, r.top(), w, r.height());
            r.setRight(r.right() - w - 4);
        }
        if (showLegend()) {
            const QFontMetricsF fm(font(ChartText::YLabels));
            double w = 0;
            const std::vector<LegendEntry> entries = legendEntries();
            for (const LegendEntry &e : entries) {
                w = std::max(w, fm.horizontalAdvance(e.text));
                m_layout.legend.push_back(e.index);
            }
            w = std::min(w + 34, r.width() * 0.35);
            const double h = std::min(double(entries.size()) * fm.lineSpacing() + 12, r.height());
            m_legend = QRectF(r.right() - w, r.center().y() - h / 2, w, h);
            r.setRight(r.right() - w - 8);
        }
    }
    if (!isPie()) {
        const QFontMetricsF yfm(font(ChartText::YLabels));
        const QFontMetricsF xfm(font(ChartText::XLabels));
        if (!(m_model.axisBits & AxisHideYLabels) && isSurface()) {
            for (const QString &c : m_model.seriesCaptions)
                m_yLabelWidth = std::max(m_yLabelWidth, yfm.horizontalAdvance(c));
            m_yLabelWidth = std::min(m_yLabelWidth, r.width() / 4) + 8;
        } else if (!(m_model.axisBits & AxisHideYLabels)) {
            for (double t : m_layout.yScale.ticks())
                m_yLabelWidth =
                    std::max(m_yLabelWidth, yfm.horizontalAdvance(m_layout.yScale.label(t)));
            m_yLabelWidth += 8;
            if (m_secondAxis || (m_model.axisBits & AxisRightLabels)) {
                const AxisScale &s2 = m_secondAxis ? m_layout.y2Scale : m_layout.yScale;
                for (double t : s2.ticks())
                    m_y2LabelWidth = std::max(m_y2LabelWidth, yfm.horizontalAdvance(s2.label(t)));
                m_y2LabelWidth += 8;
            }
        }
        if (!(m_model.axisBits & AxisHideXLabels)) {
            if (m_model.axisBits & AxisVerticalXLabels) {
                for (const QString &c : m_model.pointCaptions)
                    m_xLabelHeight = std::max(m_xLabelHeight, xfm.horizontalAdvance(c));
                m_xLabelHeight = std::min(m_xLabelHeight, r.height() / 3) + 6;
            } else {
                m_xLabelHeight = xfm.lineSpacing() + 6;
            }
        }
        const double half = yfm.height() / 2;
        r.adjust(m_yLabelWidth, half, -std::max(m_y2LabelWidth, m_layout.numericX ? half * 2 : 0.0),
                 -m_xLabelHeight);
    }
    if (r.width() < 4 || r.height() < 4)
        r = QRectF(r.topLeft(), QSizeF(std::max(r.width(), 4.0), std::max(r.height(), 4.0)));
    m_layout.plot = r;
}

double ChartRenderer::dataDepthRatio() const
{
    if (isPie())
        return 0;
    const double depth = std::clamp<double>(m_model.depth3D, 0, 999) / 100.0;
    const double perRow = depth * m_layout.slotWidth();
    return std::clamp(perRow * rows() + 0.02, 0.05, 2.5);
}

double ChartRenderer::markerSize() const
{
    return std::max(7.0, 2.0 * m_model.lineWidths[0] + 5);
}

void ChartRenderer::computeProjection()
{
    const bool view3D = m_model.view3D && !isPie();
    QRectF box = m_layout.plot;
    if (!view3D && !isPie() && !isSurface() && !isBarLike()) {
        // A point on the end of an axis keeps its whole marker inside the axes: the values
        // run over the plot less a marker's half on every side.
        const double room = markerSize() / 2 + 1;
        if (box.width() > 8 * room && box.height() > 8 * room)
            box.adjust(room, room, -room, -room);
    }
    m_layout.projection =
        Projection3D(box, view3D, m_model.elevation(), m_model.rotation(), dataDepthRatio());
    m_layout.seriesRows = rows();
    if (!view3D) {
        m_layout.dataRect = box;
        return;
    }
    QPolygonF corners;
    for (int i = 0; i < 8; ++i)
        corners << toScreen(i & 1, (i >> 1) & 1, (i >> 2) & 1);
    m_layout.dataRect = corners.boundingRect();
}

double ChartRenderer::vOf(int series, double value) const
{
    return (m_model.onSecondAxis(series) ? m_layout.y2Scale : m_layout.yScale).fraction(value);
}

double ChartRenderer::baseV() const
{
    return std::clamp(m_layout.yScale.fraction(0), 0.0, 1.0);
}

QColor ChartRenderer::seriesColor(int series) const
{
    QColor c = toQColor(m_model.seriesColor(series));
    if (!c.isValid() || c.alpha() == 0)
        c = QColor(Qt::gray);
    return c;
}

QColor ChartRenderer::surfaceColor(double value) const
{
    static const QColor stops[] = {QColor(49, 54, 149),   QColor(69, 117, 180),
                                   QColor(116, 173, 209), QColor(254, 224, 144),
                                   QColor(244, 109, 67),  QColor(165, 0, 38)};
    const double f = std::clamp(m_layout.yScale.fraction(value), 0.0, 1.0) * 5;
    const int i = std::min(int(f), 4);
    const double t = f - i;
    const QColor &a = stops[i], &b = stops[i + 1];
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

QPen ChartRenderer::dataPen(const QColor &color) const
{
    QPen pen(color, std::max<int>(m_model.lineWidths[0], 1));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

bool ChartRenderer::isFittedCurve(int series) const
{
    return series < int(m_model.seriesAttrColors.size()) &&
           m_model.seriesAttrColors[std::size_t(series)] != 0;
}

bool ChartRenderer::showLegend() const
{
    if (m_plotOnly || isSurface() || (m_model.layoutBits & LayoutHideLegend))
        return false;
    for (const LegendEntry &e : legendEntries())
        if (!e.text.trimmed().isEmpty())
            return true;
    return false;
}

std::vector<ChartRenderer::LegendEntry> ChartRenderer::legendEntries() const
{
    std::vector<LegendEntry> entries;
    const QStringList &texts = isPie() ? m_model.pointCaptions : m_model.seriesCaptions;
    // A legend longer than the chart is high is cut; the chart stays readable.
    for (int i = 0; i < texts.size() && entries.size() < 40; ++i) {
        // A series with nothing to show (a curve series the field made room for, not yet
        // drawn) has nothing to explain.
        if (!isPie() && (i >= int(m_shownPoints.size()) || m_shownPoints[std::size_t(i)] == 0))
            continue;
        entries.push_back({i, texts[i]});
    }
    return entries;
}

bool ChartRenderer::drawsMarkers(int series) const
{
    // A series with a second colour is a fitted curve: a plain line through its points.
    if (m_model.markerStyleOf(series) < 0 || isFittedCurve(series))
        return false;
    const quint32 g = m_model.gallery();
    const bool wanted = g == GalleryMarks || g == GalleryScatter ||
                        ((g == GalleryLines || g == GallerySpline || g == GalleryHighLow) &&
                         (m_model.chartType & TypeShowMarkers));
    // Markers closer than a few pixels would only blot the line out. Counted per series: a
    // long curve in the chart leaves the markers of the other series alone.
    const int shown = series < int(m_shownPoints.size()) ? m_shownPoints[std::size_t(series)] : 0;
    return wanted && m_layout.plot.width() / std::max(shown, 1) >= 4;
}

// ---- drawing -------------------------------------------------------------------------------

void ChartRenderer::drawBackground()
{
    if (!m_painter)
        return;
    const QRect area = QRectF(QPointF(0, 0), m_layout.size).toAlignedRect();
    if (m_background && m_background(m_painter, area))
        return;
    if (GradientPainter::paint(m_painter, m_model.backgroundGradient, area))
        return;
    const QColor back = toQColor(m_model.backColorA);
    if (back.alpha() > 0)
        m_painter->fillRect(QRectF(QPointF(0, 0), m_layout.size), back);
}

void ChartRenderer::drawPlotBackground()
{
    const QColor back = toQColor(m_model.backColorB);
    if (!m_painter || back.alpha() == 0 || isPie())
        return;
    if (m_layout.projection.is3D())
        return; // the walls carry the plot colour in 3D
    m_painter->fillRect(m_layout.plot, back);
}

void ChartRenderer::drawWalls3D()
{
    if (!m_painter)
        return;
    // The floor, the back wall and the side wall are slabs WallWidth pixels thick, standing
    // outside the data box: their faces towards the data take the plot's colour (none leaves
    // the background visible), their edges the walls' colour. Only faces turned towards the
    // viewer are painted, far ones first.
    const Projection3D &pr = m_layout.projection;
    const double wFar = pr.backIsFar() ? 1 : 0;
    const double uFar = pr.rightIsFar() ? 1 : 0;
    const double thick = std::max<int>(m_model.wallWidth, 1) / std::max(pr.scale(), 1e-9);
    const double tu = std::min(thick, 0.2);
    const double tv = std::min(thick / std::max(pr.boxHeight(), 1e-9), 0.2);
    const double tw = std::min(thick / std::max(pr.depthRatio(), 1e-9), 0.5);
    const QColor wallSet = toQColor(m_model.indexedColor(IndexedWalls));
    const QColor wall = wallSet.alpha() ? wallSet : QColor(180, 180, 180);
    const QColor plot = toQColor(m_model.backColorB);
    const QColor edgeSet = toQColor(m_model.indexedColor(IndexedAxisLines));
    const QColor edge = edgeSet.alpha() ? edgeSet : QColor(Qt::darkGray);

    struct Slab
    {
        double u0, u1, v0, v1, w0, w1;
        int inner; // the face towards the data: 0..5 as listed in faces below
        int innerShade;
    };
    const double uLo = uFar == 0 ? -tu : 0, uHi = uFar == 1 ? 1 + tu : 1;
    const double wLo = wFar == 0 ? -tw : 0, wHi = wFar == 1 ? 1 + tw : 1;
    const Slab slabs[] = {
        // The floor runs under the walls; its top is the face towards the data.
        {uLo, uHi, -tv, 0, wLo, wHi, 3, 96},
        {uLo, uHi, 0, 1, wFar == 1 ? 1 : -tw, wFar == 1 ? 1 + tw : 0, wFar == 1 ? 4 : 5, 100},
        {uFar == 1 ? 1 : -tu, uFar == 1 ? 1 + tu : 0, 0, 1, 0, 1, uFar == 1 ? 0 : 1, 98},
    };
    struct WallFace
    {
        QPolygonF polygon;
        double depth;
        QColor fill;
        bool inner;
    };
    std::vector<WallFace> faces;
    for (const Slab &b : slabs) {
        // Seen from below, the floor would stand between the viewer and the data.
        if (&b == &slabs[0] && !pr.floorVisible())
            continue;
        // Corners of each face in order, with the face's outward direction.
        const struct
        {
            WorldPoint c[4];
            WorldPoint out;
            int shade; // of the wall colour
        } sides[6] = {
            {{{b.u0, b.v0, b.w0}, {b.u0, b.v1, b.w0}, {b.u0, b.v1, b.w1}, {b.u0, b.v0, b.w1}},
             {-1, 0, 0},
             85},
            {{{b.u1, b.v0, b.w0}, {b.u1, b.v1, b.w0}, {b.u1, b.v1, b.w1}, {b.u1, b.v0, b.w1}},
             {1, 0, 0},
             85},
            {{{b.u0, b.v0, b.w0}, {b.u1, b.v0, b.w0}, {b.u1, b.v0, b.w1}, {b.u0, b.v0, b.w1}},
             {0, -1, 0},
             75},
            {{{b.u0, b.v1, b.w0}, {b.u1, b.v1, b.w0}, {b.u1, b.v1, b.w1}, {b.u0, b.v1, b.w1}},
             {0, 1, 0},
             110},
            {{{b.u0, b.v0, b.w0}, {b.u1, b.v0, b.w0}, {b.u1, b.v1, b.w0}, {b.u0, b.v1, b.w0}},
             {0, 0, -1},
             100},
            {{{b.u0, b.v0, b.w1}, {b.u1, b.v0, b.w1}, {b.u1, b.v1, b.w1}, {b.u0, b.v1, b.w1}},
             {0, 0, 1},
             92},
        };
        for (int i = 0; i < 6; ++i) {
            const auto &side = sides[i];
            WorldPoint mid{0, 0, 0};
            for (const WorldPoint &c : side.c) {
                mid.u += c.u / 4;
                mid.v += c.v / 4;
                mid.w += c.w / 4;
            }
            const double eps = 1e-3;
            const WorldPoint ahead{mid.u + side.out.u * eps, mid.v + side.out.v * eps,
                                   mid.w + side.out.w * eps};
            if (pr.depth(ahead) >= pr.depth(mid))
                continue; // turned away from the viewer
            WallFace f;
            for (const WorldPoint &c : side.c)
                f.polygon << pr.map(c);
            f.depth = pr.depth(mid);
            f.inner = i == b.inner;
            f.fill = f.inner ? (plot.alpha() ? shade(plot, b.innerShade) : QColor(0, 0, 0, 0))
                             : shade(wall, side.shade);
            faces.push_back(f);
        }
    }
    std::stable_sort(faces.begin(), faces.end(),
                     [](const WallFace &a, const WallFace &b) { return a.depth > b.depth; });
    QPen edgePen(edge, 0.8);
    edgePen.setJoinStyle(Qt::MiterJoin);
    for (const WallFace &f : faces) {
        if (f.inner) {
            m_painter->setPen(edgePen);
            m_painter->setBrush(f.fill.alpha() ? QBrush(f.fill) : Qt::NoBrush);
        } else {
            // The same colour round the edge closes the seams between the slab's faces.
            m_painter->setPen(QPen(f.fill, 0.6));
            m_painter->setBrush(f.fill);
        }
        m_painter->drawPolygon(f.polygon);
    }
}

void ChartRenderer::drawBands()
{
    if (!m_painter || m_model.bands.empty())
        return;
    const bool is3D = m_layout.projection.is3D();
    const double wFar = m_layout.projection.backIsFar() ? 1 : 0;
    m_painter->save();
    m_painter->setClipRect(is3D ? m_layout.dataRect : m_layout.plot);
    m_painter->setPen(Qt::NoPen);
    for (const ValueBand &b : m_model.bands) {
        const QColor c = toQColor(b.color);
        if (c.alpha() == 0 || !std::isfinite(b.from) || !std::isfinite(b.till))
            continue;
        const double v0 = std::clamp(m_layout.yScale.fraction(b.from), -0.01, 1.01);
        const double v1 = std::clamp(m_layout.yScale.fraction(b.till), -0.01, 1.01);
        m_painter->setBrush(c);
        if (!is3D) {
            const double y0 = toScreen(0, v0).y(), y1 = toScreen(0, v1).y();
            m_painter->drawRect(QRectF(QPointF(m_layout.plot.left(), std::min(y0, y1)),
                                       QPointF(m_layout.plot.right(), std::max(y0, y1))));
            continue;
        }
        m_painter->drawPolygon(QPolygonF({toScreen(0, v0, wFar), toScreen(1, v0, wFar),
                                          toScreen(1, v1, wFar), toScreen(0, v1, wFar)}));
    }
    m_painter->restore();
}

void ChartRenderer::drawGrid()
{
    if (!m_painter || m_model.lineWidths[2] <= 0 || isSurface())
        return;
    QPen pen(toQColor(m_model.lineColors[2]), m_model.lineWidths[2]);
    pen.setCosmetic(false);
    QColor c = pen.color();
    if (m_model.lineWidths[2] == 1 && c.alpha() == 255)
        c.setAlpha(150);
    pen.setColor(c);
    m_painter->setPen(pen);
    const bool is3D = m_layout.projection.is3D();
    const double wFar = m_layout.projection.backIsFar() ? 1 : 0;
    const double uFar = m_layout.projection.rightIsFar() ? 1 : 0;
    // In 2D the lines run from axis to axis, over the room left for the markers too.
    const auto across = [&](double v) {
        QPointF a = toScreen(0, v, wFar), b = toScreen(1, v, wFar);
        if (!is3D) {
            a.setX(m_layout.plot.left());
            b.setX(m_layout.plot.right());
        }
        m_painter->drawLine(a, b);
    };
    const auto upright = [&](double u) {
        QPointF a = toScreen(u, 0, wFar), b = toScreen(u, 1, wFar);
        if (!is3D) {
            a.setY(m_layout.plot.bottom());
            b.setY(m_layout.plot.top());
        }
        m_painter->drawLine(a, b);
        if (is3D) // and on across the floor, so that it reads as one
            m_painter->drawLine(toScreen(u, 0, 0), toScreen(u, 0, 1));
    };
    for (double t : m_layout.yScale.ticks()) {
        const double v = m_layout.yScale.fraction(t);
        if (v < -1e-9 || v > 1 + 1e-9)
            continue;
        across(v);
        if (is3D)
            m_painter->drawLine(toScreen(uFar, v, 0), toScreen(uFar, v, 1));
    }
    if (m_model.chartType & TypeGrid) {
        const std::vector<double> xs =
            m_layout.numericX ? m_layout.xScale.ticks() : std::vector<double>();
        if (m_layout.numericX) {
            for (double t : xs)
                upright(m_layout.xScale.fraction(t));
        } else {
            for (int p = 0; p <= m_layout.slotCount && m_layout.slotCount <= 400; ++p) {
                upright(p * m_layout.slotWidth());
            }
        }
    }
}

void ChartRenderer::drawSeries()
{
    if (m_model.seriesCount <= 0 || m_model.pointCount <= 0)
        return;
    if (!m_painter && !m_recordPoints)
        return; // neither a picture nor the points' places are wanted
    if (isPie()) {
        drawPie();
        return;
    }
    if (m_layout.projection.is3D()) {
        std::vector<Face> faces;
        buildFaces3D(faces);
        paintFaces(faces);
        return;
    }
    if (m_painter) {
        m_painter->save();
        m_painter->setClipRect(m_layout.plot.adjusted(-8, -8, 8, 8));
    }
    const quint32 g = m_model.gallery();
    if (isSurface()) {
        drawSurface2D();
    } else {
        if (isBarLike())
            drawBars2D();
        // Areas are drawn last series first, so the first series stands in front. Fitted
        // curves are plain lines in every gallery, kept inside the axes.
        for (int i = 0; i < m_model.seriesCount; ++i) {
            const int s = g == GalleryArea ? m_model.seriesCount - 1 - i : i;
            const bool curve = isFittedCurve(s);
            if (isBarLike() && !curve)
                continue;
            if (curve && m_painter) {
                m_painter->save();
                m_painter->setClipRect(m_layout.plot, Qt::IntersectClip);
            }
            computePositions(s);
            if (g != GalleryMarks || curve)
                drawLines2D(s, g == GallerySpline, g == GalleryArea && !curve);
            drawMarkers(s, true);
            if (curve && m_painter)
                m_painter->restore();
        }
    }
    if (m_painter)
        m_painter->restore();
}

ChartRenderer::Placement ChartRenderer::placementOf(int series) const
{
    const ChartModel &m = m_model;
    Placement place;
    place.values = m.values.data() + m.cell(series, 0);
    place.xs = m.xValues.data() + m.cell(series, 0);
    place.yScale = m.onSecondAxis(series) ? &m_layout.y2Scale : &m_layout.yScale;
    place.curve = isFittedCurve(series);
    place.ownX = place.curve || m_seriesHasX[std::size_t(series)];
    return place;
}

void ChartRenderer::computePositions(int series)
{
    // Worked out once for the line and the markers; a point not drawn has no position.
    const std::size_t count = std::size_t(std::max(m_model.pointCount, 0));
    m_positions.resize(count);
    if (count == 0)
        return;
    const Placement place = placementOf(series);
    const Projection3D &projection = m_layout.projection;
    for (std::size_t p = 0; p < count; ++p) {
        const double v = place.values[p];
        m_positions[p] = isEmptyPoint(v) || !std::isfinite(v)
                             ? QPointF(std::numeric_limits<double>::quiet_NaN(), 0)
                             : projection.map(placedU(place, int(p)), place.yScale->fraction(v));
    }
}

void ChartRenderer::drawLines2D(int series, bool smooth, bool area)
{
    if (!m_painter)
        return;
    // Runs of points without a gap, straight from the positions; a hidden point breaks the
    // line.
    const QPointF *positions = m_positions.data();
    const std::size_t count = m_positions.size();
    for (std::size_t i = 0; i < count;) {
        if (std::isnan(positions[i].x())) {
            ++i;
            continue;
        }
        const std::size_t begin = i;
        while (i < count && !std::isnan(positions[i].x()))
            ++i;
        drawRun(series, positions + begin, qsizetype(i - begin), smooth, area);
    }
}

void ChartRenderer::drawRun(int series, const QPointF *run, qsizetype size, bool smooth, bool area)
{
    const QColor color = seriesColor(series);
    if (area && size > 1) {
        const double baseY = toScreen(0, baseV()).y();
        QPolygonF poly(size + 2);
        std::copy(run, run + size, poly.begin());
        poly[size] = QPointF(run[size - 1].x(), baseY);
        poly[size + 1] = QPointF(run[0].x(), baseY);
        QColor fill = color;
        fill.setAlpha(150);
        QBrush brush(fill);
        if (m_model.chartType & TypeShaded) {
            QLinearGradient grad(0, m_layout.plot.top(), 0, baseY);
            grad.setColorAt(0, fill.lighter(125));
            grad.setColorAt(1, fill);
            brush = QBrush(grad);
        }
        m_painter->setPen((m_model.chartType & TypeOutline) ? QPen(color.darker(140), 1)
                                                            : Qt::NoPen);
        m_painter->setBrush(brush);
        m_painter->drawPolygon(poly);
    }
    m_painter->setPen(dataPen(area ? color.darker(130) : color));
    m_painter->setBrush(Qt::NoBrush);
    if (size == 1)
        return;
    if (smooth && size > 2 && size < m_layout.plot.width()) {
        QPainterPath path(run[0]);
        for (qsizetype i = 0; i + 1 < size; ++i) {
            const QPointF p0 = run[std::max<qsizetype>(i - 1, 0)], p1 = run[i], p2 = run[i + 1],
                          p3 = run[std::min(i + 2, size - 1)];
            path.cubicTo(p1 + (p2 - p0) / 6, p2 - (p3 - p1) / 6, p2);
        }
        m_painter->drawPath(path);
        return;
    }
    // Long runs: keep per pixel column the first, lowest, highest and last point, and draw in
    // pieces; wide antialiased pens are slow on very long polylines.
    QPolygonF reduced;
    const QPointF *line = run;
    qsizetype lineSize = size;
    if (size > 4 * m_layout.plot.width()) {
        reduced.reserve(qsizetype(m_layout.plot.width() * 4 + 8));
        qsizetype i = 0;
        while (i < size) {
            const double column = std::floor(run[i].x());
            const double columnEnd = column + 1;
            QPointF lo = run[i], hi = run[i];
            qsizetype j = i + 1;
            for (; j < size && run[j].x() >= column && run[j].x() < columnEnd; ++j) {
                if (run[j].y() < lo.y())
                    lo = run[j];
                if (run[j].y() > hi.y())
                    hi = run[j];
            }
            reduced << run[i];
            if (lo.x() <= hi.x())
                reduced << lo << hi;
            else
                reduced << hi << lo;
            reduced << run[j - 1];
            i = j;
        }
        line = reduced.constData();
        lineSize = reduced.size();
    }
    constexpr qsizetype Piece = 1024;
    for (qsizetype start = 0; start + 1 < lineSize; start += Piece) {
        const qsizetype n = std::min(Piece + 1, lineSize - start);
        m_painter->drawPolyline(line + start, int(n));
    }
}

void ChartRenderer::drawMarkers(int series, bool record)
{
    const bool visible = drawsMarkers(series);
    const qint16 style = m_model.markerStyleOf(series);
    const QColor color = seriesColor(series);
    const double size = markerSize();
    if (record)
        recordAnchors(series, visible);
    if (!visible || !m_painter)
        return;
    for (const QPointF &at : m_positions) {
        if (!std::isnan(at.x()))
            drawMarker(at, style, color, size);
    }
}

void ChartRenderer::recordAnchors(int series, bool markers)
{
    if (!m_recordPoints)
        return;
    std::vector<PointAnchor> &anchors = m_layout.anchors;
    const std::size_t begin = anchors.size();
    anchors.reserve(begin + m_positions.size());
    // The order along x is watched here, where the positions are still in the cache.
    bool rising = true, falling = true;
    double lastX = std::numeric_limits<double>::quiet_NaN();
    for (std::size_t p = 0; p < m_positions.size(); ++p) {
        const QPointF &at = m_positions[p];
        if (std::isnan(at.x()))
            continue;
        rising = rising && !(at.x() < lastX);
        falling = falling && !(at.x() > lastX);
        lastX = at.x();
        anchors.push_back({series, int(p), at, markers});
    }
    m_layout.addOrderedRun(begin, rising, falling);
}

void ChartRenderer::drawMarker(const QPointF &at, qint16 style, const QColor &color, double size)
{
    const double r = size / 2;
    m_painter->setPen(QPen(color.darker(150), 1));
    m_painter->setBrush(color);
    switch (style) {
    case 1:
        m_painter->drawRect(QRectF(at.x() - r, at.y() - r, size, size));
        break;
    case 3:
        m_painter->drawPolygon(QPolygonF({QPointF(at.x(), at.y() - r * 1.15),
                                          QPointF(at.x() + r * 1.1, at.y() + r * 0.8),
                                          QPointF(at.x() - r * 1.1, at.y() + r * 0.8)}));
        break;
    case 4:
        m_painter->setBrush(Qt::white);
        m_painter->setPen(QPen(color, 1.5));
        m_painter->drawEllipse(at, r * 1.15, r * 1.15);
        m_painter->setBrush(color);
        m_painter->drawEllipse(at, r * 0.55, r * 0.55);
        break;
    default:
        m_painter->drawEllipse(at, r, r);
        break;
    }
}

void ChartRenderer::drawBars2D()
{
    const ChartModel &m = m_model;
    const bool stacked = m.gallery() == GalleryStackedBars;
    const double gap = (m.pointGap <= 0 ? 30 : std::min<int>(m.pointGap, 100)) / 100.0;
    const double cluster = m_layout.slotWidth() * (1 - gap * 0.9);
    // Fitted curves are drawn as lines over the bars and take no place in the clusters.
    std::vector<int> bars;
    for (int s = 0; s < m.seriesCount; ++s) {
        if (!isFittedCurve(s))
            bars.push_back(s);
    }
    const int perSlot = stacked ? 1 : std::max(int(bars.size()), 1);
    const double barWidth = cluster / perSlot;
    for (int p = 0; p < m.pointCount; ++p) {
        double pos = 0, neg = 0;
        for (std::size_t k = 0; k < bars.size(); ++k) {
            const int s = bars[k];
            const double v = m.value(s, p);
            if (isEmptyPoint(v) || !std::isfinite(v))
                continue;
            const double u0 =
                m_layout.slotCentre(p) - cluster / 2 + (stacked ? 0 : double(k) * barWidth);
            double from = 0, to = v;
            if (stacked) {
                double &acc = v >= 0 ? pos : neg;
                from = acc;
                acc += v;
                to = acc;
            }
            const double v0 = stacked ? vOf(s, from) : baseV();
            const double v1 = vOf(s, to);
            const QRectF rect =
                QRectF(toScreen(u0, std::max(v0, v1)), toScreen(u0 + barWidth, std::min(v0, v1)))
                    .normalized();
            addRegion({s, p, QPolygonF(rect)});
            addAnchor({s, p, QPointF(rect.center().x(), toScreen(0, v1).y())});
            if (!m_painter)
                continue;
            const QColor c = seriesColor(s);
            QBrush brush(c);
            if (m.chartType & TypeShaded) {
                QLinearGradient grad(rect.topLeft(), rect.topRight());
                grad.setColorAt(0, c.lighter(135));
                grad.setColorAt(0.45, c);
                grad.setColorAt(1, c.darker(125));
                brush = QBrush(grad);
            }
            m_painter->setPen((m.chartType & TypeOutline) ? QPen(c.darker(160), 1) : Qt::NoPen);
            m_painter->setBrush(brush);
            m_painter->drawRect(rect);
        }
    }
}

void ChartRenderer::drawSurface2D()
{
    const ChartModel &m = m_model;
    for (int s = 0; s < m.seriesCount; ++s) {
        const double v0 = double(s) / m.seriesCount, v1 = double(s + 1) / m.seriesCount;
        for (int p = 0; p < m.pointCount; ++p) {
            const double v = m.value(s, p);
            if (isEmptyPoint(v) || !std::isfinite(v))
                continue;
            const double u0 = p * m_layout.slotWidth(), u1 = (p + 1) * m_layout.slotWidth();
            const QRectF rect = QRectF(toScreen(u0, v1), toScreen(u1, v0)).normalized();
            addRegion({s, p, QPolygonF(rect)});
            addAnchor({s, p, rect.center()});
            if (m_painter) {
                m_painter->setPen(QPen(toQColor(m.backColorB), 0.5));
                m_painter->setBrush(surfaceColor(v));
                m_painter->drawRect(rect);
            }
        }
    }
}

void ChartRenderer::addBox(std::vector<Face> &faces, double u0, double u1, double v0, double v1,
                           double w0, double w1, const QColor &color, int series, int point)
{
    if (v0 > v1)
        std::swap(v0, v1);
    v0 = std::clamp(v0, 0.0, 1.0);
    v1 = std::clamp(v1, 0.0, 1.0);
    const bool shaded = m_model.chartType & TypeShaded;
    auto quad = [&](WorldPoint a, WorldPoint b, WorldPoint c, WorldPoint d, int light) {
        Face f;
        f.polygon = QPolygonF({toScreen(a.u, a.v, a.w), toScreen(b.u, b.v, b.w),
                               toScreen(c.u, c.v, c.w), toScreen(d.u, d.v, d.w)});
        const WorldPoint centre{(a.u + c.u) / 2, (a.v + c.v) / 2, (a.w + c.w) / 2};
        f.depth = m_layout.projection.depth(centre);
        f.fill = shaded || light != 100 ? shade(color, light) : color;
        f.series = series;
        f.point = point;
        faces.push_back(f);
    };
    quad({u0, v0, w0}, {u1, v0, w0}, {u1, v1, w0}, {u0, v1, w0}, 100);                     // front
    quad({u0, v0, w1}, {u1, v0, w1}, {u1, v1, w1}, {u0, v1, w1}, 80);                      // back
    quad({u0, v0, w0}, {u0, v0, w1}, {u0, v1, w1}, {u0, v1, w0}, 78);                      // left
    quad({u1, v0, w0}, {u1, v0, w1}, {u1, v1, w1}, {u1, v1, w0}, 78);                      // right
    quad({u0, v1, w0}, {u1, v1, w0}, {u1, v1, w1}, {u0, v1, w1}, isSurface() ? 100 : 125); // top
    quad({u0, v0, w0}, {u1, v0, w0}, {u1, v0, w1}, {u0, v0, w1}, 70);                      // bottom
    // The point's anchor: the middle of its top face, drawn last among its faces.
    Face &top = faces[faces.size() - 2];
    top.hasAnchor = true;
    top.anchor = toScreen((u0 + u1) / 2, v1, (w0 + w1) / 2);
}

bool ChartRenderer::addDenseRibbon(std::vector<Face> &faces, const RibbonOutline &run,
                                   double middleW, const QPointF &depth, const QColor &color)
{
    if (run.count() < 2)
        return false;
    const QPointF uStep = toScreen(1, 0) - toScreen(0, 0);
    const double length = std::hypot(uStep.x(), uStep.y());
    const double spanPixels = length * std::abs(run.last().u - run.first().u);
    if (length <= 0 || double(run.count()) <= 2 * std::max(spanPixels, 1.0))
        return false; // few enough points: every face is drawn on its own
    const std::vector<RibbonPoint> &kept = run.kept();
    Face face;
    face.fill = color.lighter(110);
    // Each top face as its own sub-path, all turning the same way, so overlaps stay filled.
    constexpr std::size_t FacesPerPiece = 48;
    for (std::size_t k = 0; k + 1 < kept.size(); ++k) {
        if (k % FacesPerPiece == 0) {
            face.body.emplace_back();
            face.body.back().setFillRule(Qt::WindingFill);
        }
        // The view is a linear map: the back edge is the front edge moved by depth.
        const QPointF a0 = kept[k].front;
        const QPointF b0 = kept[k + 1].front;
        const QPointF b1 = b0 + depth;
        const QPointF a1 = a0 + depth;
        const double turn =
            (b0.x() - a0.x()) * (a1.y() - a0.y()) - (b0.y() - a0.y()) * (a1.x() - a0.x());
        QPolygonF quad = turn >= 0 ? QPolygonF({a0, b0, b1, a1}) : QPolygonF({a0, a1, b1, b0});
        face.body.back().addPolygon(quad);
        face.body.back().closeSubpath();
    }
    const bool backFar = m_layout.projection.backIsFar();
    face.nearEdge.reserve(qsizetype(kept.size()));
    face.farEdge.reserve(qsizetype(kept.size()));
    for (const RibbonPoint &p : kept) {
        face.nearEdge << (backFar ? p.front : p.front + depth);
        face.farEdge << (backFar ? p.front + depth : p.front);
    }
    face.depth = m_layout.projection.depth({(run.first().u + run.last().u) / 2, 0.5, middleW});
    faces.push_back(std::move(face));
    return true;
}

void ChartRenderer::addRibbon(std::vector<Face> &faces, int series, bool area)
{
    const auto [w0, w1] = rowRange(series);
    const QColor color = seriesColor(series);
    const bool markers = drawsMarkers(series);
    const QPointF depth = toScreen(0, 0, w1) - toScreen(0, 0, w0);
    const QPointF uStep = toScreen(1, 0) - toScreen(0, 0);
    const double length = std::hypot(uStep.x(), uStep.y());
    const Placement place = placementOf(series);
    const auto pointAt = [&](int p) {
        const double u = placedU(place, p);
        const double v = std::clamp(place.yScale->fraction(place.values[p]), 0.0, 1.0);
        return RibbonPoint{u, v, toScreen(u, v, w0)};
    };
    // Runs of points without a gap; a run of more points than pixels is drawn whole, from
    // the outline kept as its points come.
    RibbonOutline run(length > 0 ? uStep / length : QPointF());
    int runBegin = 0;
    const auto finishRun = [&](int runEnd) {
        if (run.count() == 0)
            return;
        run.finish();
        if (area || !addDenseRibbon(faces, run, (w0 + w1) / 2, depth, color)) {
            // Few points, or an area: a face between each two, the points taken again.
            RibbonPoint previous = run.first();
            for (int p = runBegin + 1; p < runEnd; ++p) {
                const RibbonPoint next = pointAt(p);
                const double pu = previous.u, pv = previous.v, u = next.u, vv = next.v;
                Face top;
                top.polygon = QPolygonF(
                    {previous.front, next.front, next.front + depth, previous.front + depth});
                top.depth = m_layout.projection.depth({(pu + u) / 2, (pv + vv) / 2, (w0 + w1) / 2});
                top.fill = color.lighter(110);
                faces.push_back(top);
                if (area) {
                    const double b = baseV();
                    Face front;
                    front.polygon = QPolygonF(
                        {toScreen(pu, b, w0), toScreen(u, b, w0), next.front, previous.front});
                    front.depth = m_layout.projection.depth({(pu + u) / 2, b, w0});
                    front.fill = color;
                    faces.push_back(front);
                }
                previous = next;
            }
        }
        run.clear();
    };
    const std::size_t anchorsBefore = m_layout.anchors.size();
    for (int p = 0; p < m_model.pointCount; ++p) {
        const double v = place.values[p];
        if (isEmptyPoint(v) || !std::isfinite(v)) {
            finishRun(p);
            continue;
        }
        const RibbonPoint at = pointAt(p);
        if (run.count() == 0)
            runBegin = p;
        run.add(at);
        const QPointF anchor = at.front + depth / 2;
        if (!markers) {
            // Nothing is drawn at the point: its anchor needs no place among the faces.
            addAnchor({series, p, anchor, false});
            continue;
        }
        Face marker;
        marker.series = series;
        marker.point = p;
        marker.hasAnchor = true;
        marker.anchor = anchor;
        marker.depth = m_layout.projection.depth({at.u, at.v, (w0 + w1) / 2}) - 1e-6;
        faces.push_back(marker);
    }
    finishRun(m_model.pointCount);
    if (!markers && m_recordPoints)
        m_layout.addOrderedRun(anchorsBefore);
}

void ChartRenderer::buildFaces3D(std::vector<Face> &faces)
{
    const ChartModel &m = m_model;
    const quint32 g = m.gallery();
    if (isBarLike() || isSurface()) {
        const double gap = (m.pointGap <= 0 ? 30 : std::min<int>(m.pointGap, 100)) / 100.0;
        const double width = m_layout.slotWidth() * (1 - gap * 0.9);
        for (int s = 0; s < m.seriesCount; ++s) {
            if (!isSurface() && isFittedCurve(s)) {
                addRibbon(faces, s, false);
                continue;
            }
            const auto [w0, w1] = isSurface()
                                      ? std::pair<double, double>(double(s) / m.seriesCount,
                                                                  double(s + 1) / m.seriesCount)
                                      : rowRange(s);
            for (int p = 0; p < m.pointCount; ++p) {
                const double v = m.value(s, p);
                if (isEmptyPoint(v) || !std::isfinite(v))
                    continue;
                const double uc = m_layout.slotCentre(p);
                double from = isSurface() ? 0 : baseV(), to = vOf(s, v);
                if (g == GalleryStackedBars) {
                    double below = 0;
                    for (int k = 0; k < s; ++k) {
                        if (isFittedCurve(k))
                            continue;
                        const double kv = m.value(k, p);
                        if (!isEmptyPoint(kv) && std::isfinite(kv) && (kv >= 0) == (v >= 0))
                            below += kv;
                    }
                    from = vOf(s, below);
                    to = vOf(s, below + v);
                }
                const QColor c = isSurface() ? surfaceColor(v) : seriesColor(s);
                const double half = isSurface() ? m_layout.slotWidth() / 2 * 0.98 : width / 2;
                addBox(faces, uc - half, uc + half, from, std::max(to, from + 1e-4), w0, w1, c, s,
                       p);
            }
        }
        return;
    }
    for (int s = 0; s < m.seriesCount; ++s)
        addRibbon(faces, s, g == GalleryArea);
}

void ChartRenderer::paintFaces(std::vector<Face> &faces)
{
    std::stable_sort(faces.begin(), faces.end(),
                     [](const Face &a, const Face &b) { return a.depth > b.depth; });
    const bool outline = m_model.chartType & TypeOutline;
    for (const Face &f : faces) {
        if (!f.body.empty()) {
            if (m_painter) {
                const QPen edge =
                    outline ? QPen(f.fill.darker(150), 0.8) : QPen(f.fill.darker(115), 0.5);
                m_painter->setBrush(Qt::NoBrush);
                m_painter->setPen(edge);
                m_painter->drawPolyline(f.farEdge);
                m_painter->setPen(Qt::NoPen);
                m_painter->setBrush(f.fill);
                for (const QPainterPath &piece : f.body)
                    m_painter->drawPath(piece);
                m_painter->setPen(edge);
                m_painter->setBrush(Qt::NoBrush);
                m_painter->drawPolyline(f.nearEdge);
            }
            continue;
        }
        if (!f.polygon.isEmpty()) {
            if (f.series >= 0)
                addRegion({f.series, f.point, f.polygon});
            if (m_painter) {
                m_painter->setPen(outline ? QPen(f.fill.darker(150), 0.8)
                                          : QPen(f.fill.darker(115), 0.5));
                m_painter->setBrush(f.fill);
                m_painter->drawPolygon(f.polygon);
            }
        } else if (m_painter && f.hasAnchor && drawsMarkers(f.series)) {
            drawMarker(f.anchor, m_model.markerStyleOf(f.series), seriesColor(f.series),
                       markerSize());
        }
        if (f.hasAnchor)
            addAnchor({f.series, f.point, f.anchor, f.polygon.isEmpty() && drawsMarkers(f.series)});
    }
}

void ChartRenderer::drawPie()
{
    const ChartModel &m = m_model;
    const QRectF area = m_layout.plot;
    const int cols = int(std::ceil(std::sqrt(double(m.seriesCount))));
    const int rowsN = (m.seriesCount + cols - 1) / cols;
    const double cw = area.width() / cols, ch = area.height() / rowsN;
    const QFontMetricsF fm(font(ChartText::YLabels));
    const bool tilt = m.view3D;
    const double squash =
        tilt ? std::clamp(std::sin(std::abs(m.elevation()) * Pi / 180), 0.35, 1.0) : 1;
    for (int s = 0; s < m.seriesCount; ++s) {
        const QRectF cell(area.left() + (s % cols) * cw, area.top() + (s / cols) * ch, cw, ch);
        const double labelH = m.seriesCount > 1 ? fm.lineSpacing() : 0;
        const double radius =
            std::max(4.0, std::min(cell.width() / 2, (cell.height() - labelH) / 2 / squash) * 0.85);
        const double thick = tilt ? radius * std::clamp<double>(m.depth3D, 0, 200) / 100 * 0.35 *
                                        std::cos(std::abs(m.elevation()) * Pi / 180)
                                  : 0;
        const QPointF centre(cell.center().x(), cell.top() + (cell.height() - labelH - thick) / 2);
        double total = 0;
        for (int p = 0; p < m.pointCount; ++p) {
            const double v = m.value(s, p);
            if (!isEmptyPoint(v) && std::isfinite(v))
                total += std::abs(v);
        }
        if (total <= 0)
            continue;
        auto at = [&](double angle, double r, double dy = 0) {
            return QPointF(centre.x() + r * std::cos(angle),
                           centre.y() - r * std::sin(angle) * squash + dy);
        };
        struct Slice
        {
            int point;
            double a0, a1;
            QPolygonF top;
        };
        std::vector<Slice> slices;
        double angle = Pi / 2 - m.rotation() * Pi / 180;
        for (int p = 0; p < m.pointCount; ++p) {
            const double v = m.value(s, p);
            if (isEmptyPoint(v) || !std::isfinite(v) || v == 0)
                continue;
            const double sweep = std::abs(v) / total * 2 * Pi;
            Slice slice{p, angle - sweep, angle, {}};
            slice.top << at(0, 0);
            const int steps = std::max(2, int(sweep / (Pi / 90)));
            for (int i = 0; i <= steps; ++i)
                slice.top << at(angle - sweep * i / steps, radius);
            slices.push_back(slice);
            angle -= sweep;
        }
        if (m_painter && thick > 0) {
            // The rim: outer arcs facing the viewer, far ones first.
            std::vector<const Slice *> order;
            for (const Slice &sl : slices)
                order.push_back(&sl);
            std::sort(order.begin(), order.end(), [](const Slice *a, const Slice *b) {
                return std::sin((a->a0 + a->a1) / 2) > std::sin((b->a0 + b->a1) / 2);
            });
            for (const Slice *sl : order) {
                QPolygonF rim;
                const int steps = std::max(2, int((sl->a1 - sl->a0) / (Pi / 90)));
                for (int i = 0; i <= steps; ++i)
                    rim << at(sl->a1 - (sl->a1 - sl->a0) * i / steps, radius);
                for (int i = steps; i >= 0; --i)
                    rim << at(sl->a1 - (sl->a1 - sl->a0) * i / steps, radius, thick);
                const QColor c = toQColor(m.seriesColor(sl->point));
                m_painter->setPen(QPen(c.darker(170), 0.6));
                m_painter->setBrush(c.darker(135));
                m_painter->drawPolygon(rim);
            }
        }
        for (const Slice &sl : slices) {
            const double mid = (sl.a0 + sl.a1) / 2;
            addRegion({s, sl.point, sl.top});
            addAnchor({s, sl.point, at(mid, radius * 0.62)});
            if (!m_painter)
                continue;
            const QColor c = toQColor(m.seriesColor(sl.point));
            QBrush brush(c);
            if (m.chartType & TypeShaded) {
                QRadialGradient grad(centre, radius);
                grad.setColorAt(0, c.lighter(130));
                grad.setColorAt(1, c);
                brush = QBrush(grad);
            }
            m_painter->setPen(QPen(QColor(255, 255, 255, 220), 1.2));
            m_painter->setBrush(brush);
            m_painter->drawPolygon(sl.top);
            const double share = 100.0 * (sl.a1 - sl.a0) / (2 * Pi);
            if (share >= 4) {
                m_painter->setFont(font(ChartText::XLabels));
                m_painter->setPen(Qt::black);
                const QString text = QString::number(share, 'f', 0) + QLatin1Char('%');
                const QPointF tp = at(mid, radius * 0.62);
                m_painter->drawText(QRectF(tp.x() - 40, tp.y() - 12, 80, 24), Qt::AlignCenter,
                                    text);
            }
        }
        if (m_painter && labelH > 0) {
            m_painter->setFont(font(ChartText::YLabels));
            m_painter->setPen(Qt::black);
            m_painter->drawText(QRectF(cell.left(), cell.bottom() - labelH, cell.width(), labelH),
                                Qt::AlignCenter, m.seriesCaptions.value(s));
        }
    }
}

void ChartRenderer::drawConstants()
{
    if (!m_painter || m_model.constants.empty())
        return;
    const QFontMetricsF fm(font(ChartText::YLabels));
    m_painter->setFont(font(ChartText::YLabels));
    for (const ConstantLine &c : m_model.constants) {
        if (!std::isfinite(c.value))
            continue;
        const double v = m_layout.yScale.fraction(c.value);
        if (v < 0 || v > 1)
            continue;
        QPen pen(QColor(200, 0, 0), std::max<int>(m_model.lineWidths[0], 1));
        if (m_model.constantStyle == 3)
            pen.setStyle(Qt::DashLine);
        m_painter->setPen(pen);
        QPointF a, b;
        if (m_layout.projection.is3D()) {
            // Along the back wall and the side wall, as the grid lines run.
            const double wFar = m_layout.projection.backIsFar() ? 1 : 0;
            const double uFar = m_layout.projection.rightIsFar() ? 1 : 0;
            a = toScreen(0, v, wFar);
            b = toScreen(1, v, wFar);
            m_painter->drawLine(toScreen(uFar, v, 0), toScreen(uFar, v, 1));
            if (b.x() < a.x())
                std::swap(a, b);
        } else {
            a = QPointF(m_layout.plot.left(), toScreen(0, v).y());
            b = QPointF(m_layout.plot.right(), a.y());
        }
        m_painter->drawLine(a, b);
        if (!c.caption.isEmpty()) {
            m_painter->setPen(QColor(160, 0, 0));
            m_painter->drawText(
                QRectF(b.x() - 300, b.y() - fm.lineSpacing() - 1, 298, fm.lineSpacing()),
                Qt::AlignRight | Qt::AlignBottom, c.caption);
        }
    }
}

void ChartRenderer::drawAxes()
{
    if (!m_painter)
        return;
    const QColor axis = toQColor(m_model.indexedColor(IndexedAxisLines));
    m_painter->setPen(QPen(axis.alpha() ? axis : QColor(Qt::black), 1));
    if (!m_layout.projection.is3D()) {
        const QRectF &p = m_layout.plot;
        m_painter->drawLine(p.bottomLeft(), p.topLeft());
        m_painter->drawLine(p.bottomLeft(), p.bottomRight());
        if (m_secondAxis)
            m_painter->drawLine(p.bottomRight(), p.topRight());
    }
    if (!(m_model.axisBits & AxisHideYLabels) && isSurface()) {
        drawRowLabels();
    } else if (!(m_model.axisBits & AxisHideYLabels)) {
        drawYLabels(m_layout.yScale, false);
        if (m_secondAxis || (m_model.axisBits & AxisRightLabels))
            drawYLabels(m_secondAxis ? m_layout.y2Scale : m_layout.yScale, true);
    }
    if (!(m_model.axisBits & AxisHideXLabels))
        drawXLabels();
}

void ChartRenderer::drawRowLabels()
{
    // A surface's rows are its series: their names stand where value labels would.
    const QFontMetricsF fm(font(ChartText::YLabels));
    m_painter->setFont(font(ChartText::YLabels));
    m_painter->setPen(Qt::black);
    const int n = std::max(m_model.seriesCount, 1);
    const bool is3D = m_layout.projection.is3D();
    const double edgeU = is3D && toScreen(1, 0, 0.5).x() < toScreen(0, 0, 0.5).x() ? 1 : 0;
    for (int s = 0; s < m_model.seriesCount; ++s) {
        const double f = (s + 0.5) / n;
        const QPointF at = is3D ? toScreen(edgeU, 0, f) : toScreen(0, f);
        const QString text =
            fm.elidedText(m_model.seriesCaptions.value(s), Qt::ElideRight, m_yLabelWidth - 8);
        m_painter->drawText(QRectF(at.x() - m_yLabelWidth, at.y() - fm.height() / 2,
                                   m_yLabelWidth - 6, fm.height()),
                            Qt::AlignRight | Qt::AlignVCenter, text);
    }
}

void ChartRenderer::drawYLabels(const AxisScale &scale, bool right)
{
    const QFontMetricsF fm(font(ChartText::YLabels));
    // Seen from straight above, the value axis has no length to label.
    if (std::abs(toScreen(0, 1, 0).y() - toScreen(0, 0, 0).y()) < fm.height())
        return;
    m_painter->setFont(font(ChartText::YLabels));
    m_painter->setPen(Qt::black);
    // In 3D the labels run up the vertical edge of the box that is farthest to the left
    // (right), where the grid lines of the wall beside it end. Where two edges stand one over
    // the other (a wall seen edge-on, as without rotation), the labels take the one on the far
    // walls, so they stand at the ends of the back wall's grid lines.
    double edgeU = right ? 1 : 0, edgeW = 0;
    const Projection3D &pr = m_layout.projection;
    const bool is3D = pr.is3D();
    if (is3D) {
        const double uFar = pr.rightIsFar() ? 1 : 0, wFar = pr.backIsFar() ? 1 : 0;
        double bestX = 0;
        int bestFar = -1;
        for (double u : {0.0, 1.0}) {
            for (double w : {0.0, 1.0}) {
                const double x = toScreen(u, 0, w).x();
                const int far = int(u == uFar) + int(w == wFar);
                const bool further = bestFar < 0 || (right ? x > bestX + 4 : x < bestX - 4);
                const bool level = bestFar >= 0 && std::abs(x - bestX) <= 4;
                if (further || (level && far > bestFar)) {
                    bestX = x;
                    bestFar = far;
                    edgeU = u;
                    edgeW = w;
                }
            }
        }
    }
    // Labels keep clear of the walls' thickness.
    const double clearance = is3D ? std::max<int>(m_model.wallWidth, 1) : 0;
    for (double t : scale.ticks()) {
        const double v = scale.fraction(t);
        if (v < -1e-9 || v > 1 + 1e-9)
            continue;
        QPointF at = toScreen(edgeU, v, edgeW);
        if (!m_layout.projection.is3D())
            at.setX(right ? m_layout.plot.right() : m_layout.plot.left());
        const QString text = scale.label(t);
        const double w = fm.horizontalAdvance(text);
        const QRectF box =
            right
                ? QRectF(at.x() + 5 + clearance, at.y() - fm.height() / 2, w + 2, fm.height())
                : QRectF(at.x() - w - 6 - clearance, at.y() - fm.height() / 2, w + 2, fm.height());
        m_painter->drawText(box, (right ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, text);
        m_painter->drawLine(at, at + QPointF(right ? 3 : -3, 0));
    }
}

void ChartRenderer::drawXLabels()
{
    const QFontMetricsF fm(font(ChartText::XLabels));
    m_painter->setFont(font(ChartText::XLabels));
    m_painter->setPen(Qt::black);
    const bool vertical = m_model.axisBits & AxisVerticalXLabels;
    const double wNear = m_layout.projection.is3D() && m_layout.projection.backIsFar() ? 0
                         : m_layout.projection.is3D()                                  ? 1
                                                                                       : 0;
    auto drawAt = [&](double u, const QString &text, double room) {
        QPointF at = toScreen(u, 0, wNear) + QPointF(0, 3);
        if (!m_layout.projection.is3D())
            at.setY(m_layout.plot.bottom() + 3);
        if (vertical) {
            m_painter->save();
            m_painter->translate(at);
            m_painter->rotate(-90);
            m_painter->drawText(
                QRectF(-m_xLabelHeight, -fm.height() / 2, m_xLabelHeight - 2, fm.height()),
                Qt::AlignRight | Qt::AlignVCenter, text);
            m_painter->restore();
        } else {
            m_painter->drawText(QRectF(at.x() - room / 2, at.y(), room, fm.lineSpacing()),
                                Qt::AlignHCenter | Qt::AlignTop, text);
        }
    };
    if (m_layout.numericX) {
        const std::vector<double> ticks = m_layout.xScale.ticks();
        const double room = m_layout.plot.width() / std::max<std::size_t>(ticks.size(), 1) * 1.6;
        for (double t : ticks)
            drawAt(m_layout.xScale.fraction(t), m_layout.xScale.label(t), room);
        return;
    }
    // Category labels: skip some when they would overlap.
    double widest = 1;
    for (const QString &c : m_model.pointCaptions)
        widest = std::max(widest, vertical ? fm.height() : fm.horizontalAdvance(c));
    const double slotPx = m_layout.dataRect.width() / std::max(m_layout.slotCount, 1);
    const int every = std::max(1, int(std::ceil((widest + 6) / std::max(slotPx, 0.01))));
    for (int p = 0; p < m_layout.slotCount; p += every)
        drawAt(m_layout.slotCentre(p), m_model.pointCaptions.value(p), slotPx * every);
}

void ChartRenderer::drawTitles()
{
    if (!m_painter || m_plotOnly)
        return;
    m_painter->setPen(Qt::black);
    if (!m_topTitle.isEmpty()) {
        m_painter->setFont(font(ChartText::TopTitle));
        m_painter->drawText(m_topTitle, Qt::AlignCenter,
                            titleLines(m_model.visibleTitle(2)).join(QLatin1Char('\n')));
    }
    if (!m_bottomTitle.isEmpty()) {
        m_painter->setFont(font(ChartText::BottomTitle));
        m_painter->drawText(m_bottomTitle, Qt::AlignCenter,
                            titleLines(m_model.visibleTitle(3)).join(QLatin1Char('\n')));
    }
    auto vertical = [&](const QRectF &box, const QString &text, ChartText which, double angle) {
        if (box.isEmpty())
            return;
        m_painter->save();
        m_painter->setFont(font(which));
        m_painter->translate(box.center());
        m_painter->rotate(angle);
        const QRectF r(-box.height() / 2, -box.width() / 2, box.height(), box.width());
        m_painter->drawText(r, Qt::AlignCenter, titleLines(text).join(QLatin1Char('\n')));
        m_painter->restore();
    };
    const QRectF plotBand(0, m_layout.plot.top(), 0, m_layout.plot.height());
    vertical(QRectF(m_leftTitle.left(), plotBand.top(), m_leftTitle.width(), plotBand.height()),
             m_model.visibleTitle(0), ChartText::LeftTitle, -90);
    vertical(QRectF(m_rightTitle.left(), plotBand.top(), m_rightTitle.width(), plotBand.height()),
             m_model.visibleTitle(1), ChartText::RightTitle, 90);
}

void ChartRenderer::drawLegend()
{
    if (!m_painter || m_legend.isEmpty())
        return;
    const QColor back = toQColor(m_model.backColorC);
    m_painter->setPen(QPen(QColor(120, 120, 120), 1));
    m_painter->setBrush(back.alpha() ? QBrush(back) : Qt::NoBrush);
    m_painter->drawRect(m_legend);
    const QFontMetricsF fm(font(ChartText::YLabels));
    m_painter->setFont(font(ChartText::YLabels));
    const std::vector<LegendEntry> entries = legendEntries();
    const bool lineLike = !isBarLike() && !isPie() && m_model.gallery() != GalleryArea;
    double y = m_legend.top() + 6;
    for (const LegendEntry &entry : entries) {
        if (y + fm.lineSpacing() > m_legend.bottom() + 1)
            break;
        const int i = entry.index;
        const QColor c = isPie() ? toQColor(m_model.seriesColor(i)) : seriesColor(i);
        const QPointF mid(m_legend.left() + 14, y + fm.lineSpacing() / 2);
        if (lineLike || (!isPie() && isFittedCurve(i))) {
            m_painter->setPen(dataPen(c));
            m_painter->drawLine(mid - QPointF(9, 0), mid + QPointF(9, 0));
            if (m_model.markerStyleOf(i) > 0 && !isFittedCurve(i))
                drawMarker(mid, m_model.markerStyleOf(i), c, 7);
        } else {
            m_painter->setPen(QPen(c.darker(150), 1));
            m_painter->setBrush(c);
            m_painter->drawRect(QRectF(mid.x() - 6, mid.y() - 5, 12, 10));
        }
        m_painter->setPen(Qt::black);
        m_painter->drawText(
            QRectF(m_legend.left() + 28, y, m_legend.width() - 30, fm.lineSpacing()),
            Qt::AlignLeft | Qt::AlignVCenter,
            fm.elidedText(entry.text, Qt::ElideRight, m_legend.width() - 30));
        y += fm.lineSpacing();
    }
}

} // namespace qel::chartview
