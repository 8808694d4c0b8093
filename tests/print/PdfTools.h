#pragma once

#include <QImage>
#include <QString>

namespace qel::test {

// The text of a PDF as pdftotext extracts it (poppler-utils).
QString pdfText(const QString &path);
// "Pages" and "Page size" lines of pdfinfo, as one text.
QString pdfInfo(const QString &path);
int pdfPages(const QString &path);
// Page `page` (1-based) rendered by pdftoppm at dpi dots per inch.
QImage pdfPage(const QString &path, int dpi, int page = 1);
// The smallest rectangle of the image that holds every pixel darker than near-white, within
// the rows from top to bottom (all rows by default).
QRect inkBox(const QImage &image, int top = 0, int bottom = -1);

} // namespace qel::test
