#include "print/ui/PrintCommands.h"

#include "chartdoc/ChartDocument.h"
#include "chartview/ChartView.h"
#include "chartview/ui/ChartWidget.h"
#include "os/UserDialogs.h"
#include "print/ChartPrint.h"
#include "print/DevicePage.h"
#include "print/PdfDocument.h"
#include "print/PicturePrint.h"
#include "print/ui/PrinterDialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMarginsF>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

#include <algorithm>

namespace qel::print {

using chartview::ChartView;
using chartview::ChartWidget;

namespace {

// The five background colours of a chart, kept while a preview shows it white.
struct Backgrounds
{
    explicit Backgrounds(const ChartView &chart)
    {
        const chartview::ChartModel &m = chart.model();
        a = m.backColorA;
        b = m.backColorB;
        c = m.backColorC;
        walls = m.indexedColor(0x1000);
        other = m.indexedColor(0x1001);
    }
    void restore(ChartView &chart) const
    {
        chart.setBackColorC(c);
        chart.setBackColorB(b);
        chart.setBackColorA(a);
        chart.setIndexedColor(0x1001, other);
        chart.setIndexedColor(0x1000, walls);
    }
    chartview::Rgb a, b, c, walls, other;
};

double twipsX(const QWidget &widget, int pixels)
{
    const int dpi = widget.logicalDpiX() > 0 ? widget.logicalDpiX() : 96;
    return pixels * 1440.0 / dpi;
}

double twipsY(const QWidget &widget, int pixels)
{
    const int dpi = widget.logicalDpiY() > 0 ? widget.logicalDpiY() : 96;
    return pixels * 1440.0 / dpi;
}

} // namespace

PrintCommands::PrintCommands(const Parts &parts, QWidget *window)
    : QObject(window)
    , m_parts(parts)
    , m_window(window)
    , m_clock(&QDateTime::currentDateTime)
{
    for (ChartWidget *chart : {&parts.chart1, &parts.chart2}) {
        connect(&chart->chart(), &chartview::ChartControl::commandRequested, this,
                [this](qint16 code, qint32) {
                    if (code == chartview::CommandPageSetup)
                        pageSetup();
                });
    }
}

PrintCommands::~PrintCommands() = default;

QPrinter &PrintCommands::printer()
{
    // Made on first use: asking the print system for its printers takes long, and start-up
    // does not need them.
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        // Without a printer set up, printing makes a PDF file.
        if (QPrinterInfo::availablePrinters().isEmpty() || m_printer->printerName().isEmpty())
            m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setDocName(QStringLiteral("qelPro"));
        // The margins the command line's PDFs have, so both make the same page.
        m_printer->setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        m_printer->setCreator(QStringLiteral("qelPro"));
    }
    return *m_printer;
}

QString PrintCommands::modePromptText()
{
    return QStringLiteral("背景を印刷しますか ?\r\n"
                          "「はい」     背景を印刷する。(Print)\r\n"
                          "「いいえ」   背景を印刷しない。(prnWhite)");
}

int PrintCommands::modeOnShow() const
{
    return m_parts.chart2.isHidden() ? 1 : 2;
}

PrintSource PrintCommands::source() const
{
    PrintSource s;
    s.chart1 = &m_parts.chart1.chart();
    s.chart2 = &m_parts.chart2.chart();
    const QRect g = m_parts.chart1.geometry();
    s.chart1Twips =
        QRect(int(twipsX(m_parts.chart1, g.left())), int(twipsY(m_parts.chart1, g.top())),
              int(twipsX(m_parts.chart1, g.width())), int(twipsY(m_parts.chart1, g.height())));
    s.legendText = m_parts.legend.toPlainText();
    s.legendFont = m_parts.legend.font();
    s.legendColor = m_parts.legend.palette().color(QPalette::Text);
    s.printedAt = m_clock();
    QWidget *form = &m_parts.form;
    s.formTwips = QSize(int(twipsX(*form, form->width())), int(twipsY(*form, form->height())));
    s.paintForm = [form](QPainter *painter, const QRectF &target) {
        if (form->width() <= 0 || form->height() <= 0)
            return;
        // The window as a picture, as the window print always was, drawn at up to three times
        // the screen's resolution so that its texts stay sharp on paper.
        const qreal ratio = std::clamp(target.width() / form->width(), 1.0, 3.0);
        QImage picture(form->size() * ratio, QImage::Format_RGB32);
        picture.setDevicePixelRatio(ratio);
        picture.fill(form->palette().color(QPalette::Window));
        form->render(&picture, QPoint(), QRegion(),
                     QWidget::DrawWindowBackground | QWidget::DrawChildren);
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(target, picture);
    };
    if (m_parts.describe)
        m_parts.describe(s);
    return s;
}

