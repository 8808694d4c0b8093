#include "FakeForm.h"
#include "ManualTimer.h"

#include "chartdoc/ChartDocument.h"
#include "chartdoc/SampleChart.h"
#include "chartview/CfxOcx.h"
#include "chartview/render/ChartControl.h"
#include "os/MessageWindow.h"
#include "shell/ChartOptionControls.h"
#include "support/FakeDialogs.h"

#include <gtest/gtest.h>

#include <functional>

using namespace qel;
using namespace qel::chartview;
using shell::ChartOptionControls;

namespace {

struct SilentMessages : os::MessageWindow
{
    void frmMsgShow(const QString &, const QString &) override {}
    void hide() override {}
    void sendToBack() override {}
};

struct OptionsFixture : ::testing::Test
{
    ChartControl chart;
    test::FakeDialogs dialogs;
    SilentMessages messages;
    chartdoc::ChartDocument document{chart, dialogs, messages};
    QStringList speechLog;
    test::RecordingSpeech speech{speechLog};
    test::ManualTimer timer;
    int gradientOffs = 0;
    ChartOptionControls options{{document, speech, dialogs, timer}};

    OptionsFixture()
    {
        chartdoc::fillSampleChart(chart);
        chart.setViewSize(QSize(640, 400));
        options.setGradientOff([this] { ++gradientOffs; });
    }

    QUndoStack &undo() { return document.undoStack(); }
    int rotation() const { return chart.model().rotation(); }
    void setTextSize(double size)
    {
        for (int member = 55; member <= 60; ++member) {
            ChartFontSpec font = chart.TextFont(member);
            font.pointSize = size;
            chart.setTextFont(member, font);
        }
    }
};

} // namespace

TEST(ChartOptionControls, LineWidthsWrapAtBothEnds)
{
    const struct
    {
        qint16 width;
        int step;
        qint16 next;
    } rows[] = {
        {21, 2, 1},   {1, -2, 22}, {1, 2, 3},  {20, 2, 22}, {22, 2, 1},
        {22, -2, 20}, {2, -2, 1},  {3, -2, 1}, {0, -2, 22}, {0, 2, 2},
    };
    for (const auto &r : rows)
        EXPECT_EQ(ChartOptionControls::nextLineWidth(r.width, r.step), r.next)
            << r.width << " step " << r.step;

    // The whole round of each button.
    QList<qint16> left, right;
    for (qint16 w = 1; left.size() < 11;)
        left << (w = ChartOptionControls::nextLineWidth(w, 2));
    for (qint16 w = 1; right.size() < 12;)
        right << (w = ChartOptionControls::nextLineWidth(w, -2));
    EXPECT_EQ(left, (QList<qint16>{3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 1}));
    EXPECT_EQ(right, (QList<qint16>{22, 20, 18, 16, 14, 12, 10, 8, 6, 4, 2, 1}));
}

TEST(ChartOptionControls, RotationWrapsBetweenZeroAnd360)
{
    const struct
    {
        double angle;
        double wrapped;
    } rows[] = {{-7.5, 360}, {367.5, 0}, {360, 360}, {0, 0}, {352.5, 352.5}};
    for (const auto &r : rows)
        EXPECT_EQ(ChartOptionControls::wrapAngle(r.angle), r.wrapped) << r.angle;
}

TEST(ChartOptionControls, BoxNumbersAreClampedAndRounded)
{
    const struct
    {
        const char *text;
        qint16 maximum;
        qint16 value;
    } rows[] = {
        {"150", 100, 100},   {"-5", 100, 0},      {"abc", 100, 0},    {"", 100, 0},
        {"12.5", 100, 12},   {"13.5", 100, 14},   {"40xyz", 100, 40}, {"1500", 999, 999},
        {"998.7", 999, 999}, {"99999", 999, 999},
    };
    for (const auto &r : rows)
        EXPECT_EQ(ChartOptionControls::boxNumber(QString::fromLatin1(r.text), r.maximum), r.value)
            << r.text;
}

TEST_F(OptionsFixture, LineButtonsSetTheirLinesAndTheSpareDoesNothing)
{
    chart.setLineWidth(0, 21);
    chart.setLineWidth(1, 21);
    chart.setLineWidth(2, 1);
    document.resetHistory();
    EXPECT_EQ(options.thickLines(1, Qt::LeftButton), 1);
    EXPECT_EQ(chart.LineWidth(0), 1);
    EXPECT_EQ(chart.LineWidth(1), 1);
    EXPECT_EQ(options.thickLines(0, Qt::RightButton), 22);
    EXPECT_EQ(chart.LineWidth(2), 22);
    EXPECT_EQ(chart.LineWidth(0), 1) << "the grid button leaves the data lines";
    EXPECT_EQ(options.thickLines(0, Qt::MiddleButton), 1) << "any other button widens";
    EXPECT_EQ(undo().count(), 3);

    EXPECT_EQ(options.thickLines(2, Qt::LeftButton), 0);
    EXPECT_EQ(undo().count(), 3) << "the third button records nothing";
}

