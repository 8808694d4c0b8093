#include "ManualTimer.h"
#include "WindowFixture.h"

#include "chartview/CfxOcx.h"
#include "chartview/ui/ChartWidget.h"
#include "settings/ui/Form2.h"
#include "shell/ChartOptionControls.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QUndoStack>

#include <gtest/gtest.h>

using namespace qel;
using shell::MainWindow;

namespace {

struct OptionsWindowFixture : test::WindowFixture
{
    test::ManualTimer timer;

    shell::MainWindow::Services services() override
    {
        shell::MainWindow::Services given = WindowFixture::services();
        given.stepTimer = &timer;
        return given;
    }

    OptionsWindowFixture()
    {
        start();
        speechLog.clear();
    }

    ~OptionsWindowFixture() override
    {
        if (window && window->isVisible()) {
            window->options().stopAutoRotation();
            window->document().markSaved(); // nothing to ask about
        }
        close(); // while the timer is still there
    }

    template <typename T = QAbstractButton> T *control(const char *name)
    {
        T *w = window->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    chartview::ChartView &chart() { return window->chart1(); }
    void click(const char *name) { control(name)->click(); }
    // A mouse button let go over a button, as the hand does it.
    void release(const char *name, Qt::MouseButton button)
    {
        QWidget *w = control<QWidget>(name);
        const QPointF at = QRectF(w->rect()).center();
        QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), button, button,
                          Qt::NoModifier);
        QMouseEvent up(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), button, Qt::NoButton,
                       Qt::NoModifier);
        QApplication::sendEvent(w, &press);
        QApplication::sendEvent(w, &up);
    }
    void type(const char *box, const QString &text, int key = Qt::Key_Return)
    {
        auto *edit = control<QLineEdit>(box);
        edit->setText(text);
        if (key == Qt::Key_Return) {
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(edit, &enter);
        } else {
            QFocusEvent out(QEvent::FocusOut);
            QApplication::sendEvent(edit, &out);
        }
    }
    // Typed in, key by key, as the user does it.
    void typeInto(QLineEdit *edit, const QString &text)
    {
        edit->selectAll();
        QKeyEvent erase(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QApplication::sendEvent(edit, &erase);
        for (QChar c : text) {
            QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(edit, &key);
        }
    }
    void undo() { window->findChild<QAction *>(QStringLiteral("editUndo"))->trigger(); }
    int undoSteps() { return window->document().undoStack().count(); }
    void setTextSize(double size)
    {
        for (int member = 55; member <= 60; ++member) {
            chartview::ChartFontSpec font = chart().TextFont(member);
            font.pointSize = size;
            chart().setTextFont(member, font);
        }
        window->document().resetHistory();
    }
};

} // namespace

TEST_F(OptionsWindowFixture, RotateButtonsWrapBetweenZeroAnd360)
{
    chartview::BackgroundGradient painted = window->document().gradient();
    painted.on = true;
    window->document().setGradient(painted);
    chart().setGradientOn(true);
    window->document().resetHistory();
    const struct
    {
        const char *button;
        int rotation;
    } presses[] = {{"SSCommandRotate_1", 360},
                   {"SSCommandRotate_0", 0},
                   {"SSCommandRotate_0", 8},
                   {"SSCommandRotate_1", 0}};
    for (const auto &p : presses) {
        click(p.button);
        EXPECT_EQ(chart().model().rotation(), p.rotation) << p.button;
        EXPECT_TRUE(chart().model().view3D);
    }
    EXPECT_FALSE(window->document().gradient().on) << "a turn stops the painted background";
    EXPECT_FALSE(chart().model().gradientOn);
    EXPECT_EQ(undoSteps(), 4);
    undo();
    EXPECT_EQ(chart().model().rotation(), 8);
    undo();
    undo();
    undo();
    EXPECT_TRUE(chart().model().gradientOn);
    EXPECT_TRUE(speechLog.isEmpty());
}

