#pragma once

#include "print/PrinterPage.h"

#include <QImage>
#include <QList>
#include <QPainter>
#include <QSet>

namespace qel::test {

// A printer page with fixed-pitch letters: every character is 100 twips wide per 10 points
// of font size, every line 200 twips high per 10 points; one printer pixel is 10 twips.
// It records each printed line and draws into an image so that paints can be checked.
class FakePage : public print::PrinterPage
{
public:
    struct Line
    {
        int page;
        double x;
        double y;
        QString text;
        QString family;
        bool bold;
        QColor color;
    };

    explicit FakePage(double widthTwips = 12000, double heightTwips = 16000)
        : m_image(int(widthTwips / 10), int(heightTwips / 10), QImage::Format_RGB32)
        , m_metrics{widthTwips, heightTwips, 10, 10}
    {
        m_image.fill(Qt::white);
    }

    print::PageMetrics metrics() const override { return m_metrics; }
    QString deviceName() const override { return QStringLiteral("FakePrinter"); }

    QList<Line> lines;
    QSet<QString> families = {QStringLiteral("IPAMincho"), QStringLiteral("IPAPMincho"),
                              QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")};
    bool failOpen = false;
    bool failNewPage = false;
    int closes = 0;
    QImage m_image;

    QStringList texts() const
    {
        QStringList out;
        for (const Line &l : lines)
            out.append(l.text);
        return out;
    }

protected:
    bool hasFamily(const QString &family) const override { return families.contains(family); }
    double measure(const QString &line, const QFont &font) const override
    {
        return line.size() * 100.0 * font.pointSizeF() / 10;
    }
    double lineSpacing(const QFont &font) const override { return 200.0 * font.pointSizeF() / 10; }
    void drawText(double x, double y, const QString &line, const QFont &font,
                  const QColor &color) override
    {
        lines.append({pageCount(), x, y, line, font.family(), font.bold(), color});
    }
    bool openDocument() override
    {
        if (failOpen)
            return false;
        m_painter.begin(&m_image);
        return true;
    }
    bool startPage() override { return !failNewPage; }
    bool closeDocument() override
    {
        ++closes;
        m_painter.end();
        return true;
    }
    QPainter *painter() override { return &m_painter; }

private:
    print::PageMetrics m_metrics;
    QPainter m_painter;
};

} // namespace qel::test
