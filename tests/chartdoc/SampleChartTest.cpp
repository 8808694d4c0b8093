#include "chartdoc/SampleChart.h"
#include "chartview/render/ChartControl.h"

#include <gtest/gtest.h>

using namespace qel;

TEST(SampleChart, BothChartsCarryTheSample)
{
    chartview::ChartControl chart1, chart2;
    chartdoc::buildSampleChart(chart1, chart2);
    EXPECT_EQ(chart1.SeriesTotal(), 5);
    const QStringList names = {QStringLiteral("Beef"), QStringLiteral("Pork"),
                               QStringLiteral("Sheep"), QStringLiteral("Horse"),
                               QStringLiteral("Chicken")};
    for (int s = 0; s < 5; ++s)
        EXPECT_EQ(chart1.SeriesCaption(qint16(s)), names[s]);
    EXPECT_EQ(chart1.TitleCaption(0), QStringLiteral("左タイトル"));
    EXPECT_EQ(chart1.TitleCaption(1), QStringLiteral("右タイトル"));
    EXPECT_EQ(chart1.TitleCaption(3), QStringLiteral("Fig.    QEL for Windows."));
    EXPECT_EQ(chart1.TitleCaption(2), QStringLiteral("下のスクロール動かしてください。"));
    for (int member = 55; member <= 60; ++member)
        EXPECT_EQ(chart1.TextFont(member).family, QStringLiteral("ＭＳ Ｐ明朝"));
    for (int p = 0; p < chart1.PointTotal(); ++p) {
        for (qint16 s = 0; s < 5; ++s) {
            chart1.setActiveSeries(s);
            EXPECT_FALSE(chartview::isEmptyPoint(chart1.ValueY(p)));
        }
    }
    EXPECT_EQ(chart2.SeriesCaption(0), QStringLiteral("qel"));
    EXPECT_EQ(chart2.PointCaption(0), QStringLiteral("No.1"));
    EXPECT_EQ(chart2.PointCaption(1), QStringLiteral("漢字"));
    EXPECT_EQ(chart2.SeriesCaption(1), QStringLiteral("Pork"));
    EXPECT_FALSE(chart1.ErrorPending());
    EXPECT_FALSE(chart2.ErrorPending());
}
