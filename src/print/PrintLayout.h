#pragma once

#include <QRect>
#include <QSize>

namespace qel::print {

// The printer's page as the layouts read it when a print starts.
struct PageMetrics
{
    double width = 0;  // W: the printable width, in twips
    double height = 0; // H: the printable height, in twips
    double tx = 1;     // twips per printer pixel, horizontally
    double ty = 1;     // and vertically

    bool isValid() const { return width > 0 && height > 0 && tx > 0 && ty > 0; }
};

// Where the standard page puts its charts, in printer pixels. chart2 is empty in mode 1.
struct ChartPlacement
{
    QRect chart1;
    QRect chart2;
};

// The page layouts' arithmetic, in twips and printer pixels, with no printer attached.
class PrintLayout
{
public:
    static constexpr int Twips = 1440; // per inch

    // k: the first chart's top lies at H / k; 7 for one chart, 12 when a second follows.
    static int topDivisor(int mode) { return mode == 2 ? 12 : 7; }

    // The standard page: charts H / 2.6 high from W / 10 to 0.9 W (less 0.8 of the left
    // margin); in mode 2 the second chart follows the first after a gap of H / 12.
    static ChartPlacement standardPage(int mode, const PageMetrics &page);

    // The chart at its place and size in the window (twips), on the page; a chart larger than
    // the page is scaled down evenly to fit it.
    static QRect asScreen(const QRect &chartTwips, const PageMetrics &page);

    // The chart across the page's width in its upper half, 100 twips from the edges.
    static QRect fillingWidth(const PageMetrics &page);

    // Something of natural size (twips) placed at origin (printer pixels) and scaled down evenly
    // so that it stays on the page; its rectangle in printer pixels.
    static QRect fitOnPage(const QPoint &origin, const QSize &naturalTwips,
                           const PageMetrics &page);

    // The picture print's top-left corner: (W / 7, H / 7) in printer pixels.
    static QPoint picturePosition(const PageMetrics &page);

    // The picture viewer's window around a picture (twips): room for the caption bar and the
    // borders.
    static QSize viewerWindow(const QSize &pictureTwips)
    {
        return pictureTwips + QSize(ViewerBorder, ViewerCaption);
    }
    static constexpr int ViewerBorder = 150;
    static constexpr int ViewerCaption = 450;

    // The routines' integers: halves go to the even neighbour, as assignments to integer
    // variables always did.
    static int toInt(double value);
};

} // namespace qel::print
