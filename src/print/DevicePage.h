#pragma once

#include "print/PrinterPage.h"

#include <QPainter>

#include <functional>

class QPagedPaintDevice;

namespace qel::print {

// The printer object over a paged device: a QPrinter (paper or preview) or a QPdfWriter.
// Printer pixels are the device's pixels; the origin is the top-left of the printable area.
class DevicePage : public PrinterPage
{
public:
    DevicePage(QPagedPaintDevice &device, const QString &deviceName);
    ~DevicePage() override;

    PageMetrics metrics() const override { return m_metrics; }
    QString deviceName() const override { return m_name; }

    // Tells the page how to learn whether the device failed after a call (a printer's state).
    void setFailureCheck(std::function<bool()> failed) { m_failed = std::move(failed); }

protected:
    bool hasFamily(const QString &family) const override;
    double measure(const QString &line, const QFont &font) const override;
    double lineSpacing(const QFont &font) const override;
    void drawText(double x, double y, const QString &line, const QFont &font,
                  const QColor &color) override;
    bool openDocument() override;
    bool startPage() override;
    bool closeDocument() override;
    QPainter *painter() override { return &m_painter; }

private:
    bool deviceFailed() const { return m_failed && m_failed(); }

    QPagedPaintDevice &m_device;
    QString m_name;
    PageMetrics m_metrics;
    QPainter m_painter;
    std::function<bool()> m_failed;
};

} // namespace qel::print