void PrintCommands::draw(PrinterPage &page, const Job &job, bool keepWhite)
{
    const PrintSource s = source();
    ChartView &chart1 = *s.chart1;
    ChartView &chart2 = *s.chart2;
    const Backgrounds before1(chart1), before2(chart2);
    // The program's own background painting is off for the print only.
    const chartview::BackgroundGradient gradient1 = chart1.backgroundGradient();
    const chartview::BackgroundGradient gradient2 = chart2.backgroundGradient();
    if (job.white) {
        if (keepWhite) {
            // As designed the charts stay white after the print; the step can be undone.
            m_parts.document.edit(QStringLiteral("背景無色印刷"),
                                  [&] { ChartPrint::whiten(chart1); });
        } else {
            ChartPrint::whiten(chart1);
        }
        if (job.mode != 1)
            ChartPrint::whiten(chart2);
        for (ChartView *chart : {&chart1, &chart2}) {
            chartview::BackgroundGradient off = chart->backgroundGradient();
            off.on = false;
            chart->setBackgroundGradient(off);
        }
    }
    ChartPrint layout(page, s);
    switch (job.layout) {
    case Layout::Standard:
        layout.standardPage(job.mode);
        break;
    case Layout::Screen:
        layout.asScreen();
        break;
    case Layout::Fill:
        layout.fillingPage();
        break;
    case Layout::Form:
        layout.windowPrint();
        break;
    }
    if (job.white) {
        chart1.setBackgroundGradient(gradient1);
        chart2.setBackgroundGradient(gradient2);
        if (!keepWhite) {
            before1.restore(chart1);
            if (job.mode != 1)
                before2.restore(chart2);
        }
    }
}

os::Result PrintCommands::printOn(PrinterPage &page, const Job &job)
{
    draw(page, job, true);
    return page.endDoc();
}

os::Result PrintCommands::printPictureOn(PrinterPage &page, const QImage &image,
                                         const QString &fileName)
{
    PrintSource s;
    if (m_parts.describe)
        m_parts.describe(s);
    PicturePrint::print(page, {image, fileName, s.version, m_clock()});
    return page.endDoc();
}

bool PrintCommands::printsToFile()
{
    return printer().outputFormat() == QPrinter::PdfFormat;
}

QString PrintCommands::proposedPdfName(const QString &document) const
{
    QString path = document;
    if (path.isEmpty()) {
        PrintSource s;
        if (m_parts.describe)
            m_parts.describe(s);
        path = s.currentFile;
    }
    const QFileInfo info(path);
    const QString base =
        info.completeBaseName().isEmpty() ? QStringLiteral("qelPro") : info.completeBaseName();
    // Beside the last PDF the user chose, else beside the document, else at home.
    QString folder = m_pdfFolder;
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = !path.isEmpty() && info.dir().exists() ? info.absolutePath() : QDir::homePath();
    return QDir(folder).filePath(base + QStringLiteral(".pdf"));
}

int PrintCommands::printerDialog(const QString &document)
{
    // Each print to a file proposes a name after what is printed, so an earlier print is not
    // replaced unnoticed (the dialogue asks before it overwrites a file).
    if (printsToFile())
        printer().setOutputFileName(proposedPdfName(document));
    const int copies = m_parts.printerDialogs.printDialog(printer(), m_window);
    if (copies > 0 && printsToFile() && !printer().outputFileName().isEmpty())
        m_pdfFolder = QFileInfo(printer().outputFileName()).absolutePath();
    return copies > 0 ? copies : 0;
}

bool PrintCommands::run(const std::function<void(PrinterPage &)> &draw, bool dialogShown,
                        const QString &document)
{
    if (printsToFile() && !dialogShown && printerDialog(document) == 0)
        return false; // a file print asks where each time, so no file is replaced unasked
    os::Result result;
    QString where;
    if (printsToFile()) {
        where = printer().outputFileName();
        if (where.isEmpty()) {
            result = os::Result::failure(QStringLiteral("出力するファイルが選ばれていません。"));
        } else {
            PdfDocument pdf(printer().pageLayout(), printer().resolution());
            draw(pdf.page());
            result = pdf.save(where);
        }
    } else {
        where = printer().printerName();
        DevicePage page(printer(), printer().printerName());
        QPrinter *device = &printer();
        page.setFailureCheck([device] { return device->printerState() == QPrinter::Error; });
        draw(page);
        result = page.endDoc();
        if (!result)
            result.message = where + QStringLiteral(": ") + result.message;
    }
    if (!result) {
        m_parts.dialogs.inform(failedText() + QStringLiteral("\r\n") + result.message,
                               os::MessageIcon::Exclamation);
        return false;
    }
    emit printed(where);
    return true;
}

void PrintCommands::runJob(const Job &job, bool dialogShown)
{
    m_last = job;
    run([&](PrinterPage &page) { draw(page, job, true); }, dialogShown);
    m_parts.chart1.chart().Refresh();
}

