#include "print/ui/PrintCommands.h"

#include "PdfTools.h"
#include "chartdoc/ChartDocument.h"
#include "chartdoc/SampleChart.h"
#include "chartview/ui/ChartWidget.h"
#include "print/PrintLayout.h"
#include "print/ui/PrinterDialogs.h"
#include "support/FakeDialogs.h"
#include "support/FakeMessageWindow.h"
#include "support/FakePrinterDialogs.h"
#include "support/SpecialFiles.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTemporaryDir>
#include <QUndoStack>

#include <gtest/gtest.h>

using namespace qel;
using print::PrintCommands;

namespace {

class PrintCommandsTest : public ::testing::Test
{
protected:
    PrintCommandsTest()
    {
        form.resize(1000, 700);
        chart1 = new chartview::ChartWidget(&form);
        chart1->setGeometry(0, 0, 800, 450);
        chart2 = new chartview::ChartWidget(&form);
        chart2->setGeometry(0, 0, 800, 520);
        chart2->hide();
        legend = new QPlainTextEdit(&form);
        legend->setGeometry(0, 460, 800, 100);
        legend->setPlainText(QStringLiteral("凡例のテキスト legend text"));
        chartdoc::buildSampleChart(chart1->chart(), chart2->chart());
        // The program's own gradient is painted over the surround, as at start-up.
        chart1->chart().setBackgroundGradient({true, chartview::GradientVertical,
                                               chartview::rgb(255, 255, 128),
                                               chartview::rgb(0, 255, 255)});
        form.show();
        document = std::make_unique<chartdoc::ChartDocument>(chart1->chart(), dialogs, messages);
        commands = std::make_unique<PrintCommands>(
            PrintCommands::Parts{*chart1, *chart2, *legend, form, *document, dialogs,
                                 printerDialogs,
                                 [](print::PrintSource &s) {
                                     s.version = QStringLiteral("3.0.0");
                                     s.currentFile = QStringLiteral("/data/sales.tbx");
                                     s.chart2File = QStringLiteral("/data/multi.chf");
                                 }},
            &form);
        commands->setClock([] { return QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)); });
        // As on a machine without a printer: prints become PDF files.
        commands->printer().setOutputFormat(QPrinter::PdfFormat);
        out = dir.filePath(QStringLiteral("out.pdf"));
        printerDialogs.file = out;
        printerDialogs.previewFile = dir.filePath(QStringLiteral("preview.pdf"));
    }

    chartview::ChartModel model1() const { return chart1->chart().model(); }

    QTemporaryDir dir;
    QWidget form;
    chartview::ChartWidget *chart1 = nullptr;
    chartview::ChartWidget *chart2 = nullptr;
    QPlainTextEdit *legend = nullptr;
    test::FakeDialogs dialogs;
    test::FakeMessageWindow messages;
    std::unique_ptr<chartdoc::ChartDocument> document;
    test::FakePrinterDialogs printerDialogs;
    std::unique_ptr<PrintCommands> commands;
    QString out;
};

} // namespace

