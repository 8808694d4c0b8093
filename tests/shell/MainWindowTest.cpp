#include "FakeForm.h"

#include "chartview/ui/ChartWidget.h"
#include "os/IniSettingsStore.h"
#include "os/ui/AboutWindow.h"
#include "shell/ProgramState.h"
#include "shell/WindowCaption.h"
#include "shell/ui/HelpBrowser.h"
#include "shell/ui/MainWindow.h"
#include "support/FakeDialogs.h"
#include "support/FakeProcessStarter.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace qel;
using shell::MainWindow;

namespace {

struct MainWindowFixture : ::testing::Test
{
    QTemporaryDir programDir;
    QTemporaryDir configDir;
    QString savedCurrent = QDir::currentPath();
    shell::ProgramState state;
    os::IniSettingsStore settings{configDir.path()};
    test::FakeDialogs dialogs;
    test::FakeProcessStarter starter;
    QStringList speechLog;
    test::RecordingSpeech speech{speechLog};
    MainWindow window{{state, settings, dialogs, starter, speech}};
    double clock = 3600;
    int pumps = 0;
    bool ended = false;

    MainWindowFixture()
    {
        shell::StartupOptions options;
        options.programDir = programDir.path();
        options.dataHome = programDir.filePath(QStringLiteral("share"));
        options.runDesktopTools = false;
        options.timeOfDay = [this] { return clock; };
        options.pumpEvents = [this] {
            QCoreApplication::processEvents();
            ++pumps;
            clock += 1;
        };
        window.setStartupOptions(options);
        QObject::connect(&window, &MainWindow::programEnded, [this] { ended = true; });
    }

    ~MainWindowFixture() override
    {
        // Let the window close without asking.
        if (window.isVisible()) {
            dialogs.answers = {os::MessageAnswer::Ok};
            window.close();
        }
        QDir::setCurrent(savedCurrent);
    }

    void settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Makes the window's inner area the given size in twips.
    void resizeInner(int w, int h)
    {
        const shell::Twips t = window.twips();
        const QSize inner = window.centralWidget()->size();
        const QSize wanted(t.toPixelsX(w), t.toPixelsY(h));
        window.resize(window.size() + (wanted - inner));
        settle();
    }

    template <typename T = QWidget> T *control(const char *name)
    {
        return window.findChild<T *>(QString::fromLatin1(name));
    }

    QStringList notices() const
    {
        QStringList texts;
        for (const auto &m : dialogs.messages)
            texts << m.text;
        return texts;
    }
};

} // namespace

TEST_F(MainWindowFixture, StartUpRunsToTheMainWindowWithTheSampleChart)
{
    window.Form_Load();
    settle();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.objectName(), QStringLiteral("Form1"));
    chartview::ChartView &chart1 = window.chart1();
    EXPECT_EQ(chart1.SeriesTotal(), 5);
    EXPECT_EQ(chart1.SeriesCaption(0), QStringLiteral("Beef"));
    EXPECT_EQ(chart1.TitleCaption(0), QStringLiteral("左タイトル"));
    EXPECT_EQ(window.chart2().SeriesCaption(0), QStringLiteral("qel"));
    EXPECT_EQ(window.chart2().PointCaption(1), QStringLiteral("漢字"));
    EXPECT_TRUE(window.chartWidget1()->isVisible());
    EXPECT_FALSE(window.chartWidget2()->isVisible());
    EXPECT_EQ(window.table().groupCount, 5);

    // The greeting waited its five seconds, then the splash went away.
    EXPECT_EQ(pumps, 6);
    EXPECT_EQ(window.aboutWindow(), nullptr);
    ASSERT_EQ(speechLog.size(), 1);
    EXPECT_TRUE(speechLog[0].startsWith(QStringLiteral("warikomiSpeech Welcome to")));
    EXPECT_TRUE(dialogs.messages.isEmpty()) << qPrintable(notices().join(QLatin1Char('\n')));
    EXPECT_TRUE(QFile::exists(programDir.filePath(QStringLiteral("qelPro.html"))));
    EXPECT_TRUE(
        QFile::exists(programDir.filePath(QStringLiteral("share/mime/packages/qelpro.xml"))))
        << "the file types are registered at every start";
}