TEST_F(OptionsFixture, ManualRotationTurnsFromZeroBothWays)
{
    options.rotate(1);
    EXPECT_EQ(options.angle(), 360) << "0 - 7.5 wraps to 360, not -7.5";
    EXPECT_EQ(rotation(), 360);
    EXPECT_TRUE(chart.model().view3D);
    EXPECT_EQ(chart.model().elevation(), 30);
    options.rotate(0);
    EXPECT_EQ(options.angle(), 0) << "360 + 7.5 wraps to 0";
    options.rotate(0);
    EXPECT_EQ(options.angle(), 7.5);
    EXPECT_EQ(rotation(), 8) << "a half degree rounds to even";
    options.rotate(0);
    EXPECT_EQ(rotation(), 15);
    EXPECT_EQ(gradientOffs, 4) << "every step stops the painted background";
    EXPECT_EQ(undo().count(), 4);
    EXPECT_TRUE(speechLog.isEmpty());
}

TEST_F(OptionsFixture, AutomaticRotationRuns48HalfSecondStepsAsOneUndoStep)
{
    const ChartModel before = chart.model();
    options.rotate(2);
    EXPECT_EQ(speechLog,
              QStringList{QStringLiteral("voiceSpeak ") + ChartOptionControls::autoRotationHint()});
    EXPECT_EQ(options.autoRotation(), 2);
    EXPECT_EQ(options.autoStepsDone(), 1) << "the first step comes at once";
    EXPECT_EQ(timer.waited, 500);
    int fired = 0;
    while (timer.fire())
        ++fired;
    EXPECT_EQ(fired, 48) << "47 waits between the steps and one after the last";
    EXPECT_EQ(options.autoStepsDone(), 48);
    EXPECT_EQ(options.angle(), 360);
    EXPECT_EQ(options.autoRotation(), -1);
    EXPECT_EQ(undo().count(), 1);
    EXPECT_EQ(undo().undoText(), QStringLiteral("自動回転"));
    undo().undo();
    EXPECT_EQ(chart.model(), before);
    EXPECT_EQ(options.angle(), 0) << "the angle follows the chart back";
    undo().redo();
    EXPECT_EQ(rotation(), 360);
}

TEST_F(OptionsFixture, ASecondClickStopsTheAutomaticRotation)
{
    for (int second : {2, 3}) {
        options.rotate(3);
        timer.fire();
        timer.fire();
        ASSERT_EQ(options.autoStepsDone(), 3);
        const int angle = rotation();
        options.rotate(second);
        EXPECT_EQ(options.autoRotation(), -1) << second;
        EXPECT_FALSE(timer.isActive());
        EXPECT_EQ(rotation(), angle) << "stopping makes no further step";
    }
    EXPECT_EQ(options.angle(), 360 - 5 * 7.5) << "3 steps right from 0, then 3 from there";
    EXPECT_EQ(speechLog.size(), 2) << "the hint is spoken when a rotation starts only";
    EXPECT_EQ(undo().count(), 2) << "one step per rotation";
}

TEST_F(OptionsFixture, AManualTurnStopsTheAutomaticRotationAndIsAStepOfItsOwn)
{
    const ChartModel before = chart.model();
    options.rotate(2);
    timer.fire();
    ASSERT_EQ(options.angle(), 15);
    options.rotate(1);
    EXPECT_EQ(options.autoRotation(), -1);
    EXPECT_FALSE(timer.isActive());
    EXPECT_EQ(options.angle(), 7.5);
    ASSERT_EQ(undo().count(), 2);
    undo().undo();
    EXPECT_EQ(rotation(), 15);
    undo().undo();
    EXPECT_EQ(chart.model(), before);

    // Without a rotation running, a manual turn leaves the next automatic one whole.
    options.rotate(0);
    options.rotate(2);
    EXPECT_TRUE(timer.fire());
    EXPECT_EQ(options.autoRotation(), 2);
}

