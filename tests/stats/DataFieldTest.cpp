#include "stats/DataField.h"

#include "stats/JobFailure.h"

#include "StatsTestChart.h"
#include "support/ChartFill.h"
#include "support/FakeDialogs.h"

#include <gtest/gtest.h>

using namespace qel;
using namespace qel::stats;
using chartview::ChartControl;
using chartview::isEmptyPoint;
using Field = RegressionFields::Field;

namespace {

// groups x points, value = 100 * group + point (1-based), X = point, legends "G1", "P1"...
void fillGrid(ChartControl &chart, int groups, int points)
{
    qel::test::fillChart(
        chart, groups, points, [](int g, int p) { return 100 * (g + 1) + p + 1; },
        [](int, int p) { return p + 1; });
    for (int p = 0; p < points; ++p)
        chart.setPointCaption(p, QStringLiteral("P%1").arg(p + 1));
}

struct DataFieldFixture : ::testing::Test
{
    ChartControl chart;
    qel::test::FakeDialogs dialogs;
    RegressionFields fields;
    statstest::RecordingMessages messages;
    DataField field{chart, dialogs, fields, &messages};

    void ranges(int g0, int g1, int p0, int p1)
    {
        fields.firstGroup = QString::number(g0);
        fields.lastGroup = QString::number(g1);
        fields.firstPoint = QString::number(p0);
        fields.lastPoint = QString::number(p1);
    }
};

} // namespace

TEST_F(DataFieldFixture, ALineForGroupTwoOfThreeGoesToGroupFive)
{
    fillGrid(chart, 3, 10);
    qint16 n = 0;
    int firstNew = 0, fieldPoints = 0;
    ASSERT_TRUE(field.dataFiled4Regr(DataField::StraightLine, 2, n, firstNew, fieldPoints));
    EXPECT_EQ(firstNew, 5);
    EXPECT_EQ(fieldPoints, 10);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(chart.SeriesTotal(), 6);
    EXPECT_EQ(chart.PointTotal(), 10);
    EXPECT_EQ(chart.SeriesCaption(4), QStringLiteral("Regr #2"));
    EXPECT_EQ(chart.SeriesCaption(0), QStringLiteral("G1"));
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // With standard-error curves the field grows to 9 groups of 80 points.
    ASSERT_TRUE(field.dataFiled4Regr(DataField::LineWithSe, 2, n, firstNew, fieldPoints));
    EXPECT_EQ(firstNew, 5);
    EXPECT_EQ(fieldPoints, 80);
    EXPECT_EQ(chart.SeriesTotal(), 9);
    EXPECT_EQ(chart.PointTotal(), 80);
    EXPECT_EQ(chart.SeriesCaption(7), QStringLiteral("SEy #2"));
    EXPECT_EQ(chart.SeriesCaption(3), QStringLiteral("Regr #1"));
    // The user's data came along; the new points are empty.
    EXPECT_EQ(chart.model().value(2, 9), 310);
    EXPECT_TRUE(isEmptyPoint(chart.model().value(2, 10)));
    EXPECT_TRUE(messages.shown.first().startsWith(QStringLiteral("Resizing field")));
    EXPECT_FALSE(messages.visible);
}

TEST_F(DataFieldFixture, AFieldLargeEnoughIsNotResized)
{
    fillGrid(chart, 6, 60);
    const chartview::ChartModel before = chart.model();
    qint16 n = 3;
    int firstNew = 0, fieldPoints = 0;
    ASSERT_TRUE(field.dataFiled4Regr(DataField::Parabola, 1, n, firstNew, fieldPoints));
    EXPECT_EQ(firstNew, 4);
    EXPECT_EQ(fieldPoints, 60);
    EXPECT_EQ(chart.model(), before);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(fields.lastGroup, QStringLiteral("6"));
}

TEST_F(DataFieldFixture, ACurveSeriesCannotHaveACurve)
{
    fillGrid(chart, 6, 10);
    qint16 n = 3;
    int firstNew = 0, fieldPoints = 0;
    EXPECT_FALSE(field.dataFiled4Regr(DataField::StraightLine, 4, n, firstNew, fieldPoints));
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_FALSE(field.dataFiled4Regr(7, 1, n, firstNew, fieldPoints));
}

TEST_F(DataFieldFixture, AColourGroupCountBeyondTheChartIsReset)
{
    fillGrid(chart, 2, 10);
    qint16 n = 5;
    int firstNew = 0, fieldPoints = 0;
    ASSERT_TRUE(field.dataFiled4Regr(DataField::StraightLine, 1, n, firstNew, fieldPoints));
    EXPECT_EQ(n, 2);
    EXPECT_EQ(firstNew, 3);
    EXPECT_EQ(chart.SeriesTotal(), 4);
}

struct SizeCase
{
    int groups, points;
    bool asks;
};

class SizeQuestion : public DataFieldFixture, public ::testing::WithParamInterface<SizeCase>
{
};

