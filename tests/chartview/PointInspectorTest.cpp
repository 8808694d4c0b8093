#include "chartview/ui/PointInspector.h"

#include "chartview/CfxOcx.h"
#include "chartview/ui/InspectionHost.h"
#include "support/ChartFill.h"
#include "support/FakeDialogs.h"
#include "support/FakeMessageWindow.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QToolTip>

#include <gtest/gtest.h>

#include <functional>

using namespace qel;
using namespace qel::chartview;

namespace {

struct FakeHost : InspectionHost
{
    void setPointBoxes(const QString &s, const QString &p) override
    {
        text1 = s;
        text2 = p;
    }
    int askRegressionJob(const QString &dataName) override
    {
        asked.append(dataName);
        return job;
    }
    AnalysisOutcome runRegressionJob(int series, int j) override
    {
        runs.append({series, j});
        return run ? run(series, j) : AnalysisOutcome{};
    }
    bool offerScatterChart() override
    {
        ++offers;
        return switchToScatter;
    }

    QString text1, text2;
    QStringList asked;
    int job = 0;
    int offers = 0;
    bool switchToScatter = false;
    QList<std::pair<int, int>> runs;
    std::function<AnalysisOutcome(int, int)> run;
};

void fillChart(ChartControl &chart, quint32 type)
{
    qel::test::fillChart(
        chart, 2, 5, [](int s, int p) { return 10 + 30 * s + 9 * p; },
        [](int, int p) { return 1 + 2 * p; });
    chart.setHasXValues(true);
    chart.setChartType(type);
    chart.setAxisValue(AxisYMin, 0);
    chart.setAxisValue(AxisYMax, 100);
    chart.setAxisValue(AxisXMin, 0);
    chart.setAxisValue(AxisXMax, 10);
    chart.setTitleCaption(2, QStringLiteral("上の題"));
}

struct InspectorFixture : ::testing::Test
{
    ChartWidget chart1, chart2;
    FakeHost host;
    qel::test::FakeMessageWindow messages;
    qel::test::FakeDialogs dialogs;
    PointInspector inspector{chart1, chart2, host, messages, dialogs};
    QList<std::pair<int, int>> fontRequests;
    int pumps = 0;

    InspectorFixture()
    {
        fillChart(chart1.chart(), GalleryScatter | TypeShowMarkers);
        fillChart(chart2.chart(), GalleryLines | TypeShowMarkers);
        for (ChartWidget *w : {&chart1, &chart2}) {
            w->resize(600, 400);
            QObject::connect(&w->chart(), &ChartControl::commandRequested,
                             [this, w](qint16 code, qint32 param) {
                                 fontRequests.append({w == &chart1 ? code : -code, param});
                             });
        }
        chart1.show();
        chart1.grab();
        chart2.grab();
        inspector.setPump([this](double) { ++pumps; });
    }

    QPoint position(ChartWidget &w, int series, int point)
    {
        return qel::test::pointPosition(w.chart(), series, point);
    }
};

} // namespace

TEST_F(InspectorFixture, HoverGrabsAPointWithinTwoRows)
{
    const QPoint at = position(chart1, 1, 2);
    const struct
    {
        QPoint to;
        Qt::CursorShape cursor;
        bool onPoint; // off every point the flag stays as it was
        const char *series;
    } moves[] = {{at - QPoint(0, 2), Qt::SizeVerCursor, true, "2"},
                 {at - QPoint(0, 3), Qt::CrossCursor, false, "2"},
                 {at + QPoint(0, 2), Qt::SizeVerCursor, true, "2"},
                 {QPoint(3, 3), Qt::SizeVerCursor, true, "0"}};
    for (const auto &m : moves) {
        chart1.moveTo(m.to);
        EXPECT_EQ(chart1.cursor().shape(), m.cursor) << m.to.x() << "," << m.to.y();
        EXPECT_EQ(inspector.onPoint(), m.onPoint) << m.to.x() << "," << m.to.y();
        EXPECT_EQ(host.text1, QString::fromLatin1(m.series)) << m.to.x() << "," << m.to.y();
    }
    EXPECT_EQ(inspector.candidateSeries(), 1);
    EXPECT_EQ(inspector.candidatePoint(), 2);
}

