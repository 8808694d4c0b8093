#include "slides/SlidePreparation.h"

#include "chartdoc/BottomTitle.h"
#include "chartview/ChartView.h"
#include "slides/SlideScript.h"

#include <QFont>
#include <QPainter>

#include <cmath>

namespace qel::slides {

SlidePreparation::SlidePreparation(chartview::ChartView &chart, ChartLoader loadChart,
                                   PictureLoader loadPicture)
    : m_chart(chart)
    , m_loadChart(std::move(loadChart))
    , m_loadPicture(std::move(loadPicture))
{}

bool SlidePreparation::isPicture(const QString &file)
{
    return file.right(4).toLower() == QStringLiteral(".jpg");
}

QString SlidePreparation::fullPath(const QString &folder, const QString &file)
{
    return SlideScript::resolve(folder, file);
}

QString SlidePreparation::failureText(const QString &file, const QString &path)
{
    // The length carries the blank a positive number is printed with.
    return file + QStringLiteral("\r\n読み込みできませんでした。dir= ") +
           QString::number(path.size()) + QStringLiteral("chrs");
}

QString SlidePreparation::reasonOf(const os::Result &loaded)
{
    QString text = loaded.message;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.section(u'\n', -1).trimmed();
}

PreparedSlide SlidePreparation::prepare(const QString &folder, const QString &file) const
{
    PreparedSlide slide;
    slide.file = file;
    slide.path = fullPath(folder, file);
    if (isPicture(file)) {
        slide.kind = PreparedSlide::Kind::Picture;
        slide.description = pictureDescription();
        slide.loaded = m_loadPicture ? m_loadPicture(slide.path, slide.picture)
                                     : os::Result::failure(slide.path);
        if (!slide.loaded.ok())
            slide.picture = QImage();
        return slide;
    }
    slide.kind = PreparedSlide::Kind::Chart;
    slide.loaded = m_loadChart ? m_loadChart(slide.path) : os::Result::failure(slide.path);
    if (slide.loaded.ok()) {
        QString xLegend;
        chartdoc::splitBottomTitle(m_chart.TitleCaption(3), xLegend, slide.description);
    }
    return slide;
}

QRect SlidePreparation::fitted(const QSize &pictureSize, const QRect &target)
{
    if (pictureSize.isEmpty() || target.isEmpty())
        return QRect();
    const QSize size = pictureSize.scaled(target.size(), Qt::KeepAspectRatio);
    return QRect(target.left() + (target.width() - size.width()) / 2,
                 target.top() + (target.height() - size.height()) / 2, size.width(), size.height());
}

void SlidePreparation::paint(const PreparedSlide &slide, QPainter *painter,
                             const QRect &target) const
{
    if (!painter || target.isEmpty())
        return;
    if (slide.kind == PreparedSlide::Kind::Chart) {
        if (slide.ok())
            m_chart.PaintTo(painter, target, 1);
        return;
    }
    if (slide.picture.isNull()) {
        paintNotice(slide, painter, target);
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(fitted(slide.picture.size(), target), slide.picture);
    painter->restore();
}

void SlidePreparation::paintNotice(const PreparedSlide &slide, QPainter *painter,
                                   const QRect &target) const
{
    painter->save();
    painter->fillRect(target, QColor(48, 48, 48));
    painter->setPen(Qt::white);
    QFont font = painter->font();
    // About 1/30 of the area's height, whatever the device's resolution.
    font.setPixelSize(std::max(8, target.height() / 30));
    painter->setFont(font);
    const QString reason = slide.loaded.message.isEmpty() ? slide.path : slide.loaded.message;
    painter->drawText(target.adjusted(target.width() / 10, 0, -target.width() / 10, 0),
                      Qt::AlignCenter | Qt::TextWordWrap, slide.file + QLatin1Char('\n') + reason);
    painter->restore();
}

QImage SlidePreparation::render(const PreparedSlide &slide, const QSize &size, qreal ratio) const
{
    if (size.isEmpty() || !(ratio > 0) || (slide.kind == PreparedSlide::Kind::Chart && !slide.ok()))
        return QImage();
    QSize area = size;
    if (slide.kind == PreparedSlide::Kind::Picture && !slide.picture.isNull())
        area = fitted(slide.picture.size(), QRect(QPoint(0, 0), size)).size();
    const QSize pixels(int(std::lround(area.width() * ratio)),
                       int(std::lround(area.height() * ratio)));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image; // no memory for it
    image.setDevicePixelRatio(ratio);
    image.setDotsPerMeterX(3780); // 96 dots per inch: chart texts keep their sizes
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint(slide, &painter, QRect(QPoint(0, 0), area));
    painter.end();
    return image;
}

} // namespace qel::slides
