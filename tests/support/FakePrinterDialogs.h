#pragma once

#include "print/ui/PrinterDialogs.h"

#include <QList>
#include <QPrinter>
#include <QString>

namespace qel::test {

// Answers the printer's dialogues from a script: copies, and the file a print goes to.
class FakePrinterDialogs : public print::PrinterDialogs
{
public:
    int printDialog(QPrinter &printer, QWidget *) override
    {
        ++printDialogs;
        proposed = printer.outputFileName();
        if (!file.isEmpty())
            printer.setOutputFileName(file);
        return copies.isEmpty() ? 0 : copies.takeFirst();
    }
    bool pageSetup(QPrinter &printer, QWidget *) override
    {
        ++pageSetups;
        printer.setPageOrientation(QPageLayout::Landscape);
        return true;
    }
    bool preview(QPrinter &, const std::function<void(QPrinter *)> &paint, QWidget *) override
    {
        ++previews;
        // The preview draws on a printer of its own; here one that writes a PDF.
        QPrinter shown(QPrinter::HighResolution);
        shown.setOutputFormat(QPrinter::PdfFormat);
        shown.setOutputFileName(previewFile);
        paint(&shown);
        return printFromPreview;
    }

    QList<int> copies;
    QString file;
    QString proposed;
    QString previewFile;
    bool printFromPreview = false;
    int printDialogs = 0;
    int pageSetups = 0;
    int previews = 0;
};

} // namespace qel::test
