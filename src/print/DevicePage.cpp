#include "print/DevicePage.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPagedPaintDevice>

namespace qel::print {

DevicePage::DevicePage(QPagedPaintDevice &device, const QString &deviceName)
    : m_device(device)
    , m_name(deviceName)
{
    const int dpiX = device.logicalDpiX() > 0 ? device.logicalDpiX() : 72;
    const int dpiY = device.logicalDpiY() > 0 ? device.logicalDpiY() : 72;
    const QRectF printable = device.pageLayout().paintRect(QPageLayout::Inch);
    m_metrics.tx = double(PrintLayout::Twips) / dpiX;
    m_metrics.ty = double(PrintLayout::Twips) / dpiY;
    m_metrics.width = printable.width() * PrintLayout::Twips;
    m_metrics.height = printable.height() * PrintLayout::Twips;
}

DevicePage::~DevicePage()
{
    if (m_painter.isActive())
        m_painter.end();
}

bool DevicePage::hasFamily(const QString &family) const
{
    return QFontDatabase::hasFamily(family);
}

double DevicePage::measure(const QString &line, const QFont &font) const
{
    return QFontMetricsF(font, &m_device).horizontalAdvance(line) * m_metrics.tx;
}

double DevicePage::lineSpacing(const QFont &font) const
{
    return QFontMetricsF(font, &m_device).lineSpacing() * m_metrics.ty;
}

void DevicePage::drawText(double x, double y, const QString &line, const QFont &font,
                          const QColor &color)
{
    m_painter.save();
    m_painter.setFont(QFont(font, &m_device));
    m_painter.setPen(color);
    const double ascent = QFontMetricsF(font, &m_device).ascent();
    m_painter.drawText(QPointF(x / m_metrics.tx, y / m_metrics.ty + ascent), line);
    m_painter.restore();
}

bool DevicePage::openDocument()
{
    if (!m_painter.begin(&m_device) || deviceFailed()) {
        fail(QStringLiteral("プリンターを開けませんでした。"));
        return false;
    }
    return true;
}

bool DevicePage::startPage()
{
    if (!m_device.newPage() || deviceFailed()) {
        fail(QStringLiteral("印刷の途中でプリンターが応答しなくなりました。"));
        return false;
    }
    return true;
}

bool DevicePage::closeDocument()
{
    const bool ended = m_painter.end();
    if (!ended || deviceFailed()) {
        fail(QStringLiteral("印刷を終えられませんでした（プリンターのエラー）。"));
        return false;
    }
    return true;
}

} // namespace qel::print
