#include "shell/Form3State.h"
#include "chartdoc/ChartDocument.h"
#include "chartview/render/ChartControl.h"
#include "slides/MessageLog.h"
#include "support/FakeDialogs.h"

#include <QUndoStack>

#include <gtest/gtest.h>

#include <functional>

using namespace qel;
using namespace qel::chartview;

namespace {

constexpr Rgb White = rgb(255, 255, 255);

// A chart of `groups` series of four points; with `users` set, the last series are the
// regression companions of the first `users`.
struct Form3Fixture : ::testing::Test
{
    ChartControl chart;
    test::FakeDialogs dialogs;
    slides::MessageLog messages;
    chartdoc::ChartDocument document{chart, dialogs, messages};
    std::unique_ptr<shell::Form3State> state;

    void makeChart(int groups, int users = 0)
    {
        chart.setViewSize(QSize(480, 320));
        chart.BeginDataLoad(ChannelValues, qint16(groups), 4);
        for (int s = 0; s < groups; ++s) {
            chart.setSeriesCaption(qint16(s), QStringLiteral("系列%1").arg(s + 1));
            chart.setActiveSeries(qint16(s));
            for (int p = 0; p < 4; ++p)
                chart.setValueY(p, 10 * s + p);
        }
        chart.EndDataLoad(ChannelValues);
        document.colorGroupCount() = qint16(users);
        state = std::make_unique<shell::Form3State>(document);
        state->setRandom([] { return 0.5; });
    }
    Rgb colorOf(int group) const { return chart.model().seriesColor(group - 1); }
};

} // namespace

TEST_F(Form3Fixture, BackgroundButtonsSetTheGradientAndTheBackColours)
{
    makeChart(3);
    const BackgroundGradient start{true, GradientVertical, rgb(255, 255, 128), rgb(0, 255, 255)};
    struct Case
    {
        int kind;
        bool on;
        Rgb backA, backB, backC; // what the chart shows after the click
    } cases[] = {
        {GradientBox, true, rgb(0, 192, 192), NoColor, NoColor},
        {GradientTwoWay, true, rgb(0, 192, 192), NoColor, NoColor}, // no back colours change
        {GradientNone, false, rgb(0, 192, 192), White, White},
        {GradientVertical, true, rgb(0, 192, 192), White, White},
    };
    chart.setBackgroundGradient(start);
    chart.setBackColorA(rgb(1, 2, 3));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.kind);
        const int steps = document.undoStack().count();
        state->SSRibbon_Click(c.kind);
        const BackgroundGradient g = chart.backgroundGradient();
        EXPECT_EQ(g.on, c.on);
        EXPECT_EQ(g.kind, c.kind);
        EXPECT_EQ(g.color1, start.color1) << "the colours stay";
        if (c.kind == GradientNone) {
            EXPECT_EQ(chart.model().backColorA, c.backA);
        }
        EXPECT_EQ(chart.model().backColorB, c.backB);
        EXPECT_EQ(chart.model().backColorC, c.backC);
        EXPECT_EQ(document.undoStack().count(), steps + 1) << "one step per click";
    }
}

TEST_F(Form3Fixture, GradientColourBoxesTakeTheDialoguesChoiceOrKeepTheirColour)
{
    makeChart(2);
    chart.setBackgroundGradient({true, GradientVertical, rgb(255, 255, 128), rgb(0, 255, 255)});
    state->Picture_Click(2); // cancelled
    EXPECT_EQ(chart.backgroundGradient().color2, rgb(0, 255, 255));
    EXPECT_EQ(dialogs.colorDialogs.value(0), rgb(0, 255, 255)) << "starts at the current colour";
    EXPECT_EQ(document.undoStack().count(), 0) << "a cancelled dialogue changes nothing";

    dialogs.colorChoices = {rgb(10, 20, 30)};
    state->Picture_Click(1);
    EXPECT_EQ(chart.backgroundGradient().color1, rgb(10, 20, 30));
    EXPECT_EQ(document.undoStack().count(), 1);
    document.undoStack().undo();
    EXPECT_EQ(chart.backgroundGradient().color1, rgb(255, 255, 128));
}

