#include "slides/SlideExport.h"

#include "os/FileAccess.h"
#include "os/PathParts.h"
#include "slides/SlidePreparation.h"
#include "slides/SlideScript.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFont>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

namespace qel::slides {

namespace {

constexpr int Resolution = 300; // dots per inch of the PDF's drawing

QFont narrationFont(int pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                      QStringLiteral("Noto Sans CJK JP")});
    font.setPointSize(pointSize);
    return font;
}

// The narration in the largest of the usual sizes that fits the box.
void drawNarration(QPainter &painter, const QRect &box, const QString &text)
{
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    for (int size = 16; size >= 7; --size) {
        painter.setFont(narrationFont(size));
        const QRect needed = painter.boundingRect(box, flags, text);
        if (needed.height() <= box.height() || size == 7) {
            painter.drawText(box, flags, text);
            return;
        }
    }
}

} // namespace

QString SlideExport::printedNarration(const QString &narration)
{
    QString text = narration;
    for (const QString &mark : {QStringLiteral("{VoiceNotSelfend}"), QStringLiteral("{VoiceStop}"),
                                QStringLiteral("{VoiceSync}")})
        text.remove(mark);
    return text.trimmed();
}

os::Result SlideExport::exportPdf(const QString &script, const QString &output,
                                  const SlidePreparation &preparation, QStringList &notes)
{
    SlideTable table;
    const os::Result read = SlideScript::read(script, table);
    if (!read.ok())
        return read;
    for (const QString &note : {read.message, SlideScript::overflowNotice(table)}) {
        if (!note.isEmpty())
            notes << note;
    }
    const QString folder = os::PathParts::of(QFileInfo(script).absoluteFilePath()).directory;

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setResolution(Resolution);
    pdf.setTitle(QFileInfo(script).fileName());
    pdf.setCreator(QStringLiteral("qelPro"));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                  QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
    QPainter painter;
    int pages = 0;
    for (int i = 1; i <= table.count(); ++i) {
        const SlideRow &row = table.rows[std::size_t(i)];
        const PreparedSlide slide = preparation.prepare(folder, row.file);
        if (slide.kind == PreparedSlide::Kind::Chart && !slide.ok()) {
            QString note = SlidePreparation::failureText(row.file, slide.path);
            const QString reason = SlidePreparation::reasonOf(slide.loaded);
            if (!reason.isEmpty())
                note += QStringLiteral("\r\n") + reason;
            notes << note;
            continue;
        }
        if (pages == 0) {
            if (!painter.begin(&pdf))
                return os::Result::failure(output + QStringLiteral(": PDF を作れませんでした。"));
        } else {
            pdf.newPage();
        }
        ++pages;
        const QRect page = pdf.pageLayout()
                               .paintRectPixels(Resolution)
                               .translated(-pdf.pageLayout().paintRectPixels(Resolution).topLeft());
        const int gap = Resolution / 8;
        const int footer = Resolution / 5;
        const int slideHeight = (page.height() - footer) * 7 / 10;
        const QRect slideBox(page.left(), page.top(), page.width(), slideHeight);
        const QRect textBox(page.left(), slideBox.bottom() + gap, page.width(),
                            page.height() - footer - slideHeight - gap);
        preparation.paint(slide, &painter, slideBox);
        painter.setPen(Qt::black);
        drawNarration(painter, textBox, printedNarration(row.narration));
        painter.setPen(QColor(110, 110, 110));
        painter.setFont(narrationFont(7));
        painter.drawText(QRect(page.left(), page.bottom() - footer, page.width(), footer),
                         Qt::AlignRight | Qt::AlignBottom,
                         QStringLiteral("%1 / %2   %3").arg(i).arg(table.count()).arg(row.file));
    }
    if (pages == 0)
        return os::Result::failure(script + QStringLiteral(": 書き出せるスライドがありません。"));
    painter.end();
    buffer.close();
    const os::Result saved = os::FileAccess::saveFile(output, bytes);
    if (!saved.ok())
        return os::Result::failure(output + QStringLiteral(": 記録できませんでした。\n") +
                                   saved.message);
    return os::Result::success();
}

} // namespace qel::slides