// What the user need not wait for comes once the window is on the screen: the file types and
// the desktop theme's icons.
TEST_F(MainWindowFixture, FileTypesAndThemeIconsFollowTheFirstPaint)
{
    const QString package = programDir.filePath(QStringLiteral("share/mime/packages/qelpro.xml"));
    window.registerFileTypes();
    settle();
    EXPECT_FALSE(QFile::exists(package)) << "nothing is written before the window is painted";
    for (QAction *action : window.chartWidget1()->toolBar()->actions()) {
        if (!action->isSeparator() && action->isVisible()) {
            EXPECT_FALSE(action->icon().isNull()) << qPrintable(action->text());
        }
    }

    window.show();
    settle();
    EXPECT_TRUE(QFile::exists(package));
    const QDateTime written = QFileInfo(package).lastModified();
    window.registerFileTypes(); // as the next start does: current, so nothing to write
    settle();
    EXPECT_EQ(QFileInfo(package).lastModified(), written);
}

TEST_F(MainWindowFixture, TheSplashShowsUntilItsOkWhenNoOneSpeaks)
{
    speech.taken = 0;
    window.Form_Load();
    settle();
    os::AboutWindow *about = window.aboutWindow();
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

TEST_F(MainWindowFixture, EveryControlCarriesItsNameAndTexts)
{
    const struct
    {
        const char *name;
        const char16_t *text;
        const char16_t *tip;
    } controls[] = {
        {"Calculater", u"電卓", nullptr},
        {"cmdQelHlp", u"?", u"ヘルプ、ここにファイルをドロップできます"},
        {"kyCommand", u"", nullptr},
        {"SSCmdChart", u"Chart", u"チャート切り替え"},
        {"SSCmdGradient", u"配色と設定", u"配色と設定"},
        {"SScmdQEL", u"オプションと設定", u"オプションと設定"},
        {"cmdViewListFile", u"View List File", nullptr},
        {"SSPrint", u"背景付き印刷", u"背景付き印刷"},
        {"SSprnWhite_1", u"背景無色印刷", u"背景無色印刷"},
        {"SSprnWhite_2", u"背景無色印刷", u"背景無色印刷"},
        {"SSprnForm", u"PrnForm", nullptr},
        {"CmdPrnChart", u"Print as Screen", nullptr},
        {"CmdPrnFill", u"Print Filling the Page", nullptr},
        {"CmdPrnForm", u"Print Form", nullptr},
        {"SSCmdPage", u"", u"page"},
        {"SSCmdVertConst", u"Vertical Const.", nullptr},
        {"SSCmdPointArrow", u"Pointing Arrow", nullptr},
        {"SSCmdThick2Dlines_0", u"ThickGridLines", u"grid size"},
        {"SSCmdThick2Dlines_1", u"Thick 2D-lines", u"left/right mouse"},
        {"SSCmdThick2Dlines_2", u"", nullptr},
        {"SSCmdThickWall", u"Thick 3D-wall ", u"wall"},
        {"SSCmdhartOnly", u"OnlyChart", u"onlyChart"},
        {"SSCommandRotate_0", nullptr, u"図の左回転"},
        {"SSCommandRotate_1", nullptr, u"図の右回転"},
        {"SSCommandRotate_2", nullptr, u"左自動回転"},
        {"SSCommandRotate_3", nullptr, u"自動回転"},
        {"FontSize", u"FontSize", u"left/right mouse"},
        {"FontSizeReset", u"fontSizeReset", u"fontSizeReset"},
        {"SSCheck_CL_HIDEXLEG", u"Hide X-leg.", u"x軸値の非＆表示"},
        {"SSCheck_CL_HIDEYLEG", u"Hide Y-leg.", u"ｙ軸値の非＆表示"},
        {"SSChkHidden", u"Erase hidden", u"空データの削除"},
        {"SSRibbon2", u"ｚ軸説明", u"ｚ軸説明"},
        {"SSRibbon3", u"x軸値の縦横書き", u"x軸値の縦横書き"},
        {"xGapText", u"0", u"x軸値の間隔"},
        {"VScroll1", nullptr, u"x軸値の間隔"},
        {"depthText", u"50", u"奥行きの深さ"},
        {"VScroll2", nullptr, u"奥行きの深さ"},
        {"Check2", u"Track Mouse", nullptr},
        {"Label1", u"Series:", nullptr},
        {"Label2", u"Value:", nullptr},
        {"Text1", u"", nullptr},
        {"Text2", u"", nullptr},
        {"txtLegend", nullptr, nullptr},
        {"Combo1", nullptr, nullptr},
        {"LblTabEditerSet", nullptr, nullptr},
        {"lblCountValError", nullptr, nullptr},
        {"Label3", nullptr, nullptr},
        {"Label4", nullptr, nullptr},
        {"Label5", nullptr, nullptr},
        {"Label6", nullptr, nullptr},
        {"Chart1", nullptr, nullptr},
        {"Chart2", nullptr, nullptr},
        {"Frame1", nullptr, nullptr},
        {"Frame2", nullptr, nullptr},
        {"Frame3", nullptr, nullptr},
        {"SSFrame1", nullptr, nullptr},
        {"SSFrame2", nullptr, nullptr},
    };
    for (const auto &c : controls) {
        QWidget *w = control(c.name);
        ASSERT_NE(w, nullptr) << c.name;
        EXPECT_EQ(window.findChildren<QWidget *>(QString::fromLatin1(c.name)).size(), 1) << c.name;
        if (c.text) {
            QString text;
            if (auto *b = qobject_cast<QAbstractButton *>(w))
                text = b->text();
            else if (auto *l = qobject_cast<QLabel *>(w))
                text = l->text();
            else if (auto *e = qobject_cast<QLineEdit *>(w))
                text = e->text();
            EXPECT_EQ(text, QString::fromUtf16(c.text)) << c.name;
        }
        if (c.tip) {
            EXPECT_EQ(w->toolTip(), QString::fromUtf16(c.tip)) << c.name;
        }
    }
    EXPECT_TRUE(control<QAbstractButton>("SSRibbon2")->isCheckable());
    EXPECT_NE(qobject_cast<QCheckBox *>(control("SSChkHidden")), nullptr);
    EXPECT_EQ(control<QScrollBar>("VScroll2")->maximum(), 999);
}

TEST_F(MainWindowFixture, ResizingTo9000By7000TwipsGivesTheMinimum)
{
    window.Form_Load();
    resizeInner(9000, 7000);
    const QSize inner = window.innerTwips();
    const QSize minimum = window.layoutRule().minimumInner();
    EXPECT_GE(minimum.width(), 10300);
    EXPECT_GE(minimum.height(), 8000);
    const int pixel = 1440 / window.logicalDpiX() + 1;
    EXPECT_GE(inner.width(), minimum.width());
    EXPECT_LT(inner.width(), minimum.width() + pixel);
    EXPECT_GE(inner.height(), minimum.height());
    EXPECT_LT(inner.height(), minimum.height() + pixel);
    // The window is whole pixels, so the layout follows the size it actually got; the charts
    // keep their designed distance from the column.
    const shell::Twips t = window.twips();
    const int w = inner.width();
    const int h = inner.height();
    const int column = window.layoutRule().columnSize(h).width();
    EXPECT_EQ(window.chartWidget1()->geometry(),
              t.toPixels(QRect(0, 0, w - column - 120, h - 1700)));
    EXPECT_EQ(control("Frame2")->x(), t.toPixelsX(w - column - 60));
    EXPECT_EQ(control("txtLegend")->y(), t.toPixelsY(h - 1600));
    EXPECT_EQ(window.chartWidget2()->height(), t.toPixelsY(h - 500));
}

TEST_F(MainWindowFixture, TheButtonColumnFollowsTheRightEdge)
{
    window.Form_Load();
    resizeInner(15000, 10000);
    const shell::Twips t = window.twips();
    const int w = window.innerTwips().width();
    const int column = window.layoutRule().columnSize(window.innerTwips().height()).width();
    EXPECT_EQ(control("Frame2")->x(), t.toPixelsX(w - column - 60));
    EXPECT_EQ(window.chartWidget1()->width(),
              t.toPixels(QRect(0, 0, w - column - 120, 10)).width());
    EXPECT_EQ(control("txtLegend")->width(), window.chartWidget1()->width());
    EXPECT_LE(window.chartWidget1()->geometry().right(), control("Frame2")->x());
}

TEST_F(MainWindowFixture, DoublingTheChartWidthScalesSpacingAndGapFourTimesResets)
{
    window.Form_Load();
    resizeInner(10300, 8000);
    const QSize reference = window.layoutRule().reference();
    ASSERT_EQ(reference, QSize(8380, 6300)) << "measured against the designed chart";
    chartview::ChartView &chart = window.chart1();
    const int h = window.innerTwips().height();
    const int offset = window.layoutRule().columnSize(h).width() + 120;
    // The first layout already scaled the spacing to the chart's actual size; start anew.
    resizeInner(8380 + offset, h);
    chart.setSpacing(5, 6);
    chart.setSpacing(6, 6);
    chart.setPointGap(0);
    resizeInner(8380 + offset + 15, h);
    ASSERT_EQ(chart.Spacing(5), 6);

    resizeInner(2 * 8380 + offset, h);
    EXPECT_NEAR(double(window.chartWidget1()->width()) / window.twips().toPixelsX(8380), 2, 0.01);
    EXPECT_EQ(chart.Spacing(5), 12);
    EXPECT_EQ(chart.Spacing(6), 12);
    EXPECT_EQ(chart.PointGap(), 60) << "a gap of 0 scales as 30";
    EXPECT_EQ(control<QLineEdit>("xGapText")->text(), QStringLiteral("60"))
        << "the gap box shows the chart's gap";
    EXPECT_EQ(window.layoutRule().reference(), reference);

    resizeInner(4 * 8380 + offset, h);
    EXPECT_EQ(chart.Spacing(5), 12) << "four times wider resets instead of scaling";
    EXPECT_NEAR(window.layoutRule().reference().width(), 4 * 8380, 15);
}

TEST_F(MainWindowFixture, CaptionShowsSixtyCharactersWholeAndShortensSixtyOne)
{
    window.Form_Load();
    const QString credit = state.verString + shell::WindowCaption::credit();
    const QString sixty = QStringLiteral("/") + QString(59, QLatin1Char('a'));
    window.setWindowCaption(sixty);
    EXPECT_EQ(window.windowTitle(), credit + sixty);
    const QString sixtyOne =
        QStringLiteral("/") + QString(30, QLatin1Char('a')) + QString(30, QLatin1Char('b'));
    window.setWindowCaption(sixtyOne);
    EXPECT_EQ(window.windowTitle(),
              credit + sixtyOne.left(28) + QStringLiteral(" .. ") + sixtyOne.right(28));
}

TEST_F(MainWindowFixture, TheCalculatorButtonTwiceStartsOneProgram)
{
    window.Form_Load();
    window.calculator().setFinder([](const QString &name) {
        return name == QStringLiteral("kcalc") ? QStringLiteral("/usr/bin/kcalc") : QString();
    });
    int raised = 0;
    window.calculator().setActivator([&](qint64) { ++raised; });
    auto *button = control<QAbstractButton>("Calculater");
    button->click();
    button->click();
    ASSERT_EQ(starter.starts.size(), 1);
    EXPECT_EQ(starter.starts[0].program, QStringLiteral("/usr/bin/kcalc"));
    EXPECT_EQ(raised, 1);
}

TEST_F(MainWindowFixture, HelpOpensInTheBrowserOnceAndMissingHelpIsReported)
{
    window.Form_Load();
    control<QAbstractButton>("cmdQelHlp")->click();
    shell::HelpBrowser *help = window.helpBrowser();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->windowTitle(), QStringLiteral("qelPro ヘルプ"));
    EXPECT_TRUE(help->browser()->toPlainText().contains(QStringLiteral("電卓")));
    window.cmdQelHlp_Click();
    EXPECT_EQ(window.findChildren<shell::HelpBrowser *>().size(), 1);

    help->close();
    QFile::remove(programDir.filePath(QStringLiteral("qelPro.html")));
    window.cmdQelHlp_Click();
    EXPECT_EQ(notices(), QStringList{QStringLiteral("ヘルプファイルが開けません。")});
    EXPECT_EQ(window.helpBrowser(), nullptr);
}

