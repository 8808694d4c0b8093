#pragma once

#include <QRect>
#include <QSize>

#include <functional>

namespace qel::shell {

// The main window's resize rule, in twips: the charts and the legend box grow with the window,
// the button column keeps to the right edge, and the chart spacing follows the chart's size.
class ResizeLayout
{
public:
    static constexpr int MinWidth = 10300;
    static constexpr int MinHeight = 8000;
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

        bool scalesSpacing() const { return rx * ry != 1; }
    };

    explicit ResizeLayout(const Geometry &design = designGeometry());

    // The controls as placed for a window of the minimum size.
    static Geometry designGeometry();

    // Form_Resize for the window's inner size. apply runs with the result while the resize is
    // in progress; a resize that arrives meanwhile (the window being enlarged) is ignored.
    // Returns false when it was ignored.
    bool resize(const QSize &inner, const std::function<void(const Result &)> &apply);

    const Geometry &geometry() const { return m_geometry; }
    QSize reference() const { return m_reference; } // empty before the first resize
    bool inProgress() const { return m_inProgress; }

private:
    Result layout(const QSize &inner);

    Geometry m_geometry;
    QSize m_reference;
    bool m_inProgress = false;
};

} // namespace qel::shell