void PrintCommands::standardPagePrint(int mode)
{
    runJob({Layout::Standard, mode, false}, false);
}

void PrintCommands::whitePrint(int mode)
{
    runJob({Layout::Standard, mode, true}, false);
}

void PrintCommands::SSPrint_Click()
{
    m_parts.dialogs.beep();
    os::MessageRequest question;
    question.text = QStringLiteral("フルページカラー印刷しますか？");
    question.buttons = os::MessageButtons::YesNo;
    question.icon = os::MessageIcon::Question;
    question.defaultAnswer = os::MessageAnswer::No;
    if (m_parts.dialogs.message(question) == os::MessageAnswer::Yes)
        standardPagePrint(1);
}

void PrintCommands::SSprnWhite_Click(int index)
{
    whitePrint(index == 2 ? 2 : 1);
}

void PrintCommands::CmdPrnChart_Click()
{
    runJob({Layout::Screen, 1, false}, false);
}

void PrintCommands::CmdPrnFill_Click()
{
    runJob({Layout::Fill, 1, false}, false);
}

void PrintCommands::CmdPrnForm_Click()
{
    runJob({Layout::Form, 1, false}, false);
}

void PrintCommands::SSCmdPage_Click()
{
    m_parts.chart1.chart().ChartCommand(chartview::CommandPageSetup, 0);
}

void PrintCommands::pageSetup()
{
    m_parts.printerDialogs.pageSetup(printer(), m_window);
}

bool PrintCommands::chartCommand(int command)
{
    switch (command) {
    case ChartWidget::CommandPrint:
        chartPrintCommand();
        return true;
    case ChartWidget::CommandPrintPreview:
        previewLast();
        return true;
    default:
        return false;
    }
}

void PrintCommands::chartPrintCommand()
{
    if (printerDialog() > 0)
        printModePrompt();
}

void PrintCommands::printModePrompt()
{
    const int mode = modeOnShow();
    os::MessageRequest question;
    question.title = QStringLiteral("Print mode");
    question.text = modePromptText();
    question.buttons = os::MessageButtons::YesNoCancel;
    question.icon = os::MessageIcon::Question;
    question.defaultAnswer = os::MessageAnswer::No;
    switch (m_parts.dialogs.message(question)) {
    case os::MessageAnswer::Yes:
        runJob({Layout::Standard, mode, false}, true);
        break;
    case os::MessageAnswer::No:
        runJob({Layout::Standard, mode, true}, true);
        break;
    default:
        break;
    }
    m_parts.chart1.chart().Refresh();
}

void PrintCommands::preview(const Job &job)
{
    const bool print = m_parts.printerDialogs.preview(
        printer(),
        [this, job](QPrinter *printer) {
            DevicePage page(*printer, printer->printerName().isEmpty() ? QStringLiteral("PDF")
                                                                       : printer->printerName());
            draw(page, job, false);
            page.endDoc();
        },
        m_window);
    if (print && printerDialog() > 0)
        runJob(job, true);
}

void PrintCommands::previewLast()
{
    Job job = m_last;
    if (job == Job())
        job.mode = modeOnShow();
    preview(job);
}

void PrintCommands::addMenuEntries(QMenu *menu, QAction *before)
{
    auto *last = new QAction(QStringLiteral("印刷プレビュー..."), menu);
    last->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+P")));
    connect(last, &QAction::triggered, this, &PrintCommands::previewLast);
    auto *layouts = new QMenu(QStringLiteral("レイアウトを選んでプレビュー"), menu);
    const struct
    {
        const char16_t *text;
        Layout layout;
        bool white;
    } entries[] = {{u"背景付き印刷", Layout::Standard, false},
                   {u"背景無色印刷", Layout::Standard, true},
                   {u"Print as Screen", Layout::Screen, false},
                   {u"Print Filling the Page", Layout::Fill, false},
                   {u"Print Form", Layout::Form, false}};
    for (const auto &e : entries) {
        layouts->addAction(QString::fromUtf16(e.text), this, [this, e] {
            preview({e.layout, e.layout == Layout::Standard ? modeOnShow() : 1, e.white});
        });
    }
    auto *setup = new QAction(QStringLiteral("ページ設定..."), menu);
    connect(setup, &QAction::triggered, this, &PrintCommands::pageSetup);
    menu->insertAction(before, last);
    menu->insertMenu(before, layouts);
    menu->insertAction(before, setup);
}

bool PrintCommands::printPicture(const QImage &image, const QString &fileName)
{
    PrintSource s;
    if (m_parts.describe)
        m_parts.describe(s);
    const QDateTime when = m_clock();
    const auto draw = [&](PrinterPage &page) {
        PicturePrint::print(page, {image, fileName, s.version, when});
    };
    return run(draw, false, fileName);
}

} // namespace qel::print