TEST_F(Form3Fixture, TheRampFromFiveToTwoIsTheRampFromTwoToFive)
{
    makeChart(6);
    const auto rampOver = [&](const QString &a, const QString &b) {
        state->setGroupText(0, a);
        state->setGroupText(1, b);
        state->CmdSerColor_Click();
        std::vector<Rgb> colors;
        for (int g = 1; g <= 6; ++g)
            colors.push_back(colorOf(g));
        return colors;
    };
    const std::vector<Rgb> forward = rampOver(QStringLiteral("2"), QStringLiteral("5"));
    EXPECT_EQ(forward[1], state->seriesColorBox(0));
    EXPECT_EQ(forward[4], state->seriesColorBox(1));
    document.undoStack().undo();
    EXPECT_EQ(rampOver(QStringLiteral("5"), QStringLiteral("2")), forward);
}

TEST_F(Form3Fixture, GroupNumbersAreClampedToTheUserGroups)
{
    makeChart(6, 2); // two user groups and their four companions
    struct Case
    {
        const char *first, *last;
        int wantFirst, wantLast;
    } cases[] = {
        {"1", "7777", 1, 2}, {"0", "2", 1, 2},   {"abc", "", 1, 1},
        {"2", "-5", 1, 2},   {"1.6", "2", 2, 2}, {"１", "２", 1, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.first) + ".." + c.last);
        state->setGroupText(0, QString::fromUtf8(c.first));
        state->setGroupText(1, QString::fromUtf8(c.last));
        EXPECT_EQ(state->groupRange(), std::make_pair(c.wantFirst, c.wantLast));
        state->colGrp_LostFocus();
        EXPECT_EQ(state->groupText(0), QString::number(c.wantFirst)) << "leaving the box";
        EXPECT_EQ(state->groupText(1), QString::number(c.wantLast));
    }
}

TEST_F(Form3Fixture, DoubleClickOnTheFirstGroupGivesItTheFirstColour)
{
    makeChart(4);
    state->setGroupText(0, QStringLiteral("3"));
    state->colGrp0_DblClick();
    EXPECT_EQ(colorOf(3), state->seriesColorBox(0));
    EXPECT_NE(colorOf(2), state->seriesColorBox(0));
    state->setGroupText(0, QStringLiteral("99"));
    state->colGrp0_DblClick();
    EXPECT_EQ(colorOf(4), state->seriesColorBox(0)) << "clamped to the last group";
    EXPECT_FALSE(chart.ErrorPending());
}

TEST_F(Form3Fixture, TheViaColourTakesPartOnlyWhileItIsOn)
{
    makeChart(4);
    dialogs.colorChoices = {rgb(0, 0, 0), rgb(200, 200, 200), rgb(100, 0, 0)};
    for (int i = 0; i < 3; ++i)
        state->PictureSerColor_Click(i);
    state->setGroupText(0, QStringLiteral("1"));
    state->setGroupText(1, QStringLiteral("4"));
    state->CmdSerColor_Click();
    EXPECT_EQ(colorOf(2), rgb(67, 67, 67)) << "a straight ramp from black to light grey";
    state->cmdViaColor_Click();
    ASSERT_TRUE(state->viaColorOn());
    state->CmdSerColor_Click();
    EXPECT_EQ(colorOf(1), rgb(0, 0, 0));
    EXPECT_EQ(colorOf(2), rgb(100, 0, 0));
    EXPECT_EQ(colorOf(3), rgb(150, 100, 100));
    EXPECT_EQ(colorOf(4), rgb(200, 200, 200));
}

TEST_F(Form3Fixture, RandomColoursGoToEveryGroup)
{
    makeChart(7, 3);
    state->cmdRnd_Click();
    for (int g = 1; g <= 7; ++g)
        EXPECT_EQ(colorOf(g), randomGroupColor(g, [] { return 0.5; })) << g;
    EXPECT_EQ(document.undoStack().count(), 1);
}

