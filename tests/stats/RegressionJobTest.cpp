#include "stats/RegressionJob.h"

#include "stats/RegressionCurves.h"

#include "StatsTestChart.h"
#include "os/TextCodec.h"
#include "stats/RegressionOptions.h"
#include "support/FakeDialogs.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace qel;
using namespace qel::stats;
using chartview::ChartControl;
using chartview::EmptyPointValue;
using chartview::isEmptyPoint;
using Kind = JobResult::Kind;

namespace {

const statstest::Points Rising = {{1, 2.1},  {2, 3.9},  {3, 6.2},  {4, 7.8}, {5, 10.1},
                                  {6, 12.2}, {7, 13.8}, {8, 16.1}, {9, 18},  {10, 20.2}};

struct JobFixture : ::testing::Test
{
    QTemporaryDir dir;
    ChartControl chart;
    qel::test::FakeDialogs dialogs;
    RegressionOptions options;
    RegressionFields fields;
    qint16 colorGroups = 0;
    statstest::RecordingViewer viewer;
    statstest::RecordingMessages messages;
    RegressionJob job{chart, dialogs, options, fields, colorGroups};

    JobFixture()
    {
        job.setReportDirectory(dir.path());
        job.setViewer(&viewer);
        job.setMessageWindow(&messages);
        job.setCurrentFile(QStringLiteral("/data/rising.tbx"));
        job.setClock([] { return QDateTime(QDate(2024, 3, 9), QTime(14, 5, 6)); });
        chart.setAxisValue(chartview::AxisXMin, 0);
        chart.setAxisValue(chartview::AxisXMax, 12);
        chart.setAxisValue(chartview::AxisYMin, 0);
        chart.setAxisValue(chartview::AxisYMax, 25);
    }

    QStringList reportLines()
    {
        QFile f(job.reportPath());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return os::splitLines(os::decodeText(f.readAll()).text);
    }

    QPointF point(int series, int p) const
    {
        return {chart.model().xValue(series, p), chart.model().value(series, p)};
    }
};

} // namespace

TEST_F(JobFixture, ALineForGroupTwoOfThreeGoesToGroupFive)
{
    statstest::fillScatter(chart, {Rising, Rising, Rising});
    const JobResult r = job.runRegressionJob(1, 1);
    EXPECT_EQ(r.kind, Kind::Empty);
    EXPECT_EQ(colorGroups, 3);
    EXPECT_EQ(chart.model().seriesAttrColors[4], RegressionCurves::CurveColor);
    // Whole X axis: from 0 to 12, the line y = 2.0 x + 0.0 stays inside 0..25.
    const QPointF a = point(4, 1), b = point(4, 2);
    EXPECT_FLOAT_EQ(a.x(), 0);
    EXPECT_FLOAT_EQ(b.x(), 12);
    EXPECT_NEAR(a.y(), 0.02, 0.05);
    EXPECT_NEAR(b.y(), 24.0, 0.1);
    EXPECT_TRUE(isEmptyPoint(chart.model().value(4, 0)));
    EXPECT_TRUE(isEmptyPoint(chart.model().value(4, 3)));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(viewer.shown.isEmpty());

    // With standard-error curves: 9 groups of 80 points, the curves in group 8.
    options.setSeChecked(true);
    options.setWhole(false);
    job.runRegressionJob(1, 1);
    ASSERT_EQ(chart.SeriesTotal(), 9);
    EXPECT_EQ(chart.model().seriesAttrColors[7], RegressionCurves::CurveColor);
    // Data range 1..10 with a margin of 12 / 30 = 0.4.
    for (int c = 0; c < 4; ++c) {
        EXPECT_TRUE(isEmptyPoint(chart.model().value(7, 20 * c))) << c;
        EXPECT_NEAR(chart.model().xValue(7, 20 * c + 1), 0.6 + 9.8 / 18, 1e-5);
        EXPECT_NEAR(chart.model().xValue(7, 20 * c + 18), 10.4, 1e-5);
        EXPECT_TRUE(isEmptyPoint(chart.model().value(7, 20 * c + 19))) << c;
    }
    // The four curves bracket the line: y - SE(y) < y - SE(line) < y + SE(line) < y + SE(y).
    const double lo = chart.model().value(7, 45), in = chart.model().value(7, 5),
                 up = chart.model().value(7, 25), hi = chart.model().value(7, 65);
    EXPECT_LT(lo, in);
    EXPECT_LT(in, up);
    EXPECT_LT(up, hi);
}

