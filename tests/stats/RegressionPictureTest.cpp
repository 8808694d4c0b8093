#include "stats/RegressionJob.h"
#include "stats/RegressionOptions.h"
#include "stats/ui/RegressionOptionsWindow.h"

#include "StatsTestChart.h"
#include "support/FakeDialogs.h"
#include "support/Pictures.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace qel;
using namespace qel::stats;

// Renders what a user sees after two runs, for a look at the picture: a noisy line with
// its regression line and standard-error curves, and a bowl with its parabola (kept where
// QEL_TEST_PICTURES says).
TEST(RegressionPicture, ScatterWithLineCurvesAndParabola)
{
    chartview::ChartControl chart;
    std::mt19937 gen(3);
    std::normal_distribution<double> e(0, 1.2);
    statstest::Points line, bowl;
    for (int i = 0; i < 16; ++i) {
        const double x = 1 + i * 0.6;
        line.emplace_back(x, 2 + 1.1 * x + e(gen));
        bowl.emplace_back(x, 0.45 * (x - 5.5) * (x - 5.5) + 1 + 0.3 * e(gen));
    }
    statstest::fillScatter(chart, {line, bowl});
    chart.setSeriesCaption(0, QStringLiteral("直線データ"));
    chart.setSeriesCaption(1, QStringLiteral("放物線データ"));
    chart.setTitleCaption(2, QStringLiteral("回帰線・SE曲線・放物線"));
    chart.setAxisValue(chartview::AxisXMin, 0);
    chart.setAxisValue(chartview::AxisXMax, 12);
    chart.setAxisValue(chartview::AxisYMin, -2);
    chart.setAxisValue(chartview::AxisYMax, 18);
    chart.setViewSize(QSize(900, 600));

    qel::test::FakeDialogs dialogs;
    RegressionOptions options;
    RegressionFields fields;
    qint16 colorGroups = 0;
    RegressionJob job(chart, dialogs, options, fields, colorGroups);
    options.setSeChecked(true);
    options.setWhole(false);
    EXPECT_TRUE(job.runRegressionJob(0, 1).succeeded());
    options.selectMethod(RegressionOptions::Parabolic);
    EXPECT_TRUE(job.runRegressionJob(1, 1).succeeded());
    EXPECT_TRUE(dialogs.messages.isEmpty());

    ASSERT_EQ(chart.SeriesTotal(), 6);
    EXPECT_EQ(chart.SeriesCaption(2), QStringLiteral("Regr #1"));
    EXPECT_EQ(chart.SeriesCaption(3), QStringLiteral("Regr #2"));
    EXPECT_EQ(chart.SeriesCaption(4), QStringLiteral("SEy #1"));
    EXPECT_EQ(chart.SeriesCaption(5), QStringLiteral("SEy #2"));

    test::savePicture(chart.renderImage(QSize(900, 600)), QStringLiteral("regression-chart"));

    // The options window as the user meets it.
    RegressionOptionsWindow window(options, dialogs);
    window.show();
    test::savePicture(window.grab().toImage(), QStringLiteral("frmRegr"));
}