TEST_F(OptionsWindowFixture, LineWidthButtonsGoRoundWithEitherMouseButton)
{
    const struct
    {
        const char *button;
        Qt::MouseButton mouse;
        qint16 before;
        int line;
        qint16 after;
    } rows[] = {
        {"SSCmdThick2Dlines_1", Qt::LeftButton, 21, 0, 1},
        {"SSCmdThick2Dlines_1", Qt::RightButton, 1, 0, 22},
        {"SSCmdThick2Dlines_0", Qt::RightButton, 1, 2, 22},
        {"SSCmdThick2Dlines_0", Qt::LeftButton, 21, 2, 1},
        {"SSCmdThick2Dlines_1", Qt::MiddleButton, 5, 1, 7},
    };
    for (const auto &r : rows) {
        for (qint16 line : {0, 1, 2})
            chart().setLineWidth(line, r.before);
        if (r.mouse == Qt::LeftButton)
            click(r.button);
        else
            release(r.button, r.mouse);
        EXPECT_EQ(chart().LineWidth(qint16(r.line)), r.after) << r.button << " " << r.mouse;
    }
    const chartview::ChartModel before = chart().model();
    click("SSCmdThick2Dlines_2");
    release("SSCmdThick2Dlines_2", Qt::RightButton);
    EXPECT_EQ(chart().model(), before) << "the third button has no effect";
    EXPECT_TRUE(window->statusBar()->currentMessage().contains(QStringLiteral("線の太さ")));
}

TEST_F(OptionsWindowFixture, TextSizeStopsAt32Upwards10StillGoesDownAnd9DoesNot)
{
    const struct
    {
        double size;
        Qt::MouseButton mouse;
        double after;
    } rows[] = {{32, Qt::LeftButton, 32}, {10, Qt::RightButton, 8}, {9, Qt::RightButton, 9}};
    for (const auto &r : rows) {
        setTextSize(r.size);
        if (r.mouse == Qt::LeftButton)
            click("FontSize");
        else
            release("FontSize", r.mouse);
        EXPECT_DOUBLE_EQ(chart().TextFont(60).pointSize, r.after) << r.size;
        EXPECT_EQ(undoSteps(), r.after == r.size ? 0 : 1) << r.size;
    }
    // Shift+Space is the right button for the keyboard.
    setTextSize(10);
    QKeyEvent shiftSpace(QEvent::KeyPress, Qt::Key_Space, Qt::ShiftModifier);
    QApplication::sendEvent(control("FontSize"), &shiftSpace);
    EXPECT_DOUBLE_EQ(chart().TextFont(60).pointSize, 8);

    click("FontSizeReset");
    EXPECT_EQ(chart().TextFont(60).pointSize, 11);
    EXPECT_EQ(chart().TextFont(57).pointSize, 8);
    EXPECT_EQ(chart().TextFont(55).pointSize, 14);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << "a refused size is no message";
}

TEST_F(OptionsWindowFixture, GapAndDepthBoxesClampOnEnterFocusLossAndDoubleClick)
{
    const struct
    {
        const char *box;
        const char *scroll;
        const char *text;
        int key;
        const char *shown;
    } rows[] = {
        {"xGapText", "VScroll1", "150", Qt::Key_Return, "100"},
        {"xGapText", "VScroll1", "-5", 0, "0"},
        {"depthText", "VScroll2", "1500", Qt::Key_Return, "999"},
        {"depthText", "VScroll2", "abc", 0, "0"},
        {"depthText", "VScroll2", "120", Qt::Key_Return, "120"},
    };
    for (const auto &r : rows) {
        type(r.box, QString::fromLatin1(r.text), r.key);
        EXPECT_EQ(control<QLineEdit>(r.box)->text(), QString::fromLatin1(r.shown)) << r.text;
        EXPECT_EQ(control<QScrollBar>(r.scroll)->value(), QByteArray(r.shown).toInt()) << r.text;
        const int inChart =
            QByteArray(r.box) == "xGapText" ? chart().PointGap() : chart().Depth3D();
        EXPECT_EQ(inChart, QByteArray(r.shown).toInt()) << r.text;
    }
    auto *gap = control<QLineEdit>("xGapText");
    gap->setText(QStringLiteral("33"));
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(gap, &dbl);
    EXPECT_EQ(chart().PointGap(), 33);
}

TEST_F(OptionsWindowFixture, TheScrollBarMovesTheChartToo)
{
    control<QScrollBar>("VScroll1")->setValue(40);
    EXPECT_EQ(control<QLineEdit>("xGapText")->text(), QStringLiteral("40"));
    EXPECT_EQ(chart().PointGap(), 40);
    control<QScrollBar>("VScroll2")->setValue(300);
    EXPECT_EQ(chart().Depth3D(), 300);
    EXPECT_EQ(undoSteps(), 2);
    undo();
    EXPECT_EQ(chart().Depth3D(), 50);
    EXPECT_EQ(control<QScrollBar>("VScroll2")->value(), 50) << "the bar follows the undo";
    EXPECT_EQ(control<QLineEdit>("depthText")->text(), QStringLiteral("50"));
}

