#include "chartview/ui/ChartWidget.h"
#include "support/ChartFill.h"

#include <QImage>
#include <QPainter>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace qel::chartview;

namespace {

struct WidgetFixture : ::testing::Test
{
    ChartWidget widget;
    ChartControl &chart = widget.chart();

    WidgetFixture()
    {
        qel::test::fillChart(chart, 2, 5, [](int s, int p) { return 10 + 20 * s + 7 * p; });
        chart.setChartType(GalleryLines | TypeShowMarkers);
        chart.setAxisValue(AxisYMin, 0);
        chart.setAxisValue(AxisYMax, 100);
        widget.resize(600, 400);
        widget.show();
        widget.grab(); // one real paint records the layout
    }

    QPoint position(int series, int point)
    {
        return qel::test::pointPosition(chart, series, point);
    }
};

} // namespace

TEST_F(WidgetFixture, AClickOnAPointNamesIt)
{
    std::vector<std::pair<int, int>> clicked;
    QObject::connect(&widget, &ChartWidget::pointClicked,
                     [&](ChartEvent &e) { clicked.emplace_back(e.series, e.point); });
    int outside = 0;
    QObject::connect(&widget, &ChartWidget::clickedOutsidePoints, [&](ChartEvent &e) {
        ++outside;
        EXPECT_LT(e.series, 0);
    });
    const QPoint at = position(1, 3);
    widget.pressAt(at);
    widget.releaseAt(at);
    widget.pressAt(QPoint(3, 3));
    widget.releaseAt(QPoint(3, 3));
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0], std::make_pair(1, 3));
    EXPECT_EQ(outside, 1);
}

TEST_F(WidgetFixture, ADoubleClickChoosesThePointForAnalysis)
{
    int series = -1, point = -1;
    QObject::connect(&widget, &ChartWidget::pointChosen, [&](ChartEvent &e) {
        series = e.series;
        point = e.point;
        e.result = 1;
    });
    widget.doubleClickAt(position(0, 2));
    EXPECT_EQ(series, 0);
    EXPECT_EQ(point, 2);
}

TEST_F(WidgetFixture, MouseMovesAndPressesReportPixelsAndPoints)
{
    ChartEvent moved, pressed;
    QObject::connect(&widget, &ChartWidget::mouseMoved, [&](ChartEvent &e) { moved = e; });
    QObject::connect(&widget, &ChartWidget::buttonPressed, [&](ChartEvent &e) { pressed = e; });
    const QPoint at = position(0, 4);
    widget.moveTo(at + QPoint(0, 2));
    EXPECT_EQ(moved.x, at.x());
    EXPECT_EQ(moved.y, at.y() + 2);
    EXPECT_EQ(moved.series, 0);
    EXPECT_EQ(moved.point, 4);
    widget.pressAt(QPoint(5, 5), Qt::RightButton);
    EXPECT_EQ(pressed.button, Qt::RightButton);
    EXPECT_LT(pressed.series, 0);
}

TEST_F(WidgetFixture, ToolBarCommandsGoToTheHostFirst)
{
    std::vector<int> commands;
    bool handleIt = true;
    QObject::connect(&widget, &ChartWidget::commandTriggered, [&](int command, bool &handled) {
        commands.push_back(command);
        handled = handleIt;
    });
    const QList<QAction *> actions = widget.toolBar()->actions();
    QList<int> numbers;
    for (QAction *a : actions)
        numbers << a->data().toInt();
    EXPECT_TRUE(numbers.contains(29702));
    EXPECT_TRUE(numbers.contains(29701));
    EXPECT_TRUE(numbers.contains(0x7313));

    widget.runCommand(ChartWidget::CommandView3D);
    EXPECT_FALSE(chart.model().view3D) << "a handled command is the host's alone";
    handleIt = false;
    widget.runCommand(ChartWidget::CommandView3D);
    EXPECT_TRUE(chart.model().view3D);
    for (QAction *a : actions)
        if (a->data().toInt() == ChartWidget::CommandOpen)
            a->trigger();
    EXPECT_EQ(commands, (std::vector<int>{ChartWidget::CommandView3D, ChartWidget::CommandView3D,
                                          ChartWidget::CommandOpen}));
}

TEST_F(WidgetFixture, OverlaysShowUntilTheNextChange)
{
    const qint32 context = chart.ChartQuery(QueryBeginOverlay);
    QPainter *p = chart.OverlayPainter(context);
    ASSERT_NE(p, nullptr);
    p->setPen(QPen(QColor(255, 0, 255), 5));
    p->drawLine(QPoint(0, 0), position(0, 2));
    chart.ChartQuery(QueryEndOverlay, context);
    const QPoint mid = position(0, 2) / 2 + widget.chartRect().topLeft();
    EXPECT_EQ(widget.grab().toImage().pixelColor(mid), QColor(255, 0, 255));
    chart.Refresh();
    EXPECT_NE(widget.grab().toImage().pixelColor(mid), QColor(255, 0, 255));
}

