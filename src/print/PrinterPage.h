#pragma once

#include "os/Result.h"
#include "print/PrintLayout.h"

#include <QColor>
#include <QFont>
#include <QString>

class QPainter;

namespace qel::print {

// The printer object the print routines work on: the page values, a text position and a font,
// line output, a drawing context for charts and pictures, and the end of the document.
// Positions are twips from the top-left corner of the printable area. Drawing goes to the
// device (a printer, a PDF, the preview) or, in tests, to a fake page.
//
// Errors do not stop a routine: once the device failed, further output is dropped and endDoc
// reports why, so the user learns that the paper did not come out.
class PrinterPage
{
public:
    virtual ~PrinterPage();

    virtual PageMetrics metrics() const = 0;
    // The printer's name for the header line.
    virtual QString deviceName() const = 0;

    double currentX() const { return m_x; }
    double currentY() const { return m_y; }
    void setCurrentX(double twips) { m_x = twips; }
    void setCurrentY(double twips) { m_y = twips; }

    // A designed font name ("ＭＳ Ｐ明朝") is taken through the fonts that stand in for it; a
    // name the page has no font for is refused (false) and the font stays as it was.
    bool setFontName(const QString &name);
    void setFontSize(double points);
    void setFontBold(bool bold);
    // Name, size, bold, italic, underline and strike-through at once (the legend box's font).
    void setFont(const QFont &font);
    QFont font() const { return m_font; }
    void setTextColor(const QColor &color) { m_color = color; }
    QColor textColor() const { return m_color; }

    // The printed width of text in the current font, in twips; a text of several lines
    // measures as its widest line.
    double textWidth(const QString &text) const;
    // The height of one printed line in the current font, in twips.
    double lineHeight() const;

    // Prints text at the current position and moves to the start of the next line; a line
    // break inside the text starts a new line. A line that would pass the foot of the page
    // goes on a new page.
    void print(const QString &text);

    // The drawing context, in printer pixels (opens the document). Null once the device failed.
    QPainter *deviceContext();
    // Form feed: the page ends here; the next output begins a new one.
    void newPage();
    // Ends the document: success, or why the output failed.
    os::Result endDoc();

    bool hasFailed() const { return !m_error.isEmpty(); }
    QString errorText() const { return m_error; }
    bool isOpen() const { return m_open; }
    // Pages begun so far.
    int pageCount() const { return m_pages; }

protected:
    PrinterPage();

    virtual bool hasFamily(const QString &family) const = 0;
    // Twips, for one line of text.
    virtual double measure(const QString &line, const QFont &font) const = 0;
    virtual double lineSpacing(const QFont &font) const = 0;
    virtual void drawText(double x, double y, const QString &line, const QFont &font,
                          const QColor &color) = 0;
    // Opens the document; false (with fail()) when the device cannot be opened.
    virtual bool openDocument() = 0;
    virtual bool startPage() = 0;
    virtual bool closeDocument() = 0;
    virtual QPainter *painter() = 0;

    // Records why the output failed; the first reason is kept.
    void fail(const QString &why);

private:
    bool ensurePage();

    QFont m_font;
    QColor m_color = Qt::black;
    double m_x = 0;
    double m_y = 0;
    bool m_open = false;
    bool m_closed = false;
    bool m_pageEnded = false;
    int m_pages = 0;
    QString m_error;
};

} // namespace qel::print
