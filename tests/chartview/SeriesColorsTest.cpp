#include "chartview/SeriesColors.h"
#include "chartview/render/ChartControl.h"

#include <gtest/gtest.h>

#include <random>

using namespace qel::chartview;

namespace {

constexpr Rgb C0 = rgb(0, 0, 200);
constexpr Rgb C1 = rgb(200, 100, 0);
constexpr Rgb Via = rgb(100, 200, 50);

RandomFraction fixed(double value)
{
    return [value] { return value; };
}

} // namespace

TEST(SeriesColors, SplitTakesRedFromTheLowByte)
{
    const ColorParts p = splitColor(rgb(12, 34, 56));
    EXPECT_EQ(p.red, 12);
    EXPECT_EQ(p.green, 34);
    EXPECT_EQ(p.blue, 56);
    EXPECT_EQ(splitColor(NoColor | rgb(1, 2, 3)).blue, 3) << "the no-colour bit is not blue";
}

TEST(SeriesColors, RandomColoursHaveOneBrightSideAndSteppedOthers)
{
    // group mod 6 picks the bright components: red, green, blue, red+green, red+blue,
    // green+blue.
    const bool bright[6][3] = {{true, false, false}, {false, true, false}, {false, false, true},
                               {true, true, false},  {true, false, true},  {false, true, true}};
    std::mt19937 engine(20240611);
    std::uniform_real_distribution<double> fraction(0.0, 1.0);
    const RandomFraction sources[] = {[&] { return fraction(engine); }, fixed(0.0),
                                      fixed(0.9999999)};
    for (const RandomFraction &random : sources) {
        for (int g = 1; g <= 600; ++g) {
            const ColorParts p = splitColor(randomGroupColor(g, random));
            const int parts[3] = {p.red, p.green, p.blue};
            for (int k = 0; k < 3; ++k) {
                if (bright[g % 6][k]) {
                    EXPECT_GE(parts[k], 220) << g;
                    EXPECT_LE(parts[k], 255) << g;
                } else {
                    EXPECT_TRUE(parts[k] % 40 == 0 && parts[k] <= 160) << g << ": " << parts[k];
                }
            }
        }
    }
}

TEST(SeriesColors, GroupRndColorColoursTheGroupsUpTo255)
{
    ChartControl chart;
    chart.BeginDataLoad(ChannelColors, 255, 0);
    const Rgb before = chart.model().seriesColor(2);
    groupRndColor(chart, 4, 400, fixed(0.5));
    EXPECT_FALSE(chart.ErrorPending()) << "groups beyond 255 are left out";
    EXPECT_EQ(chart.model().seriesColor(2), before) << "group 3 is outside the range";
    // Group 4 (4 mod 6: red and blue bright): 40 x int(2.5) = 80 green, hi = round(237.5).
    EXPECT_EQ(chart.model().seriesColor(3), rgb(238, 80, 238));
    EXPECT_EQ(chart.model().seriesColor(254), randomGroupColor(255, fixed(0.5)));
}

TEST(SeriesColors, ViaRampOverFourGroups)
{
    const std::vector<Rgb> ramp = colorRamp(3, 6, C0, C1, Via);
    ASSERT_EQ(ramp.size(), 4u);
    EXPECT_EQ(ramp[0], C0);
    EXPECT_EQ(ramp[1], Via);
    EXPECT_EQ(ramp[2], rgb(150, 150, 25)) << "half-way between the via colour and C1";
    EXPECT_EQ(ramp[3], C1);
}

TEST(SeriesColors, RampsEndOnTheirColours)
{
    struct Case
    {
        const char *name;
        int first, last;
        bool via;
        std::vector<Rgb> expected;
    } cases[] = {
        {"two groups", 1, 2, false, {C0, C1}},
        {"five groups",
         1,
         5,
         false,
         {C0, rgb(50, 25, 150), rgb(100, 50, 100), rgb(150, 75, 50), C1}},
        {"one group", 7, 7, false, {C0}},
        {"one group via", 7, 7, true, {C1}},
        {"three groups via", 1, 3, true, {C0, rgb(133, 167, 33), C1}},
        {"five groups via",
         2,
         6,
         true,
         {C0, rgb(40, 80, 140), rgb(120, 180, 40), rgb(160, 140, 20), C1}},
        {"none", 5, 4, false, {}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(
            colorRamp(c.first, c.last, C0, C1, c.via ? std::optional<Rgb>(Via) : std::nullopt),
            c.expected)
            << c.name;
    }
}