// Cancel in the printer dialogue prints nothing and asks nothing further.
TEST_F(PrintCommandsTest, CancelledPrinterDialoguePrintsNothing)
{
    printerDialogs.copies = {0};
    commands->chartPrintCommand();
    EXPECT_EQ(printerDialogs.printDialogs, 1);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(PrintCommandsTest, PrintModePromptAnswers)
{
    const chartview::ChartModel before = model1();
    struct Row
    {
        const char *name;
        os::MessageAnswer answer;
        bool printed;
        bool white;
    };
    const Row rows[] = {
        {"cancel", os::MessageAnswer::Cancel, false, false},
        {"yes: with the background", os::MessageAnswer::Yes, true, false},
        {"no: white background", os::MessageAnswer::No, true, true},
    };
    for (const Row &row : rows) {
        QFile::remove(out);
        chart1->chart().setModel(before);
        dialogs.messages.clear();
        printerDialogs.copies = {2};
        dialogs.answers = {row.answer};
        commands->chartPrintCommand();
        ASSERT_EQ(dialogs.messages.size(), 1) << row.name;
        const os::MessageRequest &prompt = dialogs.messages.first();
        EXPECT_EQ(prompt.title, QStringLiteral("Print mode"));
        EXPECT_EQ(prompt.text, PrintCommands::modePromptText());
        EXPECT_EQ(prompt.buttons, os::MessageButtons::YesNoCancel);
        EXPECT_EQ(prompt.defaultAnswer, os::MessageAnswer::No);
        EXPECT_EQ(QFile::exists(out), row.printed) << row.name;
        EXPECT_EQ(model1().backColorA == chartview::rgb(255, 255, 255), row.white) << row.name;
        EXPECT_TRUE(chart1->chart().backgroundGradient().on)
            << row.name << ": the custom gradient is back on";
        if (row.printed) {
            EXPECT_EQ(test::pdfPages(out), 1) << row.name;
            EXPECT_EQ(commands->lastJob().white, row.white) << row.name;
        }
    }
}

// After a white print the charts stay white on screen; the step can be undone.
TEST_F(PrintCommandsTest, WhitePrintLeavesTheChartsWhite)
{
    const chartview::Rgb white = chartview::rgb(255, 255, 255);
    const chartview::Rgb surround = model1().backColorA;
    ASSERT_NE(surround, white);
    chart2->show();
    chart1->hide();
    printerDialogs.copies = {1};
    commands->SSprnWhite_Click(2);
    ASSERT_TRUE(QFile::exists(out));
    for (const chartview::ChartView *chart : {&chart1->chart(), &chart2->chart()}) {
        const chartview::ChartModel &m = chart->model();
        EXPECT_EQ(m.backColorA, white);
        EXPECT_EQ(m.backColorB, white);
        EXPECT_EQ(m.backColorC, white);
        EXPECT_EQ(m.indexedColor(0x1000), white);
        EXPECT_EQ(m.indexedColor(0x1001), white);
    }
    EXPECT_TRUE(chart1->chart().backgroundGradient().on);
    // Nothing but the charts' marks on the white page: the gradient was off for the print.
    const QImage page = test::pdfPage(out, 40);
    const auto placed = print::PrintLayout::standardPage(
        2,
        {commands->printer().pageLayout().paintRect(QPageLayout::Inch).width() * 1440,
         commands->printer().pageLayout().paintRect(QPageLayout::Inch).height() * 1440, 1.2, 1.2});
    const QPointF margin =
        commands->printer().pageLayout().paintRect(QPageLayout::Inch).topLeft() * 40;
    const QPoint corner = (margin + QPointF(placed.chart1.topLeft()) * 40 / 1200).toPoint();
    EXPECT_EQ(page.pixelColor(corner + QPoint(3, 3)), QColor(Qt::white));
    // Both charts were printed: the multiple chart's file is named on the page.
    EXPECT_TRUE(test::pdfText(out).contains(QStringLiteral("/data/multi.chf")));
    document->undoStack().undo();
    EXPECT_EQ(model1().backColorA, surround);
}

TEST_F(PrintCommandsTest, BackgroundPrintAsksFirst)
{
    dialogs.answers = {os::MessageAnswer::No};
    commands->SSPrint_Click();
    EXPECT_EQ(dialogs.beeps, 1);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("フルページカラー印刷しますか？"));
    EXPECT_EQ(dialogs.messages[0].defaultAnswer, os::MessageAnswer::No);
    EXPECT_EQ(printerDialogs.printDialogs, 0);
    EXPECT_FALSE(QFile::exists(out));

    dialogs.answers = {os::MessageAnswer::Yes};
    printerDialogs.copies = {1};
    commands->SSPrint_Click();
    EXPECT_EQ(printerDialogs.printDialogs, 1) << "a print to a file asks where";
    EXPECT_EQ(printerDialogs.proposed, QDir::home().filePath(QStringLiteral("sales.pdf")))
        << "the current file's folder does not exist: home";
    const QString text = test::pdfText(out);
    EXPECT_TRUE(text.contains(QStringLiteral("2024/05/06 07:08:09 3.0.0"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("/data/sales.tbx")));
    EXPECT_TRUE(text.contains(QStringLiteral("legend text")));
}

// A print to a file that is cancelled where it asks for the file prints nothing.
TEST_F(PrintCommandsTest, DirectPrintsAskForTheFile)
{
    for (auto click : {&PrintCommands::CmdPrnChart_Click, &PrintCommands::CmdPrnFill_Click,
                       &PrintCommands::CmdPrnForm_Click}) {
        printerDialogs.copies = {0};
        (commands.get()->*click)();
        EXPECT_FALSE(QFile::exists(out));
    }
    EXPECT_EQ(printerDialogs.printDialogs, 3);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(PrintCommandsTest, WindowPrintMarksThePrintBits)
{
    printerDialogs.copies = {1};
    commands->CmdPrnForm_Click();
    EXPECT_EQ(chart1->chart().PrintBits() & 0xC0, 0xC0u);
    ASSERT_TRUE(QFile::exists(out));
    // The window at its size at the page's top left (1000 x 700 pixels at 96 dpi), made
    // smaller to fit the page.
    const int dpi = 48;
    const QImage page = test::pdfPage(out, dpi);
    const QRectF printable = commands->printer().pageLayout().paintRect(QPageLayout::Inch);
    const double scale =
        std::min({1.0, printable.width() / (1000 / 96.0), printable.height() / (700 / 96.0)});
    const QRect window = QRectF(printable.left() * dpi, printable.top() * dpi,
                                1000 / 96.0 * scale * dpi, 700 / 96.0 * scale * dpi)
                             .toAlignedRect();
    const QRect ink = test::inkBox(page);
    EXPECT_TRUE(window.adjusted(-1, -1, 1, 1).contains(ink));
    EXPECT_GT(ink.width(), window.width() * 3 / 4);
    EXPECT_GT(ink.height(), window.height() * 3 / 4);
}

// Output that cannot be written is reported with the file and the reason; nothing hangs.
TEST_F(PrintCommandsTest, FailedOutputIsReported)
{
    struct Row
    {
        const char *name;
        QString path;
        const char *kind; // what is there, and stays
    };
    const Row rows[] = {
        {"missing folder", dir.filePath(QStringLiteral("gone/out.pdf")), "none"},
        {"fifo", test::makeFifo(QDir(dir.path()), QStringLiteral("pipe.pdf")), "fifo"},
        {"folder", dir.path(), "folder"},
    };
    for (const Row &row : rows) {
        dialogs.messages.clear();
        printerDialogs.file = row.path;
        printerDialogs.copies = {1};
        commands->CmdPrnFill_Click();
        ASSERT_EQ(dialogs.messages.size(), 1) << row.name;
        const QString text = dialogs.messages[0].text;
        EXPECT_TRUE(text.startsWith(PrintCommands::failedText())) << row.name;
        EXPECT_TRUE(text.contains(row.path)) << row.name << qPrintable(text);
        EXPECT_EQ(test::kindOf(row.path), QString::fromLatin1(row.kind)) << row.name;
    }
}

// The preview draws the job without changing the charts; printing from it takes the same way.
TEST_F(PrintCommandsTest, PreviewLeavesTheChartsAsTheyAre)
{
    const chartview::ChartModel before = model1();
    commands->preview({PrintCommands::Layout::Standard, 1, true});
    EXPECT_EQ(printerDialogs.previews, 1);
    EXPECT_EQ(model1().backColorA, before.backColorA);
    EXPECT_EQ(model1().indexedColor(0x1000), before.indexedColor(0x1000));
    EXPECT_FALSE(document->undoStack().canUndo());
    EXPECT_TRUE(test::pdfText(printerDialogs.previewFile).contains(QStringLiteral("sales.tbx")));
    EXPECT_FALSE(QFile::exists(out));

    printerDialogs.printFromPreview = true;
    printerDialogs.copies = {1};
    commands->preview({PrintCommands::Layout::Fill, 1, false});
    EXPECT_EQ(printerDialogs.printDialogs, 1);
    EXPECT_TRUE(QFile::exists(out));
    EXPECT_EQ(commands->lastJob().layout, PrintCommands::Layout::Fill);
}

TEST_F(PrintCommandsTest, PageSetupFromTheButtonAndTheChart)
{
    commands->SSCmdPage_Click();
    EXPECT_EQ(printerDialogs.pageSetups, 1);
    chart2->runCommand(chartview::ChartWidget::CommandPageSetup);
    EXPECT_EQ(printerDialogs.pageSetups, 2);
    EXPECT_EQ(commands->printer().pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_TRUE(commands->chartCommand(chartview::ChartWidget::CommandPrint));
    EXPECT_FALSE(commands->chartCommand(chartview::ChartWidget::CommandGrid));
}

// A print to a file proposes the printed document's name, beside the last PDF chosen.
TEST_F(PrintCommandsTest, ProposedFileFollowsTheDocument)
{
    printerDialogs.copies = {1};
    commands->CmdPrnFill_Click();
    EXPECT_EQ(printerDialogs.proposed, QDir::home().filePath(QStringLiteral("sales.pdf")));
    ASSERT_TRUE(QFile::exists(out));

    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::green);
    printerDialogs.file.clear(); // the user takes what is proposed
    printerDialogs.copies = {1};
    commands->printPicture(picture, QStringLiteral("/photos/holiday.jpg"));
    EXPECT_EQ(printerDialogs.proposed, dir.filePath(QStringLiteral("holiday.pdf")));
    ASSERT_TRUE(QFile::exists(dir.filePath(QStringLiteral("holiday.pdf"))));
    EXPECT_TRUE(test::pdfText(dir.filePath(QStringLiteral("holiday.pdf")))
                    .contains(QStringLiteral("/photos/holiday.jpg")));
}
