#include "chartview/render/GradientPainter.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace qel::chartview {

namespace {

int component(Rgb color, int shift)
{
    return int((color >> shift) & 255);
}

// t of colour 1 and 1 - t of colour 2, each component rounded.
Rgb mix(double t, Rgb color1, Rgb color2)
{
    const auto part = [&](int shift) {
        return int(std::lround(t * component(color1, shift) + (1 - t) * component(color2, shift)));
    };
    return rgb(part(0), part(8), part(16));
}

int pixel(double v)
{
    return int(std::lround(v));
}

} // namespace

std::vector<GradientPainter::Band> GradientPainter::bands(const BackgroundGradient &gradient,
                                                          const QRect &area)
{
    std::vector<Band> out;
    if (!gradient.painted() || area.isEmpty())
        return out;
    const double x0 = area.left(), y0 = area.top();
    const double W = area.width();
    const double H = area.height(); // the paint height h plus one
    const double sy = H / 150, sx = W / 150;
    const double right = x0 + W, bottom = y0 + H;
    out.reserve(BandCount);
    for (int i = 0; i < BandCount; ++i) {
        const double t = double(BandCount - 1 - i) / (BandCount - 1);
        Band b;
        b.color = mix(t, gradient.color1, gradient.color2);
        switch (gradient.kind) {
        case GradientVertical:
            b.left = pixel(x0);
            b.top = pixel(y0 + 2 * i * sy);
            b.right = pixel(right + 1);
            b.bottom = pixel(std::min(y0 + 2 * (i + 1) * sy + 1, bottom));
            break;
        case GradientTwoWay:
            b.left = pixel(x0);
            b.top = pixel(y0 + i * sy);
            b.right = pixel(right + 1);
            b.bottom = pixel(bottom - i * sy);
            break;
        default: // GradientBox
            b.left = pixel(x0 + i * sx);
            b.top = pixel(y0 + i * sy);
            b.right = pixel(right - i * sx + 1);
            b.bottom = pixel(bottom - i * sy + 1);
            break;
        }
        out.push_back(b);
    }
    return out;
}

bool GradientPainter::paint(QPainter *painter, const BackgroundGradient &gradient,
                            const QRect &area)
{
    const std::vector<Band> list = bands(gradient, area);
    if (list.empty())
        return false;
    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setRenderHint(QPainter::Antialiasing, false);
    // The design's rectangles leave a pixel row or column here and there; it takes colour 1.
    painter->fillRect(area, toQColor(list.front().color));
    for (const Band &b : list) {
        QRect fill = b.filled();
        // A vertical band is filled down to the area's bottom: the next band covers the rest,
        // so scaled outputs (PDF, print) show no seams between the bands.
        if (gradient.kind == GradientVertical && !fill.isEmpty())
            fill.setBottom(std::max(fill.bottom(), area.bottom()));
        if (!fill.isEmpty())
            painter->fillRect(fill, toQColor(b.color));
    }
    painter->restore();
    return true;
}

} // namespace qel::chartview
