#pragma once

#include <QRect>
#include <QSize>

#include <functional>

namespace qel::shell {

// The main window's resize rule, in twips: the charts and the legend box grow with the window,
// the button column keeps to the right edge, and the chart spacing follows the chart's size.
//
// The column is as wide as its frames need in the system font, never narrower than the designed
// 1800 twips; the charts keep their designed distance from it (W - 1920 for a column of 1800).
// When the window cannot be tall enough to hold Frame3 under Frame2, Frame3 stands beside it.
// The window is enlarged to its minimum size, or to what the column needs, but never beyond
// the largest inner size the screen has room for.
class ResizeLayout
{
public:
    static constexpr int MinWidth = 10300;
    static constexpr int MinHeight = 8000;
    static constexpr int ColumnWidth = 1800;   // the designed width of Frame2 and Frame3
    static constexpr int FrameGap = 60;        // between the charts and the column's frames
    static constexpr int ChartMinWidth = 8380; // MinWidth less the designed column and gaps
    // A factor further than this from 1 makes the current size the new reference.
    static constexpr double ResetDistance = 1.2;

    struct Geometry
    {
        QRect chart1;
        QRect chart2;
        QRect legend; // txtLegend
        QRect frame2;
        QRect frame3;
    };

    struct Result
    {
        QSize inner; // W and H as they count, never below the minimum
        bool enlargeWidth = false;
        bool enlargeHeight = false;
        Geometry geometry;
        double rx = 1; // Chart1 against the reference size
        double ry = 1;
        // The current size became the reference in this direction.
        bool resetX = false;
        bool resetY = false;

        bool besideEachOther = false; // Frame3 stands right of Frame2
        bool scalesSpacing() const { return rx * ry != 1; }
    };

    explicit ResizeLayout(const Geometry &design = designGeometry());

    // The controls as placed for a window of the minimum size.
    static Geometry designGeometry();

    // Form_Resize for the window's inner size. apply runs with the result while the resize is
    // in progress; a resize that arrives meanwhile (the window being enlarged) is ignored.
    // Returns false when it was ignored.
    bool resize(const QSize &inner, const std::function<void(const Result &)> &apply);

    // The sizes Frame2 and Frame3 need for their controls, in twips.
    void setFrameNeeds(const QSize &frame2, const QSize &frame3);
    // The largest inner size the screen leaves the window; empty: no limit.
    void setAvailable(const QSize &inner) { m_available = inner; }
    QSize available() const { return m_available; }
    // The smallest inner size the rule keeps the window at, within the available size.
    QSize minimumInner() const;
    // The column's width and height as the frames stand, for an inner height h.
    QSize columnSize(int h) const;

    const Geometry &geometry() const { return m_geometry; }
    QSize reference() const { return m_reference; } // empty before the first resize
    bool inProgress() const { return m_inProgress; }

private:
    Result layout(const QSize &inner);

    bool fitsStacked(int h) const;
    int stackedWidth() const;

    Geometry m_geometry;
    QSize m_frame2Need;
    QSize m_frame3Need;
    QSize m_available;
    QSize m_reference;
    bool m_inProgress = false;
};

} // namespace qel::shell
