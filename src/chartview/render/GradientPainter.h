#pragma once

#include "chartview/ChartModel.h"

#include <QRect>

#include <vector>

class QPainter;

namespace qel::chartview {

// The program's own background gradients: 76 bands of colours running from colour 1 (the
// first, outermost band) to colour 2 (the last, innermost one).
class GradientPainter
{
public:
    static constexpr int BandCount = 76;

    // One band as the drawing call receives it: the corners (left, top) and (right, bottom)
    // of a rectangle drawn without an outline, which fills from left to right - 1 and from
    // top to bottom - 1.
    struct Band
    {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        Rgb color = 0;

        // The pixels the band fills (empty when it has none).
        QRect filled() const { return QRect(left, top, right - left - 1, bottom - top - 1); }
        bool operator==(const Band &) const = default;
    };

    // The bands of the gradient over area, whose paint width W is its width and whose paint
    // height h is its height less one. Empty when the gradient paints nothing.
    static std::vector<Band> bands(const BackgroundGradient &gradient, const QRect &area);
    // Paints the bands; false (nothing painted) when the gradient is off or has no kind.
    static bool paint(QPainter *painter, const BackgroundGradient &gradient, const QRect &area);
};

} // namespace qel::chartview
