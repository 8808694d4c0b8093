#include "print/PicturePrint.h"

#include "print/PrintHeader.h"
#include "print/PrinterPage.h"

#include <QPainter>

#include <cmath>

namespace qel::print {

QSize PicturePrint::naturalTwips(const QImage &image)
{
    // A recorded resolution outside 24..4800 dots per inch is a wrong record, not a size.
    // Files keep whole dots per metre, so 96 dpi comes back as 96.01: whole dpi are meant.
    auto dpi = [](int dotsPerMeter) {
        const double d = std::round(dotsPerMeter * 0.0254);
        return d >= 24 && d <= 4800 ? d : 96.0;
    };
    const double dpiX = dpi(image.dotsPerMeterX());
    const double dpiY = dpi(image.dotsPerMeterY());
    return QSize(int(std::lround(image.width() * PrintLayout::Twips / dpiX)),
                 int(std::lround(image.height() * PrintLayout::Twips / dpiY)));
}

void PicturePrint::print(PrinterPage &page, const Picture &picture)
{
    PrintHeader::selectFont(page, page.font().pointSizeF(), true);
    page.print(PrintHeader::line(picture.printedAt, picture.version, page.deviceName()));
    page.print(picture.fileName + QLatin1Char(' '));

    const PageMetrics metrics = page.metrics();
    const QRect target = PrintLayout::fitOnPage(PrintLayout::picturePosition(metrics),
                                                naturalTwips(picture.image), metrics);
    QPainter *dc = page.deviceContext();
    if (!dc || target.isEmpty() || picture.image.isNull())
        return;
    dc->save();
    dc->setRenderHint(QPainter::SmoothPixmapTransform);
    dc->drawImage(QRectF(target), picture.image);
    dc->restore();
}

} // namespace qel::print
