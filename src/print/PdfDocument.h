#pragma once

#include "os/Result.h"
#include "print/DevicePage.h"

#include <QBuffer>
#include <QByteArray>
#include <QPageLayout>
#include <QPdfWriter>

#include <memory>

namespace qel::print {

// A print into a PDF file: the pages are drawn in memory and the file is written in one step
// through FileAccess, so a failed print never leaves half a file and a FIFO or a folder in
// its place is refused, not written to.
class PdfDocument
{
public:
    PdfDocument(const QPageLayout &layout, int resolution = 1200,
                const QString &deviceName = QStringLiteral("PDF"));
    ~PdfDocument();

    PrinterPage &page() { return *m_page; }

    // Ends the document and writes it to path. Returns success or why nothing was written.
    os::Result save(const QString &path);
    // The document's bytes once it was ended (for tests).
    QByteArray bytes() const { return m_bytes; }

    // A4 or Letter, portrait or landscape, with the margins a printer leaves (10 mm).
    static QPageLayout layoutFor(QPageSize::PageSizeId size, QPageLayout::Orientation orientation);

private:
    QByteArray m_bytes;
    QBuffer m_buffer;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<DevicePage> m_page;
};

} // namespace qel::print
