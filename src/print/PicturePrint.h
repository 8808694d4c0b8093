#pragma once

#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QString>

namespace qel::print {

class PrinterPage;

// objLprn: the picture viewer's print. The header line, the picture's file name, and the
// picture at its natural size with its top-left corner at (W / 7, H / 7); a picture larger
// than the room left on the page is scaled down evenly to fit it.
class PicturePrint
{
public:
    struct Picture
    {
        QImage image;
        QString fileName; // lblFileName
        QString version;
        QDateTime printedAt;
    };

    static void print(PrinterPage &page, const Picture &picture);

    // The picture's natural size in twips: its own resolution when it records one, otherwise
    // the screen's 96 dots per inch.
    static QSize naturalTwips(const QImage &image);
};

} // namespace qel::print
