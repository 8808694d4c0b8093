#include "print/PdfDocument.h"

#include "os/FileAccess.h"

#include <QMarginsF>

namespace qel::print {

PdfDocument::PdfDocument(const QPageLayout &layout, int resolution, const QString &deviceName)
    : m_buffer(&m_bytes)
{
    m_buffer.open(QIODevice::WriteOnly);
    m_writer = std::make_unique<QPdfWriter>(&m_buffer);
    m_writer->setCreator(QStringLiteral("qelPro"));
    m_writer->setResolution(resolution > 0 ? resolution : 1200);
    m_writer->setPageLayout(layout);
    m_page = std::make_unique<DevicePage>(*m_writer, deviceName);
}

PdfDocument::~PdfDocument() = default;

QPageLayout PdfDocument::layoutFor(QPageSize::PageSizeId size, QPageLayout::Orientation orientation)
{
    return QPageLayout(QPageSize(size), orientation, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

os::Result PdfDocument::save(const QString &path)
{
    os::Result checked = os::FileAccess::checkSaveTarget(path);
    const os::Result ended = m_page->endDoc();
    if (!ended)
        return os::Result::failure(os::FileAccess::describe(path, ended.message));
    if (!checked)
        return checked;
    m_buffer.close();
    return os::FileAccess::saveFile(path, m_bytes);
}

} // namespace qel::print
