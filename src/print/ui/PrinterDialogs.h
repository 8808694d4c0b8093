#pragma once

#include <functional>

class QPrinter;
class QWidget;

namespace qel::print {

// The printer's dialogues: the printer dialogue, the page set-up and the print preview.
// The program shows Qt's; tests answer from a script.
class PrinterDialogs
{
public:
    virtual ~PrinterDialogs() = default;

    // The printer dialogue on printer; the number of copies chosen, 0 after cancel.
    virtual int printDialog(QPrinter &printer, QWidget *parent) = 0;
    // The page set-up on printer; false after cancel.
    virtual bool pageSetup(QPrinter &printer, QWidget *parent) = 0;
    // The print preview: paint draws the pages on the printer it is given, as often as the
    // preview needs them. True when the user asked to print from the preview.
    virtual bool preview(QPrinter &printer, const std::function<void(QPrinter *)> &paint,
                         QWidget *parent) = 0;
};

} // namespace qel::print
