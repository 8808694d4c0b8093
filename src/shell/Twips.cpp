#include "shell/Twips.h"

#include <cmath>

namespace qel::shell {

Twips::Twips(double dpiX, double dpiY)
    : m_dpiX(dpiX > 0 ? dpiX : 96)
    , m_dpiY(dpiY > 0 ? dpiY : 96)
{}

int Twips::toPixelsX(int twips) const
{
    return int(std::lround(twips * m_dpiX / PerInch));
}

int Twips::toPixelsY(int twips) const
{
    return int(std::lround(twips * m_dpiY / PerInch));
}

int Twips::toPixelsCeilX(int twips) const
{
    return int(std::ceil(twips * m_dpiX / PerInch - 1e-9));
}

int Twips::toPixelsCeilY(int twips) const
{
    return int(std::ceil(twips * m_dpiY / PerInch - 1e-9));
}

int Twips::fromPixelsX(int pixels) const
{
    return int(std::lround(pixels * PerInch / m_dpiX));
}

int Twips::fromPixelsY(int pixels) const
{
    return int(std::lround(pixels * PerInch / m_dpiY));
}

QRect Twips::toPixels(const QRect &twips) const
{
    // Edges are converted, not sizes, so neighbouring controls never overlap by rounding.
    const int left = toPixelsX(twips.left());
    const int top = toPixelsY(twips.top());
    const int right = toPixelsX(twips.left() + twips.width());
    const int bottom = toPixelsY(twips.top() + twips.height());
    return QRect(left, top, right - left, bottom - top);
}

QSize Twips::toPixels(const QSize &twips) const
{
    return QSize(toPixelsX(twips.width()), toPixelsY(twips.height()));
}

QSize Twips::fromPixels(const QSize &pixels) const
{
    return QSize(fromPixelsX(pixels.width()), fromPixelsY(pixels.height()));
}

} // namespace qel::shell
