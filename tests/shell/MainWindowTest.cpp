#include "WindowFixture.h"

#include "chartview/ui/ChartWidget.h"
#include "os/ui/AboutWindow.h"
#include "shell/WindowCaption.h"
#include "shell/ui/HelpBrowser.h"
#include "support/Pictures.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace qel;
using shell::MainWindow;

namespace {

struct MainWindowFixture : test::WindowFixture
{
    // Makes the window's inner area the given size in twips.
    void resizeInner(int w, int h)
    {
        const shell::Twips t = window->twips();
        const QSize inner = window->centralWidget()->size();
        const QSize wanted(t.toPixelsX(w), t.toPixelsY(h));
        window->resize(window->size() + (wanted - inner));
        settle();
    }
};

} // namespace

TEST_F(MainWindowFixture, StartUpRunsToTheMainWindowWithTheSampleChart)
{
    start();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->objectName(), QStringLiteral("Form1"));
    EXPECT_EQ(window->chart1().SeriesCaption(0), QStringLiteral("Beef"));
    EXPECT_TRUE(window->chartWidget1()->isVisible());
    EXPECT_FALSE(window->chartWidget2()->isVisible());
    EXPECT_EQ(window->table().groupCount, 5);

    // The greeting waited its five seconds, then the splash went away.
    EXPECT_EQ(pumps, 6);
    EXPECT_EQ(window->aboutWindow(), nullptr);
    ASSERT_EQ(speechLog.size(), 1);
    EXPECT_TRUE(speechLog[0].startsWith(QStringLiteral("warikomiSpeech Welcome to")));
    EXPECT_TRUE(dialogs.messages.isEmpty())
        << qPrintable(dialogs.messageTexts().join(QLatin1Char('\n')));
    EXPECT_TRUE(QFile::exists(programDir.filePath(QStringLiteral("qelPro.html"))));
    EXPECT_TRUE(
        QFile::exists(programDir.filePath(QStringLiteral("share/mime/packages/qelpro.xml"))))
        << "the file types are registered at every start";
}

// What the user need not wait for comes once the window is on the screen: the file types and
// the desktop theme's icons.
TEST_F(MainWindowFixture, FileTypesAndThemeIconsFollowTheFirstPaint)
{
    window = std::make_unique<shell::MainWindow>(services());
    shell::StartupOptions options;
    options.programDir = programDir.path();
    options.dataHome = programDir.filePath(QStringLiteral("share"));
    options.runDesktopTools = false;
    window->setStartupOptions(options);
    const QString package = programDir.filePath(QStringLiteral("share/mime/packages/qelpro.xml"));
    window->registerFileTypes();
    settle();
    EXPECT_FALSE(QFile::exists(package)) << "nothing is written before the window is painted";
    for (QAction *action : window->chartWidget1()->toolBar()->actions()) {
        if (!action->isSeparator() && action->isVisible()) {
            EXPECT_FALSE(action->icon().isNull()) << qPrintable(action->text());
        }
    }

    window->show();
    settle();
    EXPECT_TRUE(QFile::exists(package));
    const QDateTime written = QFileInfo(package).lastModified();
    window->registerFileTypes(); // as the next start does: current, so nothing to write
    settle();
    EXPECT_EQ(QFileInfo(package).lastModified(), written);
}

TEST_F(MainWindowFixture, TheSplashShowsUntilItsOkWhenNoOneSpeaks)
{
    speech.taken = 0;
    start();
    os::AboutWindow *about = window->aboutWindow();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->windowTitle(), QStringLiteral("qelProのﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(about->findChild<QLabel *>(QStringLiteral("lblVersion"))->text(),
              QStringLiteral("ﾊﾞｰｼﾞｮﾝ ") + shell::ProgramState::fullVersionText());
    about->findChild<QPushButton *>(QStringLiteral("cmdOk"))->click();
    settle();
    EXPECT_EQ(state.aboutDone, 1);
    EXPECT_FALSE(about->isVisible());
    EXPECT_EQ(speechLog.last(), QStringLiteral("voiceStop"));
}