TEST_F(MainWindowFixture, HelpTextOpensInTheRememberedEditor)
{
    window.Form_Load();
    settings.setValue(QStringLiteral("vokPath"), QStringLiteral("Varnholt(NR)"),
                      QStringLiteral("Wordpad.exe"), QStringLiteral("/usr/bin/mousepad"));
    window.helpText_Click();
    ASSERT_EQ(starter.starts.size(), 1);
    EXPECT_EQ(starter.starts[0].program, QStringLiteral("/usr/bin/mousepad"));
    EXPECT_EQ(starter.starts[0].arguments,
              QStringList{programDir.filePath(QStringLiteral("qel-hlp.rtf"))});
}

TEST_F(MainWindowFixture, QuitWithCancelKeepsTheWindowAndOkEnds)
{
    window.Form_Load();
    window.cmdQelHlp_Click();
    dialogs.answers = {os::MessageAnswer::Cancel};
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(ended);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("終了"));
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("qelPro End"));
    EXPECT_EQ(dialogs.messages[0].buttons, os::MessageButtons::OkCancel);
    EXPECT_EQ(dialogs.messages[0].icon, os::MessageIcon::None);

    dialogs.answers = {os::MessageAnswer::Ok};
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(ended);
    EXPECT_FALSE(window.helpBrowser()->isVisible()) << "no window is left behind";
}

