#include "chartdoc/ChartOptions.h"

#include <gtest/gtest.h>

using namespace qel::chartdoc;

TEST(ChartOptions, ReadsRegressionAndCommonX)
{
    const ParsedOptions p = parseOptions(QStringLiteral("Price{kyOpt}{regr=3}{commonX}"));
    EXPECT_EQ(p.visibleText, QStringLiteral("Price"));
    ASSERT_TRUE(p.regression.has_value());
    EXPECT_EQ(*p.regression, 3.0);
    EXPECT_TRUE(p.commonX);
}

TEST(ChartOptions, CommonXWithoutMarkerKeepsTheWholeText)
{
    const ParsedOptions p = parseOptions(QStringLiteral("Z{commonX}"));
    EXPECT_TRUE(p.commonX);
    EXPECT_EQ(p.visibleText, QStringLiteral("Z{commonX}"));
    EXPECT_FALSE(p.regression.has_value());
}

TEST(ChartOptions, MarkerWithoutRegressionGivesNoNumber)
{
    const ParsedOptions p = parseOptions(QStringLiteral("右{kyOpt}{commonX}"));
    EXPECT_EQ(p.visibleText, QStringLiteral("右"));
    EXPECT_FALSE(p.regression.has_value());
    EXPECT_TRUE(p.commonX);
}

TEST(ChartOptions, RegressionNumberStopsAtTheFirstNonNumber)
{
    EXPECT_EQ(parseOptions(QStringLiteral("{kyOpt}{regr=2}rest{regr=9}")).regression, 2.0);
    EXPECT_EQ(parseOptions(QStringLiteral("{kyOpt}{regr=-1.5x}")).regression, -1.5);
    EXPECT_EQ(parseOptions(QStringLiteral("{kyOpt}{regr=}")).regression, 0.0);
}

TEST(ChartOptions, EncodingRoundTrips)
{
    EXPECT_TRUE(encodeOptions(0, false).isEmpty());
    EXPECT_EQ(encodeOptions(2, false), QStringLiteral("{kyOpt}{regr=2}"));
    EXPECT_EQ(encodeOptions(2, true), QStringLiteral("{kyOpt}{regr=2}{commonX}"));
    EXPECT_EQ(encodeOptions(0, true), QStringLiteral("{kyOpt}{commonX}"));
    for (int regr : {0, 1, 7})
        for (bool common : {false, true}) {
            const ParsedOptions p = parseOptions(QStringLiteral("Z") + encodeOptions(regr, common));
            EXPECT_EQ(p.visibleText, QStringLiteral("Z"));
            EXPECT_EQ(p.commonX, common);
            EXPECT_EQ(p.regression.value_or(0), regr);
        }
}

TEST(ChartOptions, TopTitleRuleWidensOnlyAnEmptyBand)
{
    const QString blanks(110, QLatin1Char(' '));
    struct Row
    {
        QString in;
        QString out;
    };
    const Row rows[] = {
        {QString(), blanks},
        {QStringLiteral("   "), blanks},
        {QStringLiteral("\u3000 \u3000"), blanks},
        {blanks, blanks}, // files that hold the band read as before
        {QStringLiteral("売上の推移"), QStringLiteral("売上の推移")},
        {QString(79, QLatin1Char('a')), QString(79, QLatin1Char('a'))},
        {QStringLiteral(" short"), QStringLiteral(" short")},
        {QStringLiteral("\u3000見出し"), QStringLiteral("\u3000見出し")},
        {QString(80, QLatin1Char(' ')), QString(80, QLatin1Char(' '))},
    };
    for (const Row &row : rows)
        EXPECT_EQ(applyTopTitleRule(row.in), row.out) << qPrintable(row.in);
}

#include "chartview/render/ChartControl.h"

TEST(ChartOptions, ChartKeepsItsOptionTextExactlyOnce)
{
    qel::chartview::ChartControl chart;
    chart.setTitleCaption(1, QStringLiteral("Price"));
    chart.setTitleCaption(2, QStringLiteral("売上の推移"));
    bool commonX = true;
    chartOptions(chart, OptionsMode::Write, 3, commonX);
    chartOptions(chart, OptionsMode::Write, 3, commonX); // saved twice
    EXPECT_EQ(chart.TitleCaption(1), QStringLiteral("Price{kyOpt}{regr=3}{commonX}"));
    EXPECT_EQ(chart.TitleCaption(2), QStringLiteral("売上の推移")) << "a title survives a save";

    commonX = false;
    const auto regression = chartOptions(chart, OptionsMode::Read, 0, commonX);
    EXPECT_EQ(regression, 3.0);
    EXPECT_TRUE(commonX);
    EXPECT_EQ(chart.TitleCaption(1), QStringLiteral("Price"));

    chart.setTitleCaption(1, QStringLiteral("Z{kyOpt}{regr=1}"));
    EXPECT_FALSE(chartOptions(chart, OptionsMode::Strip, 0, commonX).has_value());
    EXPECT_EQ(chart.TitleCaption(1), QStringLiteral("Z"));
}