TEST_F(JobFixture, TheLineIsClippedToTheYAxis)
{
    chart.setAxisValue(chartview::AxisYMax, 10);
    statstest::fillScatter(chart, {Rising});
    job.runRegressionJob(0, 1);
    const QPointF b = point(1, 2);
    EXPECT_NEAR(b.y(), 10, 1e-5);
    EXPECT_NEAR(b.x(), 5, 0.05);
}

TEST_F(JobFixture, TheFixedPointLineGoesToPointsFourAndFive)
{
    statstest::fillScatter(chart, {Rising});
    options.selectMethod(RegressionOptions::FixedPoint);
    options.setTxtX(QStringLiteral("0"));
    options.setTxtY(QStringLiteral("0"));
    job.runRegressionJob(0, 1);
    EXPECT_TRUE(isEmptyPoint(chart.model().value(1, 1)));
    const QPointF a = point(1, 4), b = point(1, 5);
    EXPECT_FLOAT_EQ(a.x(), 0);
    EXPECT_FLOAT_EQ(a.y(), 0);
    EXPECT_NEAR(b.y() / b.x(), 772.8 / 385, 1e-5); // sum xy / sum x^2
}

TEST_F(JobFixture, TheParabolaFillsPointsTenOnwards)
{
    statstest::Points bowl;
    for (int i = 0; i <= 10; ++i)
        bowl.emplace_back(i, (i - 4) * (i - 4) * 0.5 + 1);
    statstest::fillScatter(chart, {bowl});
    options.selectMethod(RegressionOptions::Parabolic);
    options.setWhole(false);
    job.runRegressionJob(0, 1);
    EXPECT_EQ(chart.PointTotal(), 60);
    EXPECT_EQ(chart.SeriesTotal(), 2);
    EXPECT_TRUE(isEmptyPoint(chart.model().value(1, 9)));
    // From 0 (the axis) in 50 steps towards 10.4.
    EXPECT_FLOAT_EQ(point(1, 10).x(), 0);
    for (int j = 10; j < 60; ++j) {
        const QPointF p = point(1, j);
        EXPECT_NEAR(p.y(), (p.x() - 4) * (p.x() - 4) * 0.5 + 1, 1e-4) << j;
    }
    EXPECT_NEAR(point(1, 59).x(), 49 * 10.4 / 50, 1e-4);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(JobFixture, AxisValuesAndSecondAxisFlagsAreKept)
{
    chart.setAxisValue(chartview::AxisY2Min, -5);
    chart.setAxisValue(chartview::AxisY2Max, 50);
    statstest::fillScatter(chart, {Rising, Rising});
    chart.setSecondYAxis(1, 1);
    options.setSeChecked(true);
    job.runRegressionJob(1, 1);
    EXPECT_EQ(chart.AxisValue(chartview::AxisYMin), 0);
    EXPECT_EQ(chart.AxisValue(chartview::AxisYMax), 25);
    EXPECT_EQ(chart.AxisValue(chartview::AxisY2Min), -5);
    EXPECT_EQ(chart.AxisValue(chartview::AxisY2Max), 50);
    EXPECT_EQ(chart.SeriesTotal(), 6);
    EXPECT_EQ(chart.SecondYAxis(0), 0);
    EXPECT_EQ(chart.SecondYAxis(1), 1);
    EXPECT_EQ(chart.SecondYAxis(2), 0);
    EXPECT_EQ(chart.SecondYAxis(3), 1);
    EXPECT_EQ(chart.SecondYAxis(5), 1);
}

TEST_F(JobFixture, SameXDrawsAVerticalLineAndEndsTheReportAtOnce)
{
    statstest::fillScatter(chart, {{{3, 1}, {3, 7}, {3, 4}}});
    options.setSeChecked(true);
    const JobResult r = job.runRegressionJob(0, 2);
    EXPECT_EQ(r.kind, Kind::Empty);
    EXPECT_TRUE(viewer.shown.isEmpty()) << "the report ends early and is not shown";
    EXPECT_EQ(chart.SeriesTotal(), 2) << "no standard-error curves without a spread";
    EXPECT_EQ(point(1, 1), QPointF(3, 1));
    EXPECT_EQ(point(1, 2), QPointF(3, 7));
    const QStringList lines = reportLines();
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[7], QStringLiteral("  x= 3  ... SDx=0,  r: 0 "));
}