TEST_F(MainWindowFixture, InactiveButtonsAndDroppedFiles)
{
    window.Form_Load();
    dialogs.messages.clear();
    control<QAbstractButton>("kyCommand")->click();
    control<QAbstractButton>("SSprnForm")->click();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << "these two have no action";

    // A drop opens the first file without asking for one; one that cannot be read is named
    // and leaves the current file as it was.
    dialogs.messages.clear();
    const QString before = state.currentFile;
    window.cmdQelHlp_OLEDragDrop({QStringLiteral("/data/a.tbx"), QStringLiteral("/data/b.tbx")});
    EXPECT_TRUE(dialogs.fileDialogs.isEmpty());
    EXPECT_EQ(state.currentFile, before);
    ASSERT_FALSE(dialogs.messages.isEmpty());
    EXPECT_TRUE(dialogs.messages.back().text.contains(QStringLiteral("/data/a.tbx")));
}

TEST_F(MainWindowFixture, TheChartsFileCommandsGoToTheWindowTheViewCommandsStayWithTheChart)
{
    window.Form_Load();
    window.chartWidget1()->runCommand(chartview::ChartWidget::CommandOpen);
    ASSERT_EQ(dialogs.fileDialogs.size(), 1);
    EXPECT_EQ(dialogs.fileDialogs[0].title, QStringLiteral("QEL Import Chart & Multi Slide"));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("キャンセルが選択されました。"));
    const quint32 type = window.chart1().ChartType();
    window.chartWidget1()->runCommand(chartview::ChartWidget::CommandGallery);
    EXPECT_NE(window.chart1().ChartType(), type);
    EXPECT_EQ(dialogs.messages.size(), 1);
}