TEST_F(InspectorFixture, HoverShowsThePointsValueAndATip)
{
    ChartControl &c = chart1.chart();
    c.setPointCaption(2, QStringLiteral("3月"));
    c.setActiveSeries(1);
    c.setValueY(3, 0.25);
    chart1.grab();
    const struct
    {
        const char *name;
        int series, point;
        QString value, tip;
    } rows[] = {
        {"a whole number", 1, 2, QStringLiteral("58"), QStringLiteral("G2\n3月\nX: 5\n値: 58")},
        {"a fraction, no point legend", 1, 3, QStringLiteral("0.25"),
         QStringLiteral("G2\n点 4\nX: 7\n値: 0.25")},
        {"the first series", 0, 0, QStringLiteral("10"), QStringLiteral("G1\n点 1\nX: 1\n値: 10")},
    };
    for (const auto &row : rows) {
        chart1.moveTo(position(chart1, row.series, row.point));
        EXPECT_EQ(host.text1, QString::number(row.series + 1)) << row.name;
        EXPECT_EQ(host.text2, row.value) << row.name;
        EXPECT_EQ(chart1.shownTip(), row.tip) << row.name;
        EXPECT_EQ(QToolTip::text(), row.tip) << row.name;
    }

    // Beside the points the value box is empty and the tip goes away.
    chart1.moveTo(QPoint(3, 3));
    EXPECT_EQ(host.text1, QStringLiteral("0"));
    EXPECT_TRUE(host.text2.isEmpty());
    EXPECT_TRUE(chart1.shownTip().isEmpty());
}

TEST_F(InspectorFixture, ClicksWithAndWithoutHoveringAreLoggedAndChangeNothing)
{
    ChartControl &c = chart1.chart();
    c.setClickLog(QStringLiteral("log"));
    const QPoint at = position(chart1, 1, 3);
    const ChartModel before = c.model();
    int edits = 0;
    QObject::connect(&chart1, &ChartWidget::modelEditedByUser,
                     [&](const ChartModel &) { ++edits; });

    chart1.pressAt(at);
    chart1.releaseAt(at);
    EXPECT_EQ(c.ClickLog(), QStringLiteral("log\r\n(2,4)"));

    // Hovering first grabs the point; a press and release is still a click.
    chart1.moveTo(at);
    ASSERT_TRUE(inspector.onPoint());
    chart1.pressAt(at);
    chart1.releaseAt(at);
    chart1.moveTo(position(chart1, 0, 0));
    chart1.pressAt(position(chart1, 0, 0));
    chart1.releaseAt(position(chart1, 0, 0));
    EXPECT_EQ(c.ClickLog(), QStringLiteral("log\r\n(2,4)\r\n(2,4)\r\n(1,1)"));
    EXPECT_FALSE(inspector.dragging());
    EXPECT_FALSE(c.model().dragActive);
    EXPECT_EQ(c.model().values, before.values);
    EXPECT_EQ(edits, 0);
}

TEST_F(InspectorFixture, ADragStartsOnAGrabbedPointAndEndsOnRelease)
{
    const QPoint at = position(chart1, 0, 1);
    chart1.chart().setActiveSeries(0);
    const double before = chart1.chart().ValueY(1);

    chart1.moveTo(at);
    chart1.pressAt(at);
    EXPECT_TRUE(inspector.dragging());
    EXPECT_TRUE(chart1.chart().model().dragActive);
    chart1.moveTo(at - QPoint(0, 60), Qt::LeftButton);
    chart1.releaseAt(at - QPoint(0, 60));
    EXPECT_FALSE(inspector.dragging());
    chart1.chart().setActiveSeries(0);
    EXPECT_GT(chart1.chart().ValueY(1), before + 5);

    // Hover works again after the drag.
    chart1.grab();
    chart1.moveTo(position(chart1, 1, 4));
    EXPECT_EQ(host.text1, QStringLiteral("2"));
    EXPECT_EQ(host.text2, QStringLiteral("76"));
}

TEST_F(InspectorFixture, APressBesideThePointsStartsNoLastingDrag)
{
    chart1.pressAt(QPoint(3, 3));
    EXPECT_FALSE(inspector.dragging());

    // Grabbed by hover, pressed where the chart finds no point: the release ends it.
    chart1.moveTo(position(chart1, 0, 0));
    ASSERT_TRUE(inspector.onPoint());
    chart1.pressAt(QPoint(300, 3));
    EXPECT_TRUE(inspector.dragging());
    chart1.releaseAt(QPoint(300, 3));
    EXPECT_FALSE(inspector.dragging());
    EXPECT_FALSE(chart1.chart().model().dragActive);

    // A real button release far from the press raises no click; it still ends the drag.
    chart1.moveTo(position(chart1, 0, 0));
    chart1.pressAt(QPoint(300, 3));
    ASSERT_TRUE(inspector.dragging());
    const QPointF far(400, 150);
    QMouseEvent release(QEvent::MouseButtonRelease, far, chart1.mapToGlobal(far), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&chart1, &release);
    EXPECT_FALSE(inspector.dragging());
    EXPECT_FALSE(chart1.chart().model().dragActive);
}

