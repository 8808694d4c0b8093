#pragma once

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>

class QPainter;

namespace qel::chartview {
class ChartView;
}

namespace qel::print {

// What the print routines take from the main window: the charts, Chart1's place in the
// window, the legend box, the texts of the header and the window itself for the window print.
struct PrintSource
{
    chartview::ChartView *chart1 = nullptr;
    chartview::ChartView *chart2 = nullptr;
    QRect chart1Twips; // Chart1's position and size in the window
    QString legendText;
    QFont legendFont;
    QColor legendColor = Qt::black;
    QString version;
    QString currentFile;
    QString chart2File; // the file loaded into Chart2
    QDateTime printedAt;
    // The window print: the window's size in twips and how to draw it into a rectangle of
    // printer pixels.
    QSize formTwips;
    std::function<void(QPainter *painter, const QRectF &target)> paintForm;
};

} // namespace qel::print
