#include "WindowFixture.h"

#include "../print/PdfTools.h"
#include "chartview/ui/ChartWidget.h"
#include "print/ui/PrintCommands.h"
#include "shell/ui/PictureViewer.h"
#include "support/FakePrinterDialogs.h"
#include "support/TestFiles.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace qel;
using shell::MainWindow;

namespace {

struct MainWindowPrint : test::WindowFixture
{
    QTemporaryDir outDir;
    QString out = outDir.filePath(QStringLiteral("out.pdf"));
    test::FakePrinterDialogs printerDialogs;

    shell::MainWindow::Services services() override
    {
        shell::MainWindow::Services given = WindowFixture::services();
        given.printerDialogs = &printerDialogs;
        return given;
    }

    MainWindowPrint()
    {
        start();
        dialogs.messages.clear();
        window->printCommands().printer().setOutputFormat(QPrinter::PdfFormat);
        printerDialogs.file = out;
        printerDialogs.previewFile = outDir.filePath(QStringLiteral("preview.pdf"));
    }

    ~MainWindowPrint() override { close(); }

    void click(const char *name) { control<QAbstractButton>(name)->click(); }
};

} // namespace

// Every print button prints; none of them is a placeholder any more.
TEST_F(MainWindowPrint, TheButtonsPrint)
{
    for (const char *name : {"SSprnWhite_1", "CmdPrnChart", "CmdPrnFill", "CmdPrnForm"}) {
        QFile::remove(out);
        printerDialogs.copies = {1};
        click(name);
        EXPECT_TRUE(QFile::exists(out)) << name;
        EXPECT_TRUE(dialogs.messages.isEmpty()) << name;
    }
    EXPECT_EQ(window->chart1().model().backColorA, chartview::rgb(255, 255, 255))
        << "the white print leaves the chart white";

    QFile::remove(out);
    dialogs.answers = {os::MessageAnswer::Yes};
    printerDialogs.copies = {1};
    click("SSPrint");
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("フルページカラー印刷しますか？"));
    EXPECT_TRUE(QFile::exists(out));

    click("SSCmdPage");
    EXPECT_EQ(printerDialogs.pageSetups, 1);
}

// The chart's print command: the printer dialogue, then the print-mode prompt; its menu
// offers the preview and the page set-up as well.
TEST_F(MainWindowPrint, TheChartToolBarPrints)
{
    chartview::ChartWidget *chart = window->chartWidget1();
    printerDialogs.copies = {1};
    dialogs.answers = {os::MessageAnswer::Yes};
    chart->runCommand(chartview::ChartWidget::CommandPrint);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Print mode"));
    ASSERT_TRUE(QFile::exists(out));
    EXPECT_TRUE(test::pdfText(out).contains(QStringLiteral("qelPro")));

    auto *menu = chart->findChild<QMenu *>(QStringLiteral("printMenu"));
    ASSERT_NE(menu, nullptr);
    QStringList entries;
    for (QAction *action : menu->actions())
        entries << action->text();
    EXPECT_EQ(entries, (QStringList{QStringLiteral("印刷..."), QStringLiteral("印刷プレビュー..."),
                                    QStringLiteral("ページ設定...")}));
    menu->actions()[1]->trigger();
    EXPECT_EQ(printerDialogs.previews, 1);
    menu->actions()[2]->trigger();
    EXPECT_EQ(printerDialogs.pageSetups, 1);
}

TEST_F(MainWindowPrint, TheFileMenuPreviewsEveryLayout)
{
    QMenu *file = window->menuBar()->findChildren<QMenu *>().value(0);
    ASSERT_NE(file, nullptr);
    QMenu *layouts = nullptr;
    for (QAction *action : file->actions()) {
        if (action->menu())
            layouts = action->menu();
    }
    ASSERT_NE(layouts, nullptr);
    EXPECT_EQ(layouts->actions().size(), 5);
    for (QAction *action : layouts->actions())
        action->trigger();
    EXPECT_EQ(printerDialogs.previews, 5);
    EXPECT_NE(window->chart1().model().backColorA, chartview::rgb(255, 255, 255))
        << "a preview leaves the chart as it was";
    EXPECT_FALSE(QFile::exists(out));
}

// The picture viewer prints through the window's printer: header, file name, picture.
TEST_F(MainWindowPrint, ThePictureViewerPrints)
{
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString png = outDir.filePath(QStringLiteral("photo.png"));
    ASSERT_TRUE(image.save(png));
    ASSERT_TRUE(window->jpgShow(png));
    shell::PictureViewer *viewer = window->pictureViewer();
    ASSERT_NE(viewer, nullptr);

    dialogs.answers = {os::MessageAnswer::Cancel};
    viewer->Picture1_Click();
    EXPECT_EQ(printerDialogs.printDialogs, 0);
    EXPECT_FALSE(QFile::exists(out));

    dialogs.answers = {os::MessageAnswer::Ok};
    printerDialogs.copies = {1};
    viewer->Picture1_Click();
    ASSERT_TRUE(QFile::exists(out));
    EXPECT_TRUE(test::pdfText(out).contains(QStringLiteral("photo.png")));

    // One viewer at a time; a double click closes it and the next picture opens a new one.
    viewer->Picture1_DblClick();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->pictureViewer(), nullptr);
    ASSERT_TRUE(window->jpgShow(png));
    EXPECT_NE(window->pictureViewer(), nullptr);
}

// A picture that cannot be shown is named with the reason, and the viewer stays closed.
TEST_F(MainWindowPrint, AnUnreadablePictureSaysWhy)
{
    const QString huge = outDir.filePath(QStringLiteral("huge.png"));
    test::writeFile(huge, test::pngHeaderOnly(20000, 20000));
    QString path = huge;
    EXPECT_FALSE(window->loadSave(0, path));
    ASSERT_EQ(dialogs.messages.size(), 1);
    const QString text = dialogs.messages[0].text;
    EXPECT_TRUE(text.contains(huge)) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("20000"))) << qPrintable(text);
    ASSERT_NE(window->pictureViewer(), nullptr);
    EXPECT_TRUE(window->pictureViewer()->fileName().isEmpty());
    EXPECT_FALSE(window->pictureViewer()->isVisible());
}