TEST_F(WidgetFixture, APressAndReleaseOnAGrabbedPointIsAClickNotADrag)
{
    const QPoint at = position(0, 2);
    chart.setActiveSeries(0);
    const double before = chart.ValueY(2);
    int clicks = 0, finished = 0, edited = 0;
    QObject::connect(&widget, &ChartWidget::pointClicked, [&](ChartEvent &) { ++clicks; });
    QObject::connect(&widget, &ChartWidget::dragFinished, [&](int, int) { ++finished; });
    QObject::connect(&widget, &ChartWidget::modelEditedByUser,
                     [&](const ChartModel &) { ++edited; });

    // Rows: where the mouse goes between press and release, as a hand does it.
    const struct
    {
        const char *name;
        std::vector<QPoint> moves;
    } rows[] = {
        {"no movement", {}},
        {"a tremble of a pixel", {at + QPoint(0, 1), at + QPoint(1, 0)}},
        {"a tremble that comes back", {at - QPoint(0, 3), at}},
    };
    for (const auto &row : rows) {
        clicks = finished = edited = 0;
        chart.setDragActive(true);
        widget.pressAt(at);
        for (const QPoint &p : row.moves)
            widget.moveTo(p, Qt::LeftButton);
        widget.releaseAt(row.moves.empty() ? at : row.moves.back());
        chart.setActiveSeries(0);
        EXPECT_EQ(chart.ValueY(2), before) << row.name;
        EXPECT_EQ(clicks, 1) << row.name;
        EXPECT_EQ(finished, 0) << row.name;
        EXPECT_EQ(edited, 0) << row.name;
        EXPECT_FALSE(chart.model().dragActive) << row.name << ": the gesture is over";
    }
}

TEST_F(WidgetFixture, ADragMovesThePointAndHandsOverTheModelAsItWasBefore)
{
    const QPoint at = position(1, 3);
    const ChartModel original = chart.model();
    std::vector<ChartModel> edits;
    int finishedSeries = -1;
    QObject::connect(&widget, &ChartWidget::modelEditedByUser,
                     [&](const ChartModel &before) { edits.push_back(before); });
    QObject::connect(&widget, &ChartWidget::dragFinished, [&](int s, int) { finishedSeries = s; });

    // Without DragActive a press and move change nothing.
    widget.pressAt(at);
    widget.moveTo(at - QPoint(0, 40), Qt::LeftButton);
    widget.releaseAt(at - QPoint(0, 40));
    EXPECT_EQ(chart.model(), original);

    chart.setDragActive(true);
    widget.pressAt(at);
    for (int dy = 10; dy <= 60; dy += 10)
        widget.moveTo(at - QPoint(0, dy), Qt::LeftButton);
    EXPECT_GT(chart.model().value(1, 3), original.value(1, 3) + 5) << "the point follows";
    EXPECT_TRUE(edits.empty()) << "reported once, when the drag ends";
    widget.releaseAt(at - QPoint(0, 60));
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_TRUE(edits[0] == original);
    EXPECT_EQ(finishedSeries, 1);
    EXPECT_FALSE(chart.model().dragActive);
    EXPECT_EQ(chart.model().value(0, 3), original.value(0, 3)) << "only the grabbed point moves";

    // A later click hands over nothing.
    widget.pressAt(at);
    widget.releaseAt(at);
    EXPECT_EQ(edits.size(), 1u);
}

TEST_F(WidgetFixture, TheLegendButtonHidesTheLegendAndKeepsTheTitles)
{
    for (int t = 0; t < 4; ++t)
        chart.setTitleCaption(qint16(t), QStringLiteral("題 %1").arg(t));
    chart.setSeriesCaption(0, QStringLiteral("一番目の系列"));
    chart.setSeriesCaption(1, QStringLiteral("二番目の系列"));
    widget.grab();
    const QRectF withLegend = chart.currentLayout().plot;

    widget.runCommand(ChartWidget::CommandLegend);
    widget.grab();
    const QRectF without = chart.currentLayout().plot;
    EXPECT_GT(without.right(), withLegend.right() + 40) << "the legend's room goes to the plot";
    EXPECT_EQ(without.top(), withLegend.top()) << "the top title keeps its room";
    EXPECT_EQ(without.bottom(), withLegend.bottom()) << "the bottom title keeps its room";
    EXPECT_EQ(without.left(), withLegend.left()) << "the left title keeps its room";

    widget.runCommand(ChartWidget::CommandLegend);
    widget.grab();
    EXPECT_EQ(chart.currentLayout().plot, withLegend);
}
