#include "shell/ResizeLayout.h"

#include <algorithm>
#include <cmath>

namespace qel::shell {

namespace {

// Offsets of the rule: the charts leave the right-hand column free, the legend box sits
// under Chart1, Chart2 reaches further down over the legend box.
constexpr int Chart1HeightOffset = 1700;
constexpr int Chart2HeightOffset = 500;
constexpr int LegendTopOffset = 1600;
constexpr int Frame2LeftOffset = 1860;
constexpr int ChartWidthOffset = 1920;

} // namespace

ResizeLayout::ResizeLayout(const Geometry &design)
    : m_geometry(design)
    , m_frame2Need(design.frame2.size())
    , m_frame3Need(design.frame3.size())
{}

void ResizeLayout::setFrameNeeds(const QSize &frame2, const QSize &frame3)
{
    m_frame2Need = frame2;
    m_frame3Need = frame3;
}

int ResizeLayout::stackedWidth() const
{
    return std::max({ColumnWidth, m_frame2Need.width(), m_frame3Need.width()});
}

bool ResizeLayout::fitsStacked(int h) const
{
    return m_frame2Need.height() + m_frame3Need.height() <= h;
}

QSize ResizeLayout::columnSize(int h) const
{
    if (fitsStacked(h))
        return QSize(stackedWidth(), m_frame2Need.height() + m_frame3Need.height());
    const int w2 = std::max(ColumnWidth, m_frame2Need.width());
    const int w3 = std::max(ColumnWidth, m_frame3Need.width());
    return QSize(w2 + FrameGap + w3, std::max(m_frame2Need.height(), m_frame3Need.height()));
}

QSize ResizeLayout::minimumInner() const
{
    int h = std::max(MinHeight, m_frame2Need.height() + m_frame3Need.height());
    if (!m_available.isEmpty())
        h = std::min(h, m_available.height());
    int w = std::max(MinWidth, ChartMinWidth + columnSize(h).width() + 2 * FrameGap);
    if (!m_available.isEmpty())
        w = std::min(w, m_available.width());
    return QSize(w, h);
}

ResizeLayout::Geometry ResizeLayout::designGeometry()
{
    Geometry g;
    const int chartWidth = MinWidth - ChartWidthOffset;
    const int column = MinWidth - Frame2LeftOffset;
    g.chart1 = QRect(0, 0, chartWidth, MinHeight - Chart1HeightOffset);
    g.chart2 = QRect(0, 0, chartWidth, MinHeight - Chart2HeightOffset);
    g.legend = QRect(0, MinHeight - LegendTopOffset, chartWidth, 1500);
    g.frame2 = QRect(column, 0, 1800, 3060);
    g.frame3 = QRect(column, 3060, 1800, 4920);
    return g;
}

bool ResizeLayout::resize(const QSize &inner, const std::function<void(const Result &)> &apply)
{
    if (m_inProgress)
        return false;
    m_inProgress = true;
    const Result result = layout(inner);
    if (apply)
        apply(result);
    m_inProgress = false;
    return true;
}

ResizeLayout::Result ResizeLayout::layout(const QSize &inner)
{
    Result r;
    if (m_reference.isEmpty())
        m_reference = m_geometry.chart1.size();

    const QSize minimum = minimumInner();
    int w = inner.width();
    int h = inner.height();
    if (h < minimum.height()) {
        r.enlargeHeight = true;
        h = minimum.height();
    }
    if (w < minimum.width()) {
        r.enlargeWidth = true;
        w = minimum.width();
    }
    r.inner = QSize(w, h);

    Geometry &g = m_geometry;
    g.chart1.setHeight(h - Chart1HeightOffset);
    g.chart2.setHeight(h - Chart2HeightOffset);
    g.legend.moveTop(h - LegendTopOffset);

    // Frame3 stands under Frame2 and Chart2 in place of Chart1: both follow with no offset,
    // whatever width start-up gave Chart2 before the window was first laid out. A column of
    // the designed width gives the designed offsets (1860 and 1920).
    const int extra = columnSize(h).width() - ColumnWidth;
    g.frame2.moveLeft(w - Frame2LeftOffset - extra);
    if (fitsStacked(h)) {
        r.besideEachOther = false;
        g.frame2.setSize(QSize(stackedWidth(), m_frame2Need.height()));
        g.frame3.setRect(g.frame2.left(), g.frame2.bottom() + 1, stackedWidth(),
                         m_frame3Need.height());
    } else {
        r.besideEachOther = true;
        g.frame2.setSize(QSize(std::max(ColumnWidth, m_frame2Need.width()), m_frame2Need.height()));
        g.frame3.setRect(g.frame2.right() + 1 + FrameGap, 0,
                         std::max(ColumnWidth, m_frame3Need.width()), m_frame3Need.height());
    }
    g.chart1.setWidth(std::max(w - ChartWidthOffset - extra, 1));
    g.chart2.setWidth(g.chart1.width());
    g.legend.setWidth(g.chart1.width());
    r.geometry = g;

    r.rx = double(g.chart1.width()) / m_reference.width();
    r.ry = double(g.chart1.height()) / m_reference.height();
    if (std::abs(r.rx - 1) > ResetDistance) {
        m_reference.setWidth(g.chart1.width());
        r.rx = 1;
        r.resetX = true;
    }
    if (std::abs(r.ry - 1) > ResetDistance) {
        m_reference.setHeight(g.chart1.height());
        r.ry = 1;
        r.resetY = true;
    }
    return r;
}

} // namespace qel::shell
