#include "print/ChartPrint.h"

#include "chartview/ChartView.h"
#include "print/PrintHeader.h"
#include "print/PrinterPage.h"
#include "print/TextPrint.h"

#include <QPainter>

namespace qel::print {

ChartPrint::ChartPrint(PrinterPage &page, const PrintSource &source)
    : m_page(page)
    , m_source(source)
{}

QString ChartPrint::headerLine() const
{
    return PrintHeader::line(m_source.printedAt, m_source.version, m_page.deviceName());
}

void ChartPrint::paintChart(chartview::ChartView *chart, const QRect &target, int paintMode)
{
    QPainter *dc = m_page.deviceContext();
    if (!dc || !chart || target.isEmpty())
        return;
    dc->save();
    chart->PaintTo(dc, target, paintMode, 0);
    dc->restore();
    chart->clearError(); // errors while printing are passed over
}

void ChartPrint::standardPage(int mode)
{
    const double x = m_page.currentX();
    const double y = m_page.currentY();
    m_page.deviceContext(); // opens the document
    m_page.setCurrentX(x);
    m_page.setCurrentY(y);

    const PageMetrics metrics = m_page.metrics();
    const ChartPlacement placed = PrintLayout::standardPage(mode, metrics);
    paintChart(m_source.chart1, placed.chart1, 3);
    if (mode == 2)
        paintChart(m_source.chart2, placed.chart2, 3);

    PrintHeader::selectFont(m_page, 8, true);
    m_page.print(headerLine());
    m_page.print(QLatin1Char(' ') + m_source.currentFile);
    if (mode == 2)
        m_page.print(QLatin1Char(' ') + m_source.chart2File);

    if (mode == 1) {
        m_page.setFontName(QStringLiteral("ＭＳ Ｐ明朝"));
        m_page.setFontSize(12);
        for (int i = 0; i < LegendGapLines; ++i)
            m_page.print(QString());
        // The legend text begins below the chart, whatever the fonts' line heights.
        const double chartFoot = (placed.chart1.bottom() + 1) * metrics.ty;
        if (m_page.currentY() < chartFoot && m_page.pageCount() == 1)
            m_page.setCurrentY(chartFoot + m_page.lineHeight());
        m_page.setFont(m_source.legendFont);
        m_page.setTextColor(m_source.legendColor);
        TextPrint::print(m_page, m_source.legendText);
    }
}

void ChartPrint::asScreen()
{
    const QRect target = PrintLayout::asScreen(m_source.chart1Twips, m_page.metrics());
    paintChart(m_source.chart1, target, 3);
}

void ChartPrint::fillingPage()
{
    paintChart(m_source.chart1, PrintLayout::fillingWidth(m_page.metrics()), 1);
}

void ChartPrint::windowPrint()
{
    if (m_source.chart1)
        m_source.chart1->setPrintBits(m_source.chart1->PrintBits() | 0x40 | 0x80);
    QPainter *dc = m_page.deviceContext();
    if (!dc || !m_source.paintForm)
        return;
    const QRect target = PrintLayout::fitOnPage(QPoint(0, 0), m_source.formTwips, m_page.metrics());
    if (target.isEmpty())
        return;
    dc->save();
    m_source.paintForm(dc, QRectF(target));
    dc->restore();
}

void ChartPrint::whiten(chartview::ChartView &chart)
{
    const chartview::Rgb white = chartview::rgb(255, 255, 255);
    chart.setBackColorC(white);
    chart.setBackColorB(white);
    chart.setBackColorA(white);
    chart.setIndexedColor(0x1001, white);
    chart.setIndexedColor(0x1000, white);
}

} // namespace qel::print