TEST_F(OptionsWindowFixture, HidingXLabelsTwiceInARowLeavesThemHidden)
{
    const struct
    {
        const char *box;
        quint32 bit;
    } boxes[] = {{"SSCheck_CL_HIDEXLEG", chartview::AxisHideXLabels},
                 {"SSCheck_CL_HIDEYLEG", chartview::AxisHideYLabels},
                 {"SSRibbon3", chartview::AxisVerticalXLabels},
                 {"SSRibbon2", chartview::AxisRightLabels}};
    for (const auto &b : boxes) {
        for (bool expected : {true, false, true}) {
            click(b.box);
            EXPECT_EQ(control(b.box)->isChecked(), expected) << b.box;
            EXPECT_EQ(bool(chart().AxisBits() & b.bit), expected) << b.box;
        }
        undo();
        EXPECT_FALSE(control(b.box)->isChecked()) << b.box << ": the box follows the undo";
        EXPECT_FALSE(chart().AxisBits() & b.bit) << b.box;
    }
}

TEST_F(OptionsWindowFixture, AutomaticRotationStopsAtASecondClickOrAManualTurn)
{
    const struct
    {
        const char *start;
        const char *stop;
        int stepsAfterStop; // the manual turn is one of its own
    } rows[] = {{"SSCommandRotate_2", "SSCommandRotate_2", 0},
                {"SSCommandRotate_3", "SSCommandRotate_2", 0},
                {"SSCommandRotate_2", "SSCommandRotate_0", 1},
                {"SSCommandRotate_3", "SSCommandRotate_1", 1}};
    for (const auto &r : rows) {
        window->document().resetHistory();
        speechLog.clear();
        click(r.start);
        EXPECT_TRUE(control(r.start)->isChecked()) << r.start << ": down while it runs";
        EXPECT_EQ(speechLog,
                  QStringList{QStringLiteral("voiceSpeak 回転の停止は、再度クリックします")});
        timer.fire();
        timer.fire();
        EXPECT_EQ(window->options().autoStepsDone(), 3);
        click(r.stop);
        EXPECT_EQ(window->options().autoRotation(), -1) << r.start << " " << r.stop;
        EXPECT_FALSE(timer.isActive());
        EXPECT_FALSE(control("SSCommandRotate_2")->isChecked());
        EXPECT_FALSE(control("SSCommandRotate_3")->isChecked());
        EXPECT_EQ(undoSteps(), 1 + r.stepsAfterStop) << r.start << " " << r.stop;
    }
}

TEST_F(OptionsWindowFixture, TheWholeAutomaticRotationIsOneUndoStepAndTheWindowAnswersMeanwhile)
{
    const chartview::ChartModel before = chart().model();
    click("SSCommandRotate_3");
    for (int i = 0; i < 10; ++i)
        timer.fire();
    // The window is free between the steps: another control works at once.
    click("SSCmdThickWall");
    EXPECT_EQ(chart().WallWidth(), 8);
    EXPECT_EQ(window->options().autoRotation(), 3) << "the rotation goes on";
    while (timer.fire()) {
    }
    EXPECT_EQ(window->options().autoStepsDone(), 48);
    EXPECT_EQ(window->options().autoRotation(), -1);
    // The change made meanwhile stands between the turns before and after it.
    QUndoStack &stack = window->document().undoStack();
    ASSERT_EQ(stack.count(), 3);
    EXPECT_EQ(stack.text(0), QStringLiteral("自動回転"));
    EXPECT_EQ(stack.text(2), QStringLiteral("自動回転"));
    undo();
    EXPECT_EQ(chart().WallWidth(), 8);
    undo();
    undo();
    EXPECT_EQ(chart().model(), before);

    // Without anything between, the 48 turns are one step.
    window->document().resetHistory();
    click("SSCommandRotate_2");
    while (timer.fire()) {
    }
    EXPECT_EQ(stack.count(), 1);
}

