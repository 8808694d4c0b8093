#pragma once

#include <QRect>
#include <QSize>

namespace qel::shell {

// Window geometry is worked out in twips (1440 per inch) and turned into pixels only at the
// widget boundary, with the screen's logical resolution.
class Twips
{
public:
    static constexpr int PerInch = 1440;

    explicit Twips(double dpiX = 96, double dpiY = 96);

    int toPixelsX(int twips) const;
    int toPixelsY(int twips) const;
    // Rounded up, so a size given as a minimum never ends a pixel short of it.
    int toPixelsCeilX(int twips) const;
    int toPixelsCeilY(int twips) const;
    int fromPixelsX(int pixels) const;
    int fromPixelsY(int pixels) const;

    QRect toPixels(const QRect &twips) const;
    QSize toPixels(const QSize &twips) const;
    QSize fromPixels(const QSize &pixels) const;

private:
    double m_dpiX;
    double m_dpiY;
};

} // namespace qel::shell
