#include "chartdoc/SampleChart.h"
#include "chartview/render/ChartControl.h"

#include <gtest/gtest.h>

using namespace qel;

TEST(SampleChart, BothChartsAreWholeAndDistinct)
{
    chartview::ChartControl chart1, chart2;
    chartdoc::buildSampleChart(chart1, chart2);
    EXPECT_FALSE(chart1.ErrorPending());
    EXPECT_FALSE(chart2.ErrorPending());
    // Every point of the start-up chart is there to be seen, and every series is named.
    for (qint16 s = 0; s < chart1.SeriesTotal(); ++s) {
        EXPECT_FALSE(chart1.SeriesCaption(s).isEmpty()) << s;
        for (int p = 0; p < chart1.PointTotal(); ++p)
            EXPECT_FALSE(chartview::isEmptyPoint(chart1.model().value(s, p))) << s << "," << p;
    }
    for (int member = 55; member <= 60; ++member)
        EXPECT_EQ(chart1.TextFont(member).family, QStringLiteral("ＭＳ Ｐ明朝"));
    EXPECT_GT(chart1.SeriesTotal(), 1);
    EXPECT_FALSE(chart2.model() == chart1.model());
    EXPECT_EQ(chart2.PointCaption(1), QStringLiteral("漢字")) << "the second chart shows kanji";
}