TEST_F(JobFixture, SameYDrawsAHorizontalLine)
{
    statstest::fillScatter(chart, {{{1, 4}, {2, 4}, {5, 4}}});
    options.setWhole(false);
    job.runRegressionJob(0, 2);
    EXPECT_NEAR(point(1, 1).x(), 0.6, 1e-6);
    EXPECT_NEAR(point(1, 2).x(), 5.4, 1e-6);
    EXPECT_EQ(point(1, 1).y(), 4);
    EXPECT_EQ(point(1, 2).y(), 4);
    EXPECT_EQ(reportLines().value(7), QStringLiteral("  y= 4  ... SDy=0,  r: 0 "));
}

TEST_F(JobFixture, JobTwoAppendsTheReportShownInTheViewer)
{
    // Two runs: a line with a fixed point and standard errors, then a parabola. The file
    // gets both, each shown at once; the time of day is masked.
    statstest::Points data = Rising;
    data.insert(data.begin() + 3, {EmptyPointValue, 5}); // ignored
    statstest::fillScatter(chart, {data});
    options.selectMethod(RegressionOptions::FixedPoint);
    options.setTxtX(QStringLiteral("0"));
    options.setTxtY(QStringLiteral("0"));
    options.setSeChecked(true);
    options.setWhole(false);
    EXPECT_EQ(job.runRegressionJob(0, 2).kind, Kind::ReportShown);
    ASSERT_EQ(viewer.shown, QStringList{job.reportPath()});

    statstest::Points bowl;
    for (int i = 0; i <= 10; ++i)
        bowl.emplace_back(i, (i - 4) * (i - 4) * 0.5 + 1 + (i % 3) * 0.25);
    statstest::fillScatter(chart, {bowl});
    colorGroups = 0;
    options.selectMethod(RegressionOptions::Parabolic);
    options.setSeChecked(false);
    EXPECT_EQ(job.runRegressionJob(0, 2).kind, Kind::ReportShown);
    EXPECT_EQ(viewer.shown.size(), 2);

    // CP932 with CR LF, like the reports of old.
    const QByteArray bytes = qel::test::readFile(job.reportPath());
    EXPECT_EQ(os::decodeText(bytes).encoding, os::TextEncoding::Cp932);
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n'));

    const QRegularExpression time(QStringLiteral("\\d\\d:\\d\\d:\\d\\d"));
    QStringList actual = reportLines();
    for (QString &line : actual)
        line.replace(time, QStringLiteral("hh:mm:ss"));
    const QStringList expected = os::splitLines(
        os::decodeText(qel::test::readFile(qel::test::dataPath(QStringLiteral("stat-job2.txt"))))
            .text);
    ASSERT_EQ(actual.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_EQ(actual[i], expected[i]) << "line " << i + 1;
}

TEST_F(JobFixture, AReportThatCannotBeWrittenIsToldAndNotShown)
{
    // The report path is a folder: the append fails and the old state stays.
    QDir(dir.path()).mkdir(RegressionJob::reportFileName());
    statstest::fillScatter(chart, {Rising});
    const JobResult r = job.runRegressionJob(0, 2);
    EXPECT_EQ(r.kind, Kind::Error);
    EXPECT_EQ(r.code, ReportNotWritten);
    EXPECT_TRUE(r.message.startsWith(QStringLiteral("Stat.txt に書き込めません。")));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(
        dialogs.messages.first().text.startsWith(QStringLiteral("Stat.txt に書き込めません。")));
    EXPECT_TRUE(viewer.shown.isEmpty());
}

TEST_F(JobFixture, JobSeventySevenSmooths)
{
    statstest::Points nine(Rising.begin(), Rising.begin() + 9);
    statstest::fillScatter(chart, {nine});
    EXPECT_EQ(job.runRegressionJob(0, 77).kind, Kind::Empty);
    EXPECT_EQ(chart.PointTotal(), 161);
    EXPECT_EQ(chart.SeriesTotal(), 1);
    EXPECT_EQ(job.runRegressionJob(0, 0).kind, Kind::Empty);
    EXPECT_EQ(job.runRegressionJob(0, 5).kind, Kind::Empty);
    EXPECT_EQ(chart.PointTotal(), 161);
}

TEST_F(JobFixture, ACurveSeriesIsRefusedWithABeep)
{
    statstest::Points bowl;
    for (int i = 0; i <= 10; ++i)
        bowl.emplace_back(i, i * i);
    statstest::fillScatter(chart, {bowl});
    options.selectMethod(RegressionOptions::Parabolic);
    job.runRegressionJob(0, 1);
    ASSERT_EQ(chart.SeriesTotal(), 2);
    const chartview::ChartModel before = chart.model();
    // Group 2 holds the parabola of group 1.
    const JobResult r = job.runRegressionJob(1, 2);
    EXPECT_EQ(r.kind, Kind::Error);
    EXPECT_EQ(r.code, Refused);
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(chart.model(), before);
    EXPECT_FALSE(QFile::exists(job.reportPath()));
}

// A run that cannot be done, or stops at a refusal or a Cancel answer, fails with that code and
// message, tells the user, and leaves the chart and the report file as they were.
TEST_F(JobFixture, RunsThatStopAreFailuresWithTheReason)
{
    const auto grid = [](int groups, int points) {
        std::vector<statstest::Points> series(static_cast<std::size_t>(groups));
        for (statstest::Points &s : series) {
            for (int i = 0; i < points; ++i)
                s.emplace_back(i % 12 + 0.5, (i * 7) % 11 + 1);
        }
        return series;
    };
    const double E = EmptyPointValue;
    const struct
    {
        const char *name;
        std::vector<statstest::Points> data;
        RegressionOptions::Method method;
        bool se;
        int job;
        os::MessageAnswer answer;
        qint32 code;
        const char *message;
    } rows[] = {
        {"one valid point",
         {{{1, 2}, {E, 3}, {4, E}}},
         RegressionOptions::Linear,
         false,
         2,
         os::MessageAnswer::Ok,
         DataShortage,
         "data shortage!"},
        // The statistics of two points divide by n - 2 = 0: nothing half done.
        {"two points",
         {{{1, 2}, {3, 7}}},
         RegressionOptions::Linear,
         false,
         2,
         os::MessageAnswer::Ok,
         DataShortage,
         "data shortage!"},
        {"two points for a parabola",
         {{{1, 2}, {2, 3}, {4, E}}},
         RegressionOptions::Parabolic,
         false,
         1,
         os::MessageAnswer::Ok,
         DataShortage,
         "data shortage!"},
        {"values too large for singles",
         {{{1e20, 1}, {2e20, 3}, {3e20, 4}}},
         RegressionOptions::Linear,
         false,
         2,
         os::MessageAnswer::Ok,
         Overflow,
         "オーバーフローしました。データの値が大きすぎます。"},
        // Two groups of 3000 points: 6000 values, the size question.
        {"size question cancelled", grid(1, 3000), RegressionOptions::Linear, false, 2,
         os::MessageAnswer::Cancel, Cancelled, "データサイズ( 6000)が大きいので、中止しました。"},
        {"six groups with se curves", grid(6, 10), RegressionOptions::Linear, true, 2,
         os::MessageAnswer::Ok, Refused,
         "グループが５以下でないので、SE曲線を描けません。（仕様）"},
        {"smoothing question cancelled", grid(1, 10), RegressionOptions::Linear, false, 77,
         os::MessageAnswer::Cancel, Cancelled, "平滑化を中止しました。"},
        {"too much to smooth", grid(1, 100), RegressionOptions::Linear, false, 77,
         os::MessageAnswer::Ok, Refused, " 100データが多すぎます. "},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        statstest::fillScatter(chart, row.data);
        options.selectMethod(row.method);
        options.setSeChecked(row.se);
        dialogs.messages.clear();
        dialogs.answers = {row.answer};
        const chartview::ChartModel before = chart.model();
        const JobResult r = job.runRegressionJob(0, row.job);
        EXPECT_EQ(r.kind, Kind::Error);
        EXPECT_FALSE(r.succeeded());
        EXPECT_EQ(r.code, row.code);
        EXPECT_EQ(r.message, QString::fromUtf8(row.message));
        ASSERT_FALSE(dialogs.messages.isEmpty());
        if (row.answer == os::MessageAnswer::Ok) {
            EXPECT_EQ(dialogs.messages.last().text, r.message);
            EXPECT_EQ(dialogs.messages.last().buttons, os::MessageButtons::Ok);
        }
        EXPECT_EQ(chart.model(), before);
        EXPECT_FALSE(QFile::exists(job.reportPath()));
        EXPECT_TRUE(viewer.shown.isEmpty());
    }
}

TEST_F(JobFixture, TheSizeQuestionAnsweredOkLetsALargeRegressionRun)
{
    statstest::Points many;
    for (int i = 0; i < 30000; ++i)
        many.emplace_back(i * 0.001, 2 * i * 0.001 + (i % 7) * 0.01);
    statstest::fillScatter(chart, {many});
    chart.setAxisValue(chartview::AxisXMax, 30);
    chart.setAxisValue(chartview::AxisYMax, 70);
    dialogs.answers = {os::MessageAnswer::Ok};
    const JobResult r = job.runRegressionJob(0, 1);
    EXPECT_TRUE(r.succeeded()) << r.message.toStdString();
    EXPECT_EQ(chart.SeriesTotal(), 2);
    EXPECT_EQ(chart.model().seriesAttrColors[1], RegressionCurves::CurveColor);
}

TEST(RegressionCurves, LinesArePulledBackToTheYRange)
{
    // y = 2x - 1 from 0 to 10 within 0..10: both ends move along the line.
    const auto s = RegressionCurves::clipLine(0, 10, 0, 10, 2, -1);
    EXPECT_FLOAT_EQ(s.x1, 0.5f);
    EXPECT_FLOAT_EQ(s.y1, 0);
    EXPECT_FLOAT_EQ(s.x2, 5.5f);
    EXPECT_FLOAT_EQ(s.y2, 10);
    // A falling line leaves through the bottom on the right.
    const auto f = RegressionCurves::clipLine(0, 10, 0, 10, -2, 12);
    EXPECT_FLOAT_EQ(f.x1, 1);
    EXPECT_FLOAT_EQ(f.y1, 10);
    EXPECT_FLOAT_EQ(f.x2, 6);
    EXPECT_FLOAT_EQ(f.y2, 0);
    // A horizontal line (r = 0 with spread in both) is clipped like any line: inside it
    // keeps its ends, outside there is nowhere to move them.
    const auto h = RegressionCurves::clipLine(1, 9, 0, 10, 0, 4);
    EXPECT_EQ(h.x1, 1);
    EXPECT_EQ(h.x2, 9);
    EXPECT_EQ(h.y1, 4);
    const auto above = RegressionCurves::clipLine(1, 9, 0, 10, 0, 40);
    EXPECT_EQ(above.x1, 1);
    EXPECT_EQ(above.x2, 9);
    EXPECT_TRUE(std::isfinite(above.y1));
}