TEST_F(InspectorFixture, Chart2ShowsThePointInTheMessageWindow)
{
    chart2.show();
    chart2.grab();
    const QPoint at = position(chart2, 0, 1);
    chart2.pressAt(at);
    chart2.releaseAt(at);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown.first(), QStringLiteral(" Chart2 データ情報|1 Group\n  Point 2"));
    EXPECT_EQ(pumps, 1);
    EXPECT_EQ(messages.sentBack, 1);
    EXPECT_TRUE(messages.visible);

    // A click on the empty plot area hides it and shows nothing new.
    chart2.pressAt(QPoint(300, 200));
    chart2.releaseAt(QPoint(300, 200));
    EXPECT_FALSE(messages.visible);
    EXPECT_EQ(messages.shown.size(), 1);
}

TEST_F(InspectorFixture, AnalysisRunsOnScatterChartsAndALineChartOffersToSwitch)
{
    host.job = 1;
    chart2.doubleClickAt(position(chart2, 0, 0));
    EXPECT_TRUE(host.asked.isEmpty());
    EXPECT_EQ(host.offers, 0) << "Chart2 offers nothing";

    ChartControl &c = chart1.chart();
    const quint32 line = GalleryLines | TypeShowMarkers | TypeGrid | TypeOutline | TypeShaded;
    for (const bool agrees : {false, true}) {
        host.switchToScatter = agrees;
        host.asked.clear();
        host.runs.clear();
        c.setChartType(line);
        chart1.grab();
        chart1.doubleClickAt(position(chart1, 1, 2));
        if (!agrees) {
            EXPECT_TRUE(host.asked.isEmpty());
            EXPECT_EQ(c.ChartType(), line) << "declined: the chart stays as it was";
            continue;
        }
        EXPECT_EQ(c.model().gallery(), GalleryScatter);
        EXPECT_EQ(c.ChartType() & ~TypeShowMarkers, GalleryScatter)
            << "the scatter layout of a type-1 table";
        EXPECT_EQ(host.asked, QStringList{QStringLiteral("2: G2")});
        EXPECT_EQ(host.runs, (QList<std::pair<int, int>>{{1, 1}}));
    }
    EXPECT_EQ(host.offers, 2);

    // On a scatter chart: job 0 runs nothing; a double click beside the points asks nothing.
    host.job = 0;
    chart1.doubleClickAt(position(chart1, 1, 0));
    EXPECT_EQ(host.runs.size(), 1);
    c.setChartType(GalleryLines);
    chart1.doubleClickAt(QPoint(3, 3));
    EXPECT_EQ(host.offers, 2);
}

TEST_F(InspectorFixture, AFailingRunIsTriedFiveTimesAndTheYRangeKept)
{
    host.job = 2;
    ChartControl &c = chart1.chart();
    host.run = [&](int, int) {
        c.setAxisValue(AxisYMin, -50);
        c.setAxisValue(AxisYMax, 500);
        return AnalysisOutcome{440, QStringLiteral("壊れた")};
    };
    chart1.doubleClickAt(position(chart1, 0, 3));
    EXPECT_EQ(host.runs.size(), 5);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("壊れた <1>")});
    EXPECT_EQ(c.AxisValue(AxisYMin), 0);
    EXPECT_EQ(c.AxisValue(AxisYMax), 100);

    // The first attempt without an error ends the loop.
    int calls = 0;
    host.runs.clear();
    host.run = [&](int, int) {
        return ++calls < 3 ? AnalysisOutcome{5, QStringLiteral("x")} : AnalysisOutcome{};
    };
    chart1.doubleClickAt(position(chart1, 0, 3));
    EXPECT_EQ(host.runs.size(), 3);
    EXPECT_EQ(dialogs.messages.size(), 1);
}

