#include "chartview/render/ChartClipboard.h"

#include "chartview/render/ChartControl.h"

#include <QBuffer>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>

namespace qel::chartview {

QMimeData *ChartClipboard::mimeData(const ChartControl &chart)
{
    const QSize size = chart.viewSize();
    auto *data = new QMimeData;

    QImage image(size * Scale, QImage::Format_RGB32);
    const int dotsPerMeter = int(96.0 * Scale / 0.0254 + 0.5);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        chart.paint(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())), 96.0 * Scale);
    }
    QByteArray png;
    QBuffer pngBuffer(&png);
    pngBuffer.open(QIODevice::WriteOnly);
    image.save(&pngBuffer, "PNG");
    data->setData(pngType(), png);
    data->setImageData(image);

    QByteArray svg;
    QBuffer svgBuffer(&svg);
    svgBuffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&svgBuffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(96);
    generator.setTitle(chart.model().visibleTitle(3).simplified());
    {
        QPainter painter(&generator);
        chart.paint(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    data->setData(svgType(), svg);
    return data;
}

} // namespace qel::chartview