// Other parts of the program and the tests find the controls by their designed names.
TEST_F(MainWindowFixture, EveryControlCarriesItsOwnName)
{
    start();
    for (const char *name : {"Calculater",
                             "cmdQelHlp",
                             "kyCommand",
                             "SSCmdChart",
                             "SSCmdGradient",
                             "SScmdQEL",
                             "cmdViewListFile",
                             "SSPrint",
                             "SSprnWhite_1",
                             "SSprnWhite_2",
                             "SSprnForm",
                             "CmdPrnChart",
                             "CmdPrnFill",
                             "CmdPrnForm",
                             "SSCmdPage",
                             "SSCmdVertConst",
                             "SSCmdPointArrow",
                             "SSCmdThick2Dlines_0",
                             "SSCmdThick2Dlines_1",
                             "SSCmdThick2Dlines_2",
                             "SSCmdThickWall",
                             "SSCmdhartOnly",
                             "SSCommandRotate_0",
                             "SSCommandRotate_3",
                             "FontSize",
                             "FontSizeReset",
                             "SSCheck_CL_HIDEXLEG",
                             "SSCheck_CL_HIDEYLEG",
                             "SSChkHidden",
                             "SSRibbon2",
                             "SSRibbon3",
                             "xGapText",
                             "VScroll1",
                             "depthText",
                             "VScroll2",
                             "Check2",
                             "Label1",
                             "Label2",
                             "Text1",
                             "Text2",
                             "txtLegend",
                             "Combo1",
                             "LblTabEditerSet",
                             "lblCountValError",
                             "Label3",
                             "Label4",
                             "Label5",
                             "Label6",
                             "Chart1",
                             "Chart2",
                             "Frame1",
                             "Frame2",
                             "Frame3",
                             "SSFrame1",
                             "SSFrame2"})
        EXPECT_EQ(window->findChildren<QWidget *>(QString::fromLatin1(name)).size(), 1) << name;
    EXPECT_EQ(control<QLabel>("Label2")->text(), QStringLiteral("Value:"));
    EXPECT_TRUE(control<QAbstractButton>("SSRibbon2")->isCheckable());
    EXPECT_NE(qobject_cast<QCheckBox *>(control("SSChkHidden")), nullptr);
    EXPECT_EQ(control<QScrollBar>("VScroll2")->maximum(), 999);
}

// The window is whole pixels, so the layout follows the size it actually got.
TEST_F(MainWindowFixture, ResizingPlacesTheControlsAndScalesTheChartsSpacing)
{
    start();
    const shell::Twips t = window->twips();
    const int pixel = 1440 / window->logicalDpiX() + 1;
    const QSize minimum = window->layoutRule().minimumInner();
    EXPECT_GE(minimum.width(), 10300);
    EXPECT_GE(minimum.height(), 8000);
    for (const QSize &asked : {QSize(9000, 7000), QSize(15000, 10000)}) {
        resizeInner(asked.width(), asked.height());
        const QSize atLeast = asked.expandedTo(minimum);
        const int w = window->innerTwips().width(), h = window->innerTwips().height();
        EXPECT_GE(w, atLeast.width());
        EXPECT_LT(w, atLeast.width() + pixel);
        EXPECT_GE(h, atLeast.height());
        EXPECT_LT(h, atLeast.height() + pixel);
        // The charts keep their designed distance from the button column.
        const int column = window->layoutRule().columnSize(h).width();
        EXPECT_EQ(window->chartWidget1()->geometry(),
                  t.toPixels(QRect(0, 0, w - column - 120, h - 1700)));
        EXPECT_EQ(control("Frame2")->x(), t.toPixelsX(w - column - 60));
        EXPECT_EQ(control("txtLegend")->y(), t.toPixelsY(h - 1600));
        EXPECT_EQ(control("txtLegend")->width(), window->chartWidget1()->width());
        EXPECT_EQ(window->chartWidget2()->height(), t.toPixelsY(h - 500));
    }

    // A chart twice as wide doubles the spacing and the gap; four times resets instead.
    resizeInner(10300, 8000);
    const QSize reference = window->layoutRule().reference();
    ASSERT_EQ(reference, QSize(8380, 6300)) << "measured against the designed chart";
    chartview::ChartView &chart = window->chart1();
    const int h = window->innerTwips().height();
    const int offset = window->layoutRule().columnSize(h).width() + 120;
    // The first layout already scaled the spacing to the chart's actual size; start anew.
    resizeInner(8380 + offset, h);
    chart.setSpacing(5, 6);
    chart.setSpacing(6, 6);
    chart.setPointGap(0);
    resizeInner(8380 + offset + 15, h);
    ASSERT_EQ(chart.Spacing(5), 6);
    resizeInner(2 * 8380 + offset, h);
    EXPECT_EQ(chart.Spacing(5), 12);
    EXPECT_EQ(chart.Spacing(6), 12);
    EXPECT_EQ(chart.PointGap(), 60) << "a gap of 0 scales as 30";
    EXPECT_EQ(control<QLineEdit>("xGapText")->text(), QStringLiteral("60"))
        << "the gap box shows the chart's gap";
    EXPECT_EQ(window->layoutRule().reference(), reference);
    resizeInner(4 * 8380 + offset, h);
    EXPECT_EQ(chart.Spacing(5), 12) << "four times wider resets instead of scaling";
    EXPECT_NEAR(window->layoutRule().reference().width(), 4 * 8380, 15);
}