TEST_F(Form3Fixture, DrawThenCancelRemovesTheConstantsAndBands)
{
    makeChart(2);
    chart.setLayoutBits(272 | LayoutPlotOnly);
    state->setConstantRow(0, {QStringLiteral("12.5"), QStringLiteral("目標")});
    state->setConstantRow(2, {QStringLiteral("x"), QStringLiteral("no number")});
    state->setBandRow(0, {QStringLiteral("1"), QStringLiteral("3"), rgb(1, 2, 3)});
    state->setBandRow(1, {QStringLiteral("5"), QString(), rgb(4, 5, 6)});
    state->setBandRow(3, {QStringLiteral("7"), QStringLiteral("8"), rgb(7, 8, 9)});
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        state->Command1_Click();
        const ChartModel &m = chart.model();
        ASSERT_EQ(m.constants.size(), 4u);
        EXPECT_EQ(m.constants[0], (ConstantLine{12.5, QStringLiteral("目標")}));
        EXPECT_TRUE(isEmptyPoint(m.constants[1].value)) << "an empty row draws no line";
        EXPECT_TRUE(isEmptyPoint(m.constants[2].value)) << "nor does one without a number";
        EXPECT_EQ(m.constants[1].caption, QStringLiteral("Const 2"));
        EXPECT_EQ(m.constantStyle, 3);
        ASSERT_EQ(m.bands.size(), 4u);
        EXPECT_EQ(m.bands[0], (ValueBand{1, 3, rgb(1, 2, 3)})) << "row 1 is the first band";
        EXPECT_EQ(m.bands[1], (ValueBand{5, 5, rgb(4, 5, 6)})) << "an empty till is the from";
        EXPECT_TRUE(isEmptyPoint(m.bands[2].from));
        EXPECT_EQ(m.bands[3], (ValueBand{7, 8, rgb(7, 8, 9)})) << "row 4 has its band too";
        EXPECT_TRUE(state->constantsDrawn());

        state->Command1_Click();
        EXPECT_TRUE(chart.model().constants.empty());
        EXPECT_TRUE(chart.model().bands.empty());
        EXPECT_EQ(chart.LayoutBits(), 1024u | LayoutPlotOnly) << "OnlyChart stays on";
        EXPECT_FALSE(state->constantsDrawn());
    }
    EXPECT_FALSE(chart.ErrorPending());
    EXPECT_EQ(document.undoStack().count(), 4);
}

TEST_F(Form3Fixture, TheToggleFollowsTheChartAfterAnUndo)
{
    makeChart(2);
    state->setConstantRow(0, {QStringLiteral("5"), QString()});
    state->Command1_Click();
    document.undoStack().undo();
    EXPECT_TRUE(chart.model().constants.empty());
    EXPECT_FALSE(state->constantsDrawn()) << "the next click draws again";
    state->Command1_Click();
    EXPECT_EQ(chart.model().constants.size(), 4u);
}

TEST_F(Form3Fixture, PointStyleGridShowsEachUserSeries)
{
    makeChart(6, 2);
    chart.setMarkerStyle(0, 3);
    chart.setMarkerStyle(1, -1);
    chart.setSecondYAxis(1, 1);
    const std::vector<shell::Form3State::PointStyleRow> rows = state->pointStyleRows();
    ASSERT_EQ(rows.size(), 2u) << "one row per user series, none for the companions";
    EXPECT_EQ(rows[0].text, QStringLiteral("1) 系列1"));
    EXPECT_EQ(rows[0].styleColumn, 3);
    EXPECT_FALSE(rows[0].secondY);
    EXPECT_EQ(rows[1].styleColumn, 5) << "no marker";
    EXPECT_TRUE(rows[1].secondY);
    EXPECT_EQ(shell::Form3State::gridHeadings(),
              QStringList({QStringLiteral("# Ser.Legend"), QStringLiteral("□"), QStringLiteral("○"),
                           QStringLiteral("△"), QStringLiteral("◎"), QStringLiteral(")("),
                           QStringLiteral("2ndY")}));
}

