#include "print/PrinterPage.h"

#include "chartview/render/ChartPainter.h"

#include <QRegularExpression>

#include <algorithm>

namespace qel::print {

namespace {

QStringList linesOf(const QString &text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\n|\r"));
    return text.split(breaks);
}

} // namespace

PrinterPage::PrinterPage()
{
    m_font.setPointSizeF(10);
}

PrinterPage::~PrinterPage() = default;

bool PrinterPage::setFontName(const QString &name)
{
    const QString family = chartview::ChartPainter::resolveFamily(name);
    if (family.isEmpty() || !hasFamily(family))
        return false;
    m_font.setFamily(family);
    return true;
}

void PrinterPage::setFontSize(double points)
{
    if (points > 0 && points < 1000)
        m_font.setPointSizeF(points);
}

void PrinterPage::setFontBold(bool bold)
{
    m_font.setBold(bold);
}

void PrinterPage::setFont(const QFont &font)
{
    const QString family = m_font.family();
    m_font = font;
    if (!setFontName(font.family()))
        m_font.setFamily(family);
    if (font.pointSizeF() <= 0)
        m_font.setPointSizeF(10); // a pixel-sized font has no printed size of its own
}

double PrinterPage::textWidth(const QString &text) const
{
    double widest = 0;
    for (const QString &line : linesOf(text))
        widest = std::max(widest, measure(line, m_font));
    return widest;
}

double PrinterPage::lineHeight() const
{
    return lineSpacing(m_font);
}

void PrinterPage::print(const QString &text)
{
    for (const QString &line : linesOf(text)) {
        if (!ensurePage())
            return;
        const double height = lineHeight();
        if (m_y > 0 && m_y + height > metrics().height) {
            newPage();
            if (!ensurePage())
                return;
        }
        if (!line.isEmpty())
            drawText(m_x, m_y, line, m_font, m_color);
        m_x = 0;
        m_y += height;
    }
}

QPainter *PrinterPage::deviceContext()
{
    return ensurePage() ? painter() : nullptr;
}

void PrinterPage::newPage()
{
    if (m_open && !m_closed)
        m_pageEnded = true;
    m_x = 0;
    m_y = 0;
}

bool PrinterPage::ensurePage()
{
    if (hasFailed() || m_closed)
        return false;
    if (!m_open) {
        if (!openDocument()) {
            if (!hasFailed())
                fail(QStringLiteral("印刷を始められませんでした。"));
            return false;
        }
        m_open = true;
        m_pages = 1;
        return true;
    }
    if (m_pageEnded) {
        m_pageEnded = false;
        if (!startPage()) {
            if (!hasFailed())
                fail(QStringLiteral("新しいページを始められませんでした。"));
            return false;
        }
        ++m_pages;
    }
    return true;
}

os::Result PrinterPage::endDoc()
{
    if (m_open && !m_closed) {
        m_closed = true;
        if (!closeDocument() && !hasFailed())
            fail(QStringLiteral("印刷を終えられませんでした。"));
    }
    m_closed = true;
    if (!m_open && !hasFailed())
        return os::Result::failure(QStringLiteral("印刷するものがありませんでした。"));
    return hasFailed() ? os::Result::failure(m_error) : os::Result::success();
}

void PrinterPage::fail(const QString &why)
{
    if (m_error.isEmpty())
        m_error = why;
}

} // namespace qel::print
