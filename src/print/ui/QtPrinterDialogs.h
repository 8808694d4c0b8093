#pragma once

#include "print/ui/PrinterDialogs.h"

namespace qel::print {

// QPrintDialog, QPageSetupDialog, and a preview window around QPrintPreviewWidget whose print
// button hands back to the caller's print, so a print from the preview takes the same way.
class QtPrinterDialogs : public PrinterDialogs
{
public:
    int printDialog(QPrinter &printer, QWidget *parent) override;
    bool pageSetup(QPrinter &printer, QWidget *parent) override;
    bool preview(QPrinter &printer, const std::function<void(QPrinter *)> &paint,
                 QWidget *parent) override;
};

} // namespace qel::print
