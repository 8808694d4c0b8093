#include "print/PrintLayout.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace qel::print {

int PrintLayout::toInt(double value)
{
    if (!std::isfinite(value))
        return 0;
    return int(std::clamp(std::nearbyint(value), double(INT_MIN / 2), double(INT_MAX / 2)));
}

ChartPlacement PrintLayout::standardPage(int mode, const PageMetrics &page)
{
    ChartPlacement placed;
    if (!page.isValid())
        return placed;
    const int k = topDivisor(mode);
    const int top1 = toInt(page.height / (k * page.ty));
    const int bottom1 = toInt(top1 + page.height / (2.6 * page.ty));
    const int left = toInt(page.width / (10 * page.tx));
    const int right = toInt(page.width / page.tx - 0.8 * left);
    placed.chart1 = QRect(left, top1, right - left, bottom1 - top1);
    if (mode == 2) {
        const int top2 = toInt(bottom1 + page.height / (12 * page.ty));
        const int bottom2 = toInt(top2 + page.height / (2.6 * page.ty));
        placed.chart2 = QRect(left, top2, right - left, bottom2 - top2);
    }
    return placed;
}

QRect PrintLayout::fitOnPage(const QPoint &origin, const QSize &naturalTwips,
                             const PageMetrics &page)
{
    if (!page.isValid() || naturalTwips.isEmpty())
        return QRect();
    const double width = naturalTwips.width() / page.tx;
    const double height = naturalTwips.height() / page.ty;
    const double roomX = page.width / page.tx - origin.x();
    const double roomY = page.height / page.ty - origin.y();
    if (roomX <= 0 || roomY <= 0)
        return QRect();
    const double scale = std::min({1.0, roomX / width, roomY / height});
    return QRect(origin,
                 QSize(std::max(1, toInt(width * scale)), std::max(1, toInt(height * scale))));
}

QRect PrintLayout::asScreen(const QRect &chartTwips, const PageMetrics &page)
{
    if (!page.isValid() || chartTwips.isEmpty())
        return QRect();
    const QPoint origin(toInt(std::max(0, chartTwips.left()) / page.tx),
                        toInt(std::max(0, chartTwips.top()) / page.ty));
    return fitOnPage(origin, chartTwips.size(), page);
}

QRect PrintLayout::fillingWidth(const PageMetrics &page)
{
    if (!page.isValid())
        return QRect();
    const double m = 100 / page.tx;
    const int left = toInt(m);
    const int top = toInt(m);
    const int right = toInt(page.width / page.tx - m / 2);
    const int bottom = toInt(page.height / (2 * page.ty) - m);
    return QRect(left, top, right - left, bottom - top);
}

QPoint PrintLayout::picturePosition(const PageMetrics &page)
{
    if (!page.isValid())
        return QPoint();
    return QPoint(toInt(page.width / (7 * page.tx)), toInt(page.height / (7 * page.ty)));
}

} // namespace qel::print
