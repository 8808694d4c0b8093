#pragma once

#include "os/Result.h"
#include "print/PrintSource.h"

#include <QDateTime>
#include <QImage>
#include <QObject>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class QPlainTextEdit;
class QPrinter;
class QWidget;

namespace qel::chartdoc {
class ChartDocument;
}
namespace qel::chartview {
class ChartWidget;
}
namespace qel::os {
class UserDialogs;
}

namespace qel::print {

class PrinterDialogs;
class PrinterPage;

// The print entries of the main window and of the charts' tool bars, and the printer they
// share: the print buttons, the printer dialogue and the print-mode prompt, the page set-up,
// the print preview and the picture viewer's print. Every entry draws through the layouts of
// ChartPrint onto a PrinterPage: the printer, a PDF file or the preview.
class PrintCommands : public QObject
{
    Q_OBJECT

public:
    enum class Layout { Standard, Screen, Fill, Form };
    struct Job
    {
        Layout layout = Layout::Standard;
        int mode = 1;       // 1: Chart1; 2: Chart1 and Chart2 below it (standard page)
        bool white = false; // every chart background white first

        bool operator==(const Job &) const = default;
    };

    struct Parts
    {
        chartview::ChartWidget &chart1;
        chartview::ChartWidget &chart2;
        QPlainTextEdit &legend; // txtLegend
        QWidget &form;          // the window's client area, for the window print
        chartdoc::ChartDocument &document;
        os::UserDialogs &dialogs;
        PrinterDialogs &printerDialogs;
        // The program version, the current file and Chart2's file for the header.
        std::function<void(PrintSource &)> describe;
    };

    PrintCommands(const Parts &parts, QWidget *window);
    ~PrintCommands() override;

    QPrinter &printer();
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // The main window's print buttons.
    void SSPrint_Click();
    void SSprnWhite_Click(int index);
    void CmdPrnChart_Click();
    void CmdPrnFill_Click();
    void CmdPrnForm_Click();
    void SSCmdPage_Click();

    // A chart tool bar's command: print (0x7313) and the preview; true when it was one of them.
    bool chartCommand(int command);
    // The chart's print command: the printer dialogue, then the print-mode prompt.
    void chartPrintCommand();
    // The number of copies chosen in the printer dialogue; 0 after cancel. A print to a file
    // proposes the name of document (the current file when empty) with ".pdf".
    int printerDialog(const QString &document = QString());
    // "Print mode": Yes prints the standard page, No the white-background print.
    void printModePrompt();
    void standardPagePrint(int mode);
    void whitePrint(int mode);
    // The page set-up dialogue (ChartCommand 0x7403 of either chart).
    void pageSetup();

    // The preview of a print; the print that last ran (or the standard page) for previewLast.
    void preview(const Job &job);
    void previewLast();
    Job lastJob() const { return m_last; }
    // The mode the chart on show prints in: 2 while Chart2 is shown.
    int modeOnShow() const;

    // The preview (the last print's, and one for each layout) and the page set-up, inserted
    // into menu before `before` (appended when it is null).
    void addMenuEntries(QMenu *menu, QAction *before);

    // objLprn: the picture viewer's print on the printer.
    // False when nothing was printed.
    bool printPicture(const QImage &image, const QString &fileName);

    // The same prints onto a given page (the command line's PDF, tests); the document is
    // ended and the result says whether it came out.
    os::Result printOn(PrinterPage &page, const Job &job);
    os::Result printPictureOn(PrinterPage &page, const QImage &image, const QString &fileName);

    // What the layouts print, as the window shows it now.
    PrintSource source() const;

    static QString failedText() { return QStringLiteral("印刷できませんでした。"); }
    static QString modePromptText();

signals:
    // A print went to the printer or its file (text names where).
    void printed(const QString &where);

private:
    // Runs draw on the printer: on paper directly, into a PDF through a safe save. A print
    // to a file first asks where (the printer dialogue) unless that was just shown.
    // false when nothing was printed (cancelled or failed).
    bool run(const std::function<void(PrinterPage &)> &draw, bool dialogShown,
             const QString &document = QString());
    void runJob(const Job &job, bool dialogShown);
    void draw(PrinterPage &page, const Job &job, bool keepWhite);
    bool printsToFile();
    QString proposedPdfName(const QString &document) const;

    Parts m_parts;
    QWidget *m_window;
    std::unique_ptr<QPrinter> m_printer;
    std::function<QDateTime()> m_clock;
    Job m_last;
    QString m_pdfFolder; // where the user last chose to put a PDF
};

} // namespace qel::print