TEST_P(SizeQuestion, IsAskedForLargeOrFastGrowingFields)
{
    const SizeCase c = GetParam();
    fillGrid(chart, 10, 100);
    ranges(1, c.groups, 1, c.points);
    dialogs.answers = {os::MessageAnswer::Cancel};
    const os::Result ok = field.dataFieldChgOk(0);
    if (c.asks) {
        // Cancel is a failure the run that asked passes on.
        EXPECT_EQ(ok.code, Cancelled);
        EXPECT_EQ(ok.message, QStringLiteral("データサイズ( %1)が大きいので、中止しました。")
                                  .arg(c.groups * c.points));
        ASSERT_EQ(dialogs.messages.size(), 1);
        const os::MessageRequest &m = dialogs.messages.first();
        EXPECT_EQ(m.text,
                  QStringLiteral("データサイズ( %1)が大きいです。\n"
                                 "メモリ不足などが生じる可能性があります。\n\n強行しますか？")
                      .arg(c.groups * c.points));
        EXPECT_EQ(m.buttons, os::MessageButtons::OkCancel);
        EXPECT_EQ(m.icon, os::MessageIcon::Exclamation);
        EXPECT_EQ(m.defaultAnswer, os::MessageAnswer::Cancel);
        EXPECT_EQ(chart.SeriesTotal(), 10);
        EXPECT_EQ(chart.PointTotal(), 100);
    } else {
        EXPECT_TRUE(ok);
        EXPECT_TRUE(dialogs.messages.isEmpty());
        EXPECT_EQ(chart.SeriesTotal(), c.groups);
        EXPECT_EQ(chart.PointTotal(), c.points);
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, SizeQuestion,
                         ::testing::Values(SizeCase{20, 300, true},   // 6000 values
                                           SizeCase{10, 200, false},  // 2000, 1000 more
                                           SizeCase{10, 251, true},   // 1510 more
                                           SizeCase{5, 100, false})); // smaller

TEST_F(DataFieldFixture, RangesAreExchangedAndCopiedFromTheirStart)
{
    fillGrid(chart, 4, 10);
    // Last group and point given first: exchanged, not refused.
    ranges(5, 2, 8, 3);
    ASSERT_TRUE(field.dataFieldChgOk(0));
    EXPECT_EQ(chart.SeriesTotal(), 4);
    EXPECT_EQ(chart.PointTotal(), 6);
    EXPECT_EQ(chart.model().value(0, 0), 203); // old group 2, point 3
    EXPECT_EQ(chart.model().value(2, 5), 408);
    EXPECT_EQ(chart.model().xValue(0, 0), 3);
    EXPECT_EQ(chart.PointCaption(0), QStringLiteral("P3"));
    EXPECT_EQ(chart.SeriesCaption(0), QStringLiteral("G2"));
    // Group 5 did not exist: a new legend and empty points.
    EXPECT_EQ(chart.SeriesCaption(3), QStringLiteral("New # 5"));
    EXPECT_TRUE(isEmptyPoint(chart.model().value(3, 0)));
}

TEST_F(DataFieldFixture, BadRangesPutTheFocusBackAndChangeNothing)
{
    fillGrid(chart, 3, 10);
    const chartview::ChartModel before = chart.model();

    ranges(0, 3, 1, 10);
    EXPECT_FALSE(field.dataFieldChgOk(0));
    EXPECT_EQ(fields.focus, Field::FirstGroup);

    fields.firstGroup = QStringLiteral("abc");
    EXPECT_FALSE(field.dataFieldChgOk(0));
    EXPECT_EQ(fields.focus, Field::FirstGroup);

    ranges(1, 3, 4, 4);
    EXPECT_FALSE(field.dataFieldChgOk(0));
    EXPECT_EQ(fields.focus, Field::FirstPoint);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("Should Points >=2 ")});
    EXPECT_EQ(dialogs.messages.first().icon, os::MessageIcon::Exclamation);

    ranges(1, 21, 1, 10);
    dialogs.messages.clear();
    dialogs.answers = {os::MessageAnswer::Cancel};
    EXPECT_EQ(field.dataFieldChgOk(0).code, Cancelled);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("グループが20を超えています。")});
    EXPECT_EQ(dialogs.messages.first().icon, os::MessageIcon::Question);
    EXPECT_EQ(chart.model(), before);
}

TEST_F(DataFieldFixture, AFieldTheChartCannotHoldIsRefusedWithAMessage)
{
    fillGrid(chart, 3, 10);
    const chartview::ChartModel before = chart.model();
    ranges(1, 20, 1, 2000000);
    dialogs.answers = {os::MessageAnswer::Ok};
    EXPECT_FALSE(field.dataFieldChgOk(0));
    EXPECT_EQ(dialogs.messages.size(), 2);
    EXPECT_TRUE(dialogs.messages.last().text.contains(QStringLiteral("40000000")));
    EXPECT_EQ(chart.model(), before);
    EXPECT_FALSE(chart.ErrorPending());
    EXPECT_FALSE(messages.visible);
}