TEST_F(OptionsFixture, AnUndoOrALoadDuringTheRotationStopsIt)
{
    options.rotate(0);
    options.rotate(2);
    timer.fire();
    undo().undo();
    EXPECT_EQ(options.autoRotation(), -1);
    EXPECT_FALSE(timer.isActive());
    EXPECT_EQ(options.angle(), 7.5) << "back to the manual turn";
}

TEST_F(OptionsFixture, TextSizeKeepsWithin8And38)
{
    const struct
    {
        double size;
        Qt::MouseButton button;
        bool done;
        double after;
    } rows[] = {
        {32, Qt::LeftButton, false, 32},  // 38.4 > 38
        {31, Qt::LeftButton, true, 37.2}, //
        {10, Qt::RightButton, true, 8},   // 8.0 is allowed
        {9, Qt::RightButton, false, 9},   // 7.2 < 8
        {11, Qt::LeftButton, true, 13.2}, //
    };
    for (const auto &r : rows) {
        setTextSize(r.size);
        document.resetHistory();
        EXPECT_EQ(options.fontSize(r.button), r.done) << r.size;
        for (int member : {55, 56, 58, 59, 60})
            EXPECT_DOUBLE_EQ(chart.TextFont(member).pointSize, r.after) << r.size << " " << member;
        EXPECT_DOUBLE_EQ(chart.TextFont(57).pointSize, r.size) << "the top title keeps its size";
        EXPECT_EQ(undo().count(), r.done ? 1 : 0);
    }
}

TEST_F(OptionsFixture, SmallerTextNarrowsTheSpacingAndTheGap)
{
    setTextSize(11);
    chart.setPointGap(0);
    ASSERT_EQ(chart.Spacing(5), 6);
    options.fontSize(Qt::RightButton);
    EXPECT_EQ(chart.Spacing(5), 5);
    EXPECT_EQ(chart.Spacing(8), 5);
    EXPECT_EQ(chart.PointGap(), 26) << "a gap of 0 counts as 30; 25.5 rounds to even";
    EXPECT_EQ(document.controls().gapText, QStringLiteral("26"));
    options.fontSize(Qt::LeftButton);
    EXPECT_EQ(chart.PointGap(), 26) << "larger text keeps the spacing";
}

TEST_F(OptionsFixture, TextSizeResetGivesTheSixFirstSizes)
{
    setTextSize(20);
    options.fontSizeReset();
    const double sizes[] = {14, 14, 8, 14, 11, 11}; // members 55..60
    for (int member = 55; member <= 60; ++member)
        EXPECT_EQ(chart.TextFont(member).pointSize, sizes[member - 55]) << member;
}

TEST_F(OptionsFixture, GapAndDepthBoxesAreClampedIntoTheChartAndTheBoxes)
{
    const struct
    {
        bool gap;
        const char *text;
        qint16 value;
    } rows[] = {{true, "150", 100},   {true, "-5", 0}, {true, "40", 40},
                {false, "1500", 999}, {false, "x", 0}, {false, "120", 120}};
    for (const auto &r : rows) {
        const QString text = QString::fromLatin1(r.text);
        if (r.gap) {
            options.applyGap(text);
            EXPECT_EQ(chart.PointGap(), r.value) << r.text;
            EXPECT_EQ(document.controls().gapText, QString::number(r.value)) << r.text;
        } else {
            options.applyDepth(text);
            EXPECT_EQ(chart.Depth3D(), r.value) << r.text;
            EXPECT_EQ(document.controls().depthText, QString::number(r.value)) << r.text;
        }
    }
    EXPECT_EQ(undo().count(), 6);
    options.applyGap(QStringLiteral("40"));
    EXPECT_EQ(undo().count(), 6) << "the same value again is no step";
}

TEST_F(OptionsFixture, AScrollBarDragIsOneStep)
{
    const ChartModel before = chart.model();
    for (int v : {10, 20, 30})
        options.dragGap(v);
    options.endDrag();
    EXPECT_EQ(chart.PointGap(), 30);
    EXPECT_EQ(undo().count(), 1);
    options.dragGap(40);
    options.dragDepth(200);
    options.dragDepth(300);
    options.endDrag();
    EXPECT_EQ(undo().count(), 3) << "a new drag, and another box, start new steps";
    undo().undo();
    undo().undo();
    EXPECT_EQ(chart.PointGap(), 30);
    undo().undo();
    EXPECT_EQ(chart.model(), before);

    // An undo between two moves of one drag does not let the second join an undone step.
    options.dragGap(50);
    undo().undo();
    undo().redo();
    options.dragGap(60);
    options.endDrag();
    undo().undo();
    EXPECT_EQ(chart.PointGap(), 50);
}

