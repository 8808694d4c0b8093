#include "chartdoc/SampleChart.h"

#include "chartview/ChartView.h"

#include <array>

namespace qel::chartdoc {

using namespace chartview;

namespace {

constexpr int Groups = 5;
constexpr int Points = 12;

// Household purchases in grams per month: seasonal, plausible, easy to tell apart.
constexpr std::array<std::array<float, Points>, Groups> SampleValues = {{
    {520, 495, 540, 560, 585, 610, 640, 655, 600, 575, 610, 720}, // Beef
    {760, 740, 780, 790, 805, 780, 760, 770, 800, 830, 860, 905}, // Pork
    {120, 115, 130, 150, 160, 175, 190, 185, 165, 150, 140, 160}, // Sheep
    {60, 55, 70, 80, 95, 110, 120, 115, 100, 85, 75, 90},         // Horse
    {640, 655, 690, 700, 720, 735, 750, 745, 730, 715, 740, 870}, // Chicken
}};

} // namespace

void fillSampleChart(ChartView &chart)
{
    static const std::array<QString, Groups> names = {
        QStringLiteral("Beef"), QStringLiteral("Pork"), QStringLiteral("Sheep"),
        QStringLiteral("Horse"), QStringLiteral("Chicken")};

    chart.BeginDataLoad(ChannelValues, Groups, Points);
    chart.BeginDataLoad(ChannelXValues, Groups, Points);
    for (int p = 0; p < Points; ++p)
        chart.setPointCaption(p, QString::number(p + 1) + QStringLiteral("月"));
    for (int s = 0; s < Groups; ++s) {
        chart.setSeriesCaption(qint16(s), names[std::size_t(s)]);
        chart.setActiveSeries(qint16(s));
        for (int p = 0; p < Points; ++p) {
            chart.setValueX(p, p + 1);
            chart.setValueY(p, SampleValues[std::size_t(s)][std::size_t(p)]);
        }
    }
    chart.EndDataLoad(ChannelValues);
    chart.EndDataLoad(ChannelXValues);

    chart.setTitleCaption(0, QStringLiteral("左タイトル"));
    chart.setTitleCaption(1, QStringLiteral("右タイトル"));
    chart.setTitleCaption(2, QStringLiteral("下のスクロール動かしてください。"));
    chart.setTitleCaption(3, QStringLiteral("Fig.    QEL for Windows."));
    for (int member = 55; member <= 60; ++member) {
        ChartFontSpec font = chart.TextFont(member);
        font.family = QStringLiteral("ＭＳ Ｐ明朝");
        chart.setTextFont(member, font);
    }
    chart.setChartType(GalleryLines | 0x4500u | 0x20000u);
    chart.Refresh();
}

void buildSampleChart(ChartView &chart1, ChartView &chart2)
{
    fillSampleChart(chart1);
    fillSampleChart(chart2);
    chart2.setSeriesCaption(0, QStringLiteral("qel"));
    chart2.setPointCaption(0, QStringLiteral("No.1"));
    chart2.setPointCaption(1, QStringLiteral("漢字"));
    chart2.Refresh();
}

} // namespace qel::chartdoc