TEST_F(Form3Fixture, PointStyleClicksReachTheCompanions)
{
    makeChart(6, 2); // series 0, 1 and their companions 2, 3 (lines) and 4, 5 (SE curves)
    struct Case
    {
        int row, column;
        std::vector<qint16> markers; // of the six series afterwards
        std::vector<qint16> second;
        int beeps;
    } cases[] = {
        {1, 3, {3, 0, 3, 0, 3, 0}, {0, 0, 0, 0, 0, 0}, 0},
        {2, 1, {3, 1, 3, 1, 3, 1}, {0, 0, 0, 0, 0, 0}, 0},
        {2, 5, {3, -1, 3, -1, 3, -1}, {0, 0, 0, 0, 0, 0}, 0},
        {1, 6, {3, -1, 3, -1, 3, -1}, {1, 0, 1, 0, 1, 0}, 1},
        {1, 6, {3, -1, 3, -1, 3, -1}, {0, 0, 0, 0, 0, 0}, 2},
        {1, 0, {3, -1, 3, -1, 3, -1}, {0, 0, 0, 0, 0, 0}, 2}, // the legend column
        {3, 2, {3, -1, 3, -1, 3, -1}, {0, 0, 0, 0, 0, 0}, 2}, // a companion has no row
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message() << c.row << "/" << c.column);
        state->fgPointStyle_Click(c.row, c.column);
        EXPECT_EQ(chart.model().markerStyles, c.markers);
        EXPECT_EQ(chart.model().secondYAxis, c.second);
        EXPECT_EQ(dialogs.beeps, c.beeps);
    }
    EXPECT_EQ(chart.model().defaultMarkerStyle, 0) << "no marker is the row's, not the chart's";
    EXPECT_FALSE(chart.ErrorPending());
}

TEST_F(Form3Fixture, CompanionsThatDoNotExistAreLeftOut)
{
    makeChart(3, 2); // the second user series has no companion
    state->fgPointStyle_Click(2, 4);
    state->fgPointStyle_Click(2, 6);
    EXPECT_EQ(chart.model().markerStyles, (std::vector<qint16>{0, 4, 0}));
    EXPECT_EQ(chart.model().secondYAxis, (std::vector<qint16>{0, 1, 0}));
    EXPECT_FALSE(chart.ErrorPending());
}

TEST_F(Form3Fixture, EveryChangeIsOneUndoStep)
{
    makeChart(4);
    chart.setBackgroundGradient({true, GradientVertical, rgb(255, 255, 128), rgb(0, 255, 255)});
    state->setConstantRow(0, {QStringLiteral("3"), QString()});
    const std::pair<const char *, std::function<void()>> actions[] = {
        {"background", [&] { state->SSRibbon_Click(GradientBox); }},
        {"gradient colour",
         [&] {
             dialogs.colorChoices = {rgb(9, 9, 9)};
             state->Picture_Click(2);
         }},
        {"random colours", [&] { state->cmdRnd_Click(); }},
        {"one group", [&] { state->colGrp0_DblClick(); }},
        {"ramp", [&] { state->CmdSerColor_Click(); }},
        {"draw", [&] { state->Command1_Click(); }},
        {"remove", [&] { state->Command1_Click(); }},
        {"marker", [&] { state->fgPointStyle_Click(2, 4); }},
        {"second axis", [&] { state->fgPointStyle_Click(3, 6); }},
        {"gradient off",
         [&] { document.edit(QStringLiteral("回転"), [&] { document.switchGradientOff(); }); }},
    };
    for (const auto &[name, act] : actions) {
        SCOPED_TRACE(name);
        const ChartModel before = chart.model();
        const int steps = document.undoStack().count();
        act();
        ASSERT_EQ(document.undoStack().count(), steps + 1);
        const ChartModel after = chart.model();
        EXPECT_FALSE(after == before);
        document.undoStack().undo();
        EXPECT_TRUE(chart.model() == before);
        document.undoStack().redo();
        EXPECT_TRUE(chart.model() == after);
    }
}