TEST_F(MainWindowFixture, TheScrollBarFillsItsBox)
{
    window.Form_Load();
    control<QScrollBar>("VScroll2")->setValue(120);
    EXPECT_EQ(control<QLineEdit>("depthText")->text(), QStringLiteral("120"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(MainWindowFixture, TheWindowAsTheUserSeesIt)
{
    window.Form_Load();
    resizeInner(10300, 8000);
    const QImage picture = window.grab().toImage();
    const QString dir = qEnvironmentVariable("QEL_TEST_PICTURES");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        picture.save(dir + QStringLiteral("/main-window.png"));
    }
    // The chart shows its yellow-to-cyan surround; the button column carries dark caption text.
    const QRect chart = window.chartWidget1()->geometry().translated(window.centralWidget()->pos());
    const int chartTop = chart.top() + window.chartWidget1()->chartRect().top();
    int yellow = 0, cyan = 0;
    for (int x = chart.left(); x < chart.right(); x += 3) {
        yellow += picture.pixelColor(x, chartTop + 2) == QColor(255, 255, 128);
        cyan += picture.pixelColor(x, chart.bottom() - 3).red() < 20;
    }
    EXPECT_GT(yellow, chart.width() / 6);
    EXPECT_GT(cyan, chart.width() / 6);
    const QRect column = control("Frame2")->geometry().translated(window.centralWidget()->pos());
    int dark = 0;
    for (int y = column.top(); y < column.bottom(); ++y)
        for (int x = column.left(); x < column.right(); ++x)
            dark += picture.pixelColor(x, y).lightness() < 80;
    EXPECT_GT(dark, 200);
}