TEST_F(MainWindowFixture, CaptionShowsSixtyCharactersWholeAndShortensSixtyOne)
{
    start();
    const QString credit = state.verString + shell::WindowCaption::credit();
    const QString sixty = QStringLiteral("/") + QString(59, QLatin1Char('a'));
    window->setWindowCaption(sixty);
    EXPECT_EQ(window->windowTitle(), credit + sixty);
    const QString sixtyOne =
        QStringLiteral("/") + QString(30, QLatin1Char('a')) + QString(30, QLatin1Char('b'));
    window->setWindowCaption(sixtyOne);
    EXPECT_EQ(window->windowTitle(),
              credit + sixtyOne.left(28) + QStringLiteral(" .. ") + sixtyOne.right(28));
}

TEST_F(MainWindowFixture, TheCalculatorButtonTwiceStartsOneProgram)
{
    start();
    window->calculator().setFinder([](const QString &name) {
        return name == QStringLiteral("kcalc") ? QStringLiteral("/usr/bin/kcalc") : QString();
    });
    int raised = 0;
    window->calculator().setActivator([&](qint64) { ++raised; });
    auto *button = control<QAbstractButton>("Calculater");
    button->click();
    button->click();
    ASSERT_EQ(starter.starts.size(), 1);
    EXPECT_EQ(starter.starts[0].program, QStringLiteral("/usr/bin/kcalc"));
    EXPECT_EQ(raised, 1);
}

TEST_F(MainWindowFixture, HelpOpensInTheBrowserOnceAndMissingHelpIsReported)
{
    start();
    control<QAbstractButton>("cmdQelHlp")->click();
    shell::HelpBrowser *help = window->helpBrowser();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->windowTitle(), QStringLiteral("qelPro ヘルプ"));
    EXPECT_TRUE(help->browser()->toPlainText().contains(QStringLiteral("電卓")));
    window->cmdQelHlp_Click();
    EXPECT_EQ(window->findChildren<shell::HelpBrowser *>().size(), 1);

    help->close();
    QFile::remove(programDir.filePath(QStringLiteral("qelPro.html")));
    window->cmdQelHlp_Click();
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("ヘルプファイルが開けません。")});
    EXPECT_EQ(window->helpBrowser(), nullptr);
}