TEST(ClickArea, IsClassifiedByThePlotRectangleAndTurnedForHorizontalCharts)
{
    const PointInspector::PlotRect plot{350, 40, 60, 500};
    const int areas[][3] = {{300, 10, 1},  {300, 30, 2},  {300, 390, 3},  {300, 300, 4},
                            {20, 200, 5},  {50, 200, 6},  {100, 200, 66}, {580, 200, 7},
                            {520, 200, 8}, {400, 200, 7}, {200, 200, 0}};
    for (const auto &a : areas)
        EXPECT_EQ(PointInspector::classifyClickArea(a[0], a[1], plot, 600, 400), a[2])
            << a[0] << "," << a[1];

    const int in[] = {1, 2, 3, 4, 5, 6, 7, 8, 66, 0};
    const int horizontal[] = {1, 2, 3, 6, 5, 5, 7, 7, 4, 0};
    const int upright[] = {1, 1, 3, 4, 5, 6, 7, 8, 66, 0};
    for (std::size_t i = 0; i < std::size(in); ++i) {
        EXPECT_EQ(PointInspector::adjustForOrientation(in[i], true), horizontal[i]) << in[i];
        EXPECT_EQ(PointInspector::adjustForOrientation(in[i], false), upright[i]) << in[i];
    }
}

TEST_F(InspectorFixture, ThePlotAreaIsMeasuredAndTheChartLeftAsItWas)
{
    ChartControl &c = chart1.chart();
    c.setChartType(GalleryBars | TypeShaded);
    c.setQueryAxis(2);
    const PointInspector::PlotRect r = inspector.plotArea(1);
    EXPECT_EQ(c.ChartType(), GalleryBars | TypeShaded);
    EXPECT_EQ(c.model().queryAxis, 2);
    EXPECT_GT(r.bottom, r.top);
    EXPECT_GT(r.right, r.left);
    EXPECT_GT(r.top, 0);
    EXPECT_LT(r.bottom, 400);
    // The corners of the data box, as the scatter layout it was measured on reports them.
    c.setChartType(GalleryScatter | TypeShaded);
    EXPECT_EQ(r.left, LowWordOf(c.ChartQuery(QueryPlotBottomLeft)));
    EXPECT_EQ(r.right, LowWordOf(c.ChartQuery(QueryPlotTopRight)));
}

TEST_F(InspectorFixture, AClickAboveThePlotOpensTheTopTitleFont)
{
    const PointInspector::PlotRect plot = inspector.plotArea(1);
    ChartEvent e;
    e.x = 300;
    e.y = plot.top / 2 - 2;
    inspector.chartClickedOutsidePoints(e);
    EXPECT_EQ(e.result, 1);
    ASSERT_EQ(fontRequests.size(), 1);
    EXPECT_EQ(fontRequests.first(), std::make_pair(int(CommandFontDialog), 2));
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("|Tt フォント")});
    EXPECT_FALSE(messages.visible);

    // A click on a point is no text area.
    const QPoint at = position(chart1, 0, 2);
    e.x = at.x();
    e.y = at.y();
    inspector.chartClickedOutsidePoints(e);
    EXPECT_EQ(fontRequests.size(), 1);
}

// A text area opens the font of its text; one without text (or "Ll", which looks nothing
// up) does nothing. The right title counts once it holds text.
TEST_F(InspectorFixture, TextAreasOpenTheFontOfTheirText)
{
    chart1.chart().setTitleCaption(1, QStringLiteral("右"));
    const struct
    {
        int area;
        int member; // the font asked for, -1 for none
        const char *shown;
    } rows[] = {
        {6, -1, ""}, {5, -1, ""}, {66, -1, ""}, {4, 4, "|Bl フォント"}, {8, 5, "|LRl フォント"}};
    for (const auto &row : rows) {
        fontRequests.clear();
        messages.shown.clear();
        inspector.textAreaFont(1, row.area);
        QList<std::pair<int, int>> expected;
        if (row.member >= 0)
            expected.append({int(CommandFontDialog), row.member});
        EXPECT_EQ(fontRequests, expected) << row.area;
        EXPECT_EQ(messages.shown.join(u' '), QString::fromUtf8(row.shown)) << row.area;
    }
}

TEST_F(InspectorFixture, AVisibleChart2TakesTheClicks)
{
    chart2.show();
    chart2.grab();
    inspector.textAreaFont(2, 2); // "Tt" on Chart2
    inspector.textAreaFont(2, 8); // "Ll" on Chart2: nothing
    ASSERT_EQ(fontRequests.size(), 1);
    EXPECT_EQ(fontRequests.first(), std::make_pair(-int(CommandFontDialog), 2));

    ChartEvent e;
    e.x = 300;
    e.y = 2;
    inspector.chartClickedOutsidePoints(e);
    ASSERT_EQ(fontRequests.size(), 2);
    EXPECT_EQ(fontRequests.last().first, -int(CommandFontDialog)) << "Chart2 is the one shown";
}