TEST_F(OptionsFixture, EveryKindOfChangeUndoesToTheChartBefore)
{
    const struct
    {
        const char *what;
        std::function<void()> change;
    } rows[] = {
        {"line width", [this] { options.thickLines(1, Qt::LeftButton); }},
        {"grid width", [this] { options.thickLines(0, Qt::RightButton); }},
        {"wall", [this] { options.thickWall(); }},
        {"only chart", [this] { options.onlyChart(); }},
        {"ribbon 2", [this] { options.setRibbon2(true); }},
        {"rotation", [this] { options.rotate(0); }},
        {"text size", [this] { options.fontSize(Qt::LeftButton); }},
        {"text size reset", [this] { options.fontSizeReset(); }},
        {"gap", [this] { options.applyGap(QStringLiteral("77")); }},
        {"depth", [this] { options.applyDepth(QStringLiteral("300")); }},
        {"track mouse", [this] { options.trackMouse(true); }},
    };
    setTextSize(12);
    for (const auto &r : rows) {
        document.resetHistory();
        const ChartModel before = chart.model();
        r.change();
        EXPECT_NE(chart.model(), before) << r.what;
        ASSERT_EQ(undo().count(), 1) << r.what;
        undo().undo();
        EXPECT_EQ(chart.model(), before) << r.what;
        undo().redo();
        EXPECT_NE(chart.model(), before) << r.what;
    }
}

TEST_F(OptionsFixture, SwitchesSetTheirBits)
{
    options.thickWall();
    EXPECT_EQ(chart.WallWidth(), 8);
    options.thickWall();
    EXPECT_EQ(chart.WallWidth(), 1);
    chart.setWallWidth(3);
    options.thickWall();
    EXPECT_EQ(chart.WallWidth(), 1) << "anything but 1 becomes 1";

    const quint32 layout = chart.LayoutBits();
    options.onlyChart();
    EXPECT_EQ(chart.LayoutBits(), layout | LayoutPlotOnly);
    options.onlyChart();
    EXPECT_EQ(chart.LayoutBits(), layout);

    options.setRibbon2(true);
    EXPECT_TRUE(chart.AxisBits() & AxisRightLabels);
    EXPECT_TRUE(options.ribbon2());
    options.setRibbon2(false);
    EXPECT_FALSE(chart.AxisBits() & AxisRightLabels);

    options.trackMouse(true);
    EXPECT_EQ(chart.model().cursorMode, 2);
    EXPECT_FALSE(chart.ChartType() & TypeShowMarkers);
    EXPECT_TRUE(chart.ChartType() & TypeTrackMouse);
    options.trackMouse(false);
    EXPECT_EQ(chart.model().cursorMode, 1);
    EXPECT_TRUE(chart.ChartType() & TypeShowMarkers);
    EXPECT_FALSE(chart.ChartType() & TypeTrackMouse);
}

TEST_F(OptionsFixture, OverlaysBeepOnNumbersThatNameNoPointAndVanishAtTheNextChange)
{
    const struct
    {
        const char *series;
        const char *point;
        bool drawn;
    } rows[] = {
        {"1", "1", true},   {"5", "12", true},           {"0", "1", false}, {"1", "0", false},
        {"", "", false},    {"x", "2", false},           {"6", "1", false}, {"1", "13", false},
        {"-1", "3", false}, {"1", "99999999999", false},
    };
    for (const auto &r : rows) {
        dialogs.beeps = 0;
        chart.Refresh();
        ASSERT_EQ(chart.overlay(), nullptr);
        const QString s = QString::fromLatin1(r.series), p = QString::fromLatin1(r.point);
        EXPECT_EQ(options.drawPointArrow(s, p), r.drawn) << r.series << "," << r.point;
        EXPECT_EQ(chart.overlay() != nullptr, r.drawn) << r.series << "," << r.point;
        EXPECT_EQ(dialogs.beeps, r.drawn ? 0 : 1) << r.series << "," << r.point;
    }
    for (const char *point : {"1", "12", "0", "13", "abc"}) {
        chart.Refresh();
        const bool good = QByteArray(point) == "1" || QByteArray(point) == "12";
        EXPECT_EQ(options.drawVerticalLine(QString::fromLatin1(point)), good) << point;
        EXPECT_EQ(chart.overlay() != nullptr, good) << point;
    }
    EXPECT_FALSE(chart.ErrorPending());
    options.thickWall();
    EXPECT_EQ(chart.overlay(), nullptr) << "the next drawing of the chart removes it";
    EXPECT_EQ(undo().count(), 1) << "drawings over the chart are no edits";
}