TEST_F(MainWindowFixture, HelpTextOpensInTheRememberedEditor)
{
    start();
    settings.setValue(QStringLiteral("vokPath"), QStringLiteral("Varnholt(NR)"),
                      QStringLiteral("Wordpad.exe"), QStringLiteral("/usr/bin/mousepad"));
    window->helpText_Click();
    ASSERT_EQ(starter.starts.size(), 1);
    EXPECT_EQ(starter.starts[0].program, QStringLiteral("/usr/bin/mousepad"));
    EXPECT_EQ(starter.starts[0].arguments,
              QStringList{programDir.filePath(QStringLiteral("qel-hlp.rtf"))});
}

TEST_F(MainWindowFixture, QuitWithCancelKeepsTheWindowAndOkEnds)
{
    start();
    window->cmdQelHlp_Click();
    dialogs.answers = {os::MessageAnswer::Cancel};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(ended);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("終了")});

    dialogs.answers = {os::MessageAnswer::Ok};
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(ended);
    EXPECT_FALSE(window->helpBrowser()->isVisible()) << "no window is left behind";
}

TEST_F(MainWindowFixture, InactiveButtonsAndDroppedFiles)
{
    start();
    dialogs.messages.clear();
    control<QAbstractButton>("kyCommand")->click();
    control<QAbstractButton>("SSprnForm")->click();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << "these two have no action";

    // A drop opens the first file without asking for one; one that cannot be read is named
    // and leaves the current file as it was.
    dialogs.messages.clear();
    const QString before = state.currentFile;
    window->cmdQelHlp_OLEDragDrop({QStringLiteral("/data/a.tbx"), QStringLiteral("/data/b.tbx")});
    EXPECT_TRUE(dialogs.fileDialogs.isEmpty());
    EXPECT_EQ(state.currentFile, before);
    ASSERT_FALSE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.messages.back().text.contains(QStringLiteral("/data/a.tbx")));
}

TEST_F(MainWindowFixture, TheChartsFileCommandsGoToTheWindowTheViewCommandsStayWithTheChart)
{
    start();
    window->chartWidget1()->runCommand(chartview::ChartWidget::CommandOpen);
    ASSERT_EQ(dialogs.fileDialogs.size(), 1);
    EXPECT_EQ(dialogs.fileDialogs[0].title, QStringLiteral("QEL Import Chart & Multi Slide"));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("キャンセルが選択されました。"));
    const quint32 type = window->chart1().ChartType();
    window->chartWidget1()->runCommand(chartview::ChartWidget::CommandGallery);
    EXPECT_NE(window->chart1().ChartType(), type);
    EXPECT_EQ(dialogs.messages.size(), 1);
}

TEST_F(MainWindowFixture, TheScrollBarFillsItsBox)
{
    start();
    control<QScrollBar>("VScroll2")->setValue(120);
    EXPECT_EQ(control<QLineEdit>("depthText")->text(), QStringLiteral("120"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(MainWindowFixture, TheWindowAsTheUserSeesIt)
{
    start();
    resizeInner(10300, 8000);
    const QImage picture = window->grab().toImage();
    test::savePicture(picture, QStringLiteral("main-window"));
    // The chart shows its yellow-to-cyan surround; the button column carries dark caption text.
    const QRect chart =
        window->chartWidget1()->geometry().translated(window->centralWidget()->pos());
    const int chartTop = chart.top() + window->chartWidget1()->chartRect().top();
    int yellow = 0, cyan = 0;
    for (int x = chart.left(); x < chart.right(); x += 3) {
        yellow += picture.pixelColor(x, chartTop + 2) == QColor(255, 255, 128);
        cyan += picture.pixelColor(x, chart.bottom() - 3).red() < 20;
    }
    EXPECT_GT(yellow, chart.width() / 6);
    EXPECT_GT(cyan, chart.width() / 6);
    const QRect column = control("Frame2")->geometry().translated(window->centralWidget()->pos());
    int dark = 0;
    for (int y = column.top(); y < column.bottom(); ++y)
        for (int x = column.left(); x < column.right(); ++x)
            dark += picture.pixelColor(x, y).lightness() < 80;
    EXPECT_GT(dark, 200);
}