TEST_F(OptionsWindowFixture, TheRealTimerWaitsHalfASecondWithoutHoldingTheWindow)
{
    // With the window's own timer, a click returns at once; the next step is a queued wait.
    test::FakeDialogs otherDialogs;
    MainWindow own{{state, settings, otherDialogs, starter, speech}};
    own.chart1().setViewAngles(30);
    own.findChild<QAbstractButton *>(QStringLiteral("SSCommandRotate_2"))->click();
    EXPECT_EQ(own.options().autoStepsDone(), 1);
    EXPECT_EQ(own.options().autoRotation(), 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(own.options().autoStepsDone(), 1) << "the next step waits for its time";
    own.options().stopAutoRotation();
}

TEST_F(OptionsWindowFixture, WallOnlyChartAndTrackMouseSwitchBackAndForth)
{
    click("SSCmdThickWall");
    EXPECT_EQ(chart().WallWidth(), 8);
    click("SSCmdThickWall");
    EXPECT_EQ(chart().WallWidth(), 1);
    const quint32 layout = chart().LayoutBits();
    click("SSCmdhartOnly");
    EXPECT_EQ(chart().LayoutBits(), layout ^ chartview::LayoutPlotOnly);
    click("Check2");
    EXPECT_EQ(chart().model().cursorMode, 2);
    EXPECT_FALSE(chart().ChartType() & chartview::TypeShowMarkers);
    undo();
    EXPECT_FALSE(control("Check2")->isChecked()) << "the box follows the undo";
    EXPECT_TRUE(chart().ChartType() & chartview::TypeShowMarkers);
}

TEST_F(OptionsWindowFixture, OverlaysBeepOnBadNumbersAndDrawOnGoodOnes)
{
    auto *series = control<QLineEdit>("Text1");
    auto *point = control<QLineEdit>("Text2");
    auto *chart1 = window->chartWidget1();
    const struct
    {
        const char *button;
        const char *series;
        const char *point;
        bool drawn;
    } rows[] = {
        {"SSCmdVertConst", "", "0", false},   {"SSCmdVertConst", "", "3", true},
        {"SSCmdVertConst", "", "x", false},   {"SSCmdPointArrow", "2", "3", true},
        {"SSCmdPointArrow", "0", "3", false}, {"SSCmdPointArrow", "9", "3", false},
    };
    for (const auto &r : rows) {
        chart().Refresh();
        dialogs.beeps = 0;
        typeInto(series, QString::fromLatin1(r.series));
        typeInto(point, QString::fromLatin1(r.point));
        EXPECT_EQ(point->text(), QString::fromLatin1(r.point));
        click(r.button);
        EXPECT_EQ(chart1->chart().overlay() != nullptr, r.drawn) << r.button << " " << r.point;
        EXPECT_EQ(dialogs.beeps, r.drawn ? 0 : 1) << r.button << " " << r.point;
    }
    click("SSCmdThickWall");
    EXPECT_EQ(chart1->chart().overlay(), nullptr) << "gone at the next redraw";

    // Resting on a point puts its value into the "Value:" box; the drawings then go to that
    // point, until a number is typed into the box.
    window->resize(1100, 700);
    QCoreApplication::processEvents();
    chart1->repaint();
    const qint32 packed =
        chart().ChartQuery(chartview::QueryPointPosition, chartview::MakeLong(1, 4));
    const qint16 x = chartview::LowWordOf(packed);
    const QPoint at(x, (packed - x) / 65536);
    chart1->moveTo(at);
    ASSERT_EQ(series->text(), QStringLiteral("2"));
    ASSERT_NE(point->text(), QStringLiteral("5"));
    click("SSCmdPointArrow");
    ASSERT_NE(chart1->chart().overlay(), nullptr);
    EXPECT_LE((chart1->chart().overlay()->boundingRect().bottomRight() - at).manhattanLength(), 2)
        << "the arrow ends at the point the mouse rested on";
    typeInto(point, QStringLiteral("0"));
    dialogs.beeps = 0;
    click("SSCmdVertConst");
    EXPECT_EQ(dialogs.beeps, 1) << "a typed number wins";

    dialogs.beeps = 0;
    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(series, &in);
    EXPECT_EQ(dialogs.beeps, 1) << "the point boxes beep when they take the focus";
}

TEST_F(OptionsWindowFixture, TheChartSwitchShowsChart2AndItsWhitePrintButton)
{
    const QString title = window->chart2().TitleCaption(2);
    const struct
    {
        bool chart2;
    } presses[] = {{true}, {false}, {true}};
    for (const auto &p : presses) {
        click("SSCmdChart");
        EXPECT_EQ(window->chartWidget2()->isVisible(), p.chart2);
        EXPECT_EQ(window->chartWidget1()->isVisible(), !p.chart2);
        EXPECT_EQ(control<QWidget>("SSprnWhite_2")->isVisible(), p.chart2);
        EXPECT_EQ(control<QWidget>("SSprnWhite_1")->isVisible(), !p.chart2);
        EXPECT_EQ(window->chart2Visible(), p.chart2);
    }
    EXPECT_EQ(window->chart2().TitleCaption(2), title) << "the chart's options are read again";
    EXPECT_EQ(undoSteps(), 0) << "switching charts is no edit";
}

TEST_F(OptionsWindowFixture, TheOptionsButtonOpensTheSettingsWindowOnce)
{
    click("SScmdQEL");
    settings::Form2 *form2 = window->settingsWindow();
    ASSERT_NE(form2, nullptr);
    EXPECT_TRUE(form2->isVisible());
    click("SScmdQEL");
    EXPECT_EQ(window->findChildren<settings::Form2 *>().size(), 1);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(OptionsWindowFixture, TheLegendFontComesFromItsDialogueAndCancelKeepsIt)
{
    auto *legend = control<QPlainTextEdit>("txtLegend");
    shell::LegendFontChoice offered;
    std::optional<shell::LegendFontChoice> answer;
    window->setLegendFontChooser([&](const shell::LegendFontChoice &current) {
        offered = current;
        return answer;
    });
    const QFont before = legend->font();
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(legend->viewport(), &dbl);
    EXPECT_EQ(offered.font, before);
    EXPECT_EQ(legend->font(), before) << "cancel changes nothing";

    QFont chosen(QStringLiteral("IPAPMincho"));
    chosen.setPointSize(15);
    chosen.setItalic(true);
    chosen.setStrikeOut(true);
    answer = shell::LegendFontChoice{chosen, QColor(200, 0, 0)};
    QApplication::sendEvent(legend->viewport(), &dbl);
    EXPECT_EQ(legend->font().pointSize(), 15);
    EXPECT_TRUE(legend->font().italic());
    EXPECT_TRUE(legend->font().strikeOut());
    EXPECT_EQ(legend->palette().color(QPalette::Text), QColor(200, 0, 0));
}

TEST_F(OptionsWindowFixture, TheStatusBarShowsTheHoveredPointAndHints)
{
    window->resize(1100, 700);
    QCoreApplication::processEvents();
    chartview::ChartWidget *chart1 = window->chartWidget1();
    chart1->repaint();
    const qint32 packed =
        chart().ChartQuery(chartview::QueryPointPosition, chartview::MakeLong(0, 2));
    const qint16 x = chartview::LowWordOf(packed);
    chart1->moveTo(QPoint(x, (packed - x) / 65536));
    auto *hovered = window->statusBar()->findChild<QLabel *>(QStringLiteral("hoveredPoint"));
    ASSERT_NE(hovered, nullptr);
    EXPECT_TRUE(hovered->text().startsWith(QStringLiteral("Beef / ")))
        << qPrintable(hovered->text());
    chart1->moveTo(QPoint(2, 2));
    EXPECT_TRUE(hovered->text().isEmpty());
    EXPECT_TRUE(control<QWidget>("FontSize")->statusTip().contains(QStringLiteral("Shift+Space")));
}

TEST_F(OptionsWindowFixture, EveryOptionControlActsWithoutAMessage)
{
    const char *working[] = {"SSCmdChart",
                             "SScmdQEL",
                             "SSCmdVertConst",
                             "SSCmdPointArrow",
                             "SSCmdThick2Dlines_0",
                             "SSCmdThick2Dlines_1",
                             "SSCmdThickWall",
                             "SSCmdhartOnly",
                             "FontSize",
                             "FontSizeReset",
                             "SSCommandRotate_0",
                             "SSCommandRotate_1",
                             "SSRibbon2",
                             "SSRibbon3",
                             "SSCheck_CL_HIDEXLEG",
                             "Check2"};
    control<QLineEdit>("Text1")->setText(QStringLiteral("1"));
    control<QLineEdit>("Text2")->setText(QStringLiteral("1"));
    for (const char *name : working) {
        click(name);
        if (QByteArray(name) == "SSCmdChart")
            click(name);
        EXPECT_TRUE(dialogs.messages.isEmpty())
            << name << ": " << qPrintable(dialogs.messageTexts().join(QLatin1Char('\n')));
    }
}
