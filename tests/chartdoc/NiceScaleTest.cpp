#include "chartdoc/NiceScale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

using qel::chartdoc::niceScale;

namespace {

struct ScaleCase
{
    const char *name;
    float min;
    float max;
    float step;
    float niceMin;
    float niceMax;
    int decimals;
};

class NiceScaleTest : public ::testing::TestWithParam<ScaleCase>
{
};

TEST_P(NiceScaleTest, MakesReadableScale)
{
    const ScaleCase c = GetParam();
    float min = c.min;
    float max = c.max;
    float step = -1;
    int decimals = -1;
    ASSERT_TRUE(niceScale(min, max, step, decimals));
    EXPECT_FLOAT_EQ(step, c.step);
    EXPECT_FLOAT_EQ(min, c.niceMin);
    EXPECT_FLOAT_EQ(max, c.niceMax);
    EXPECT_EQ(decimals, c.decimals);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, NiceScaleTest,
    ::testing::Values(ScaleCase{"WholeNumbers", 0, 37, 5, 0, 40, 0},
                      ScaleCase{"Fractions", 0.12f, 0.5f, 0.05f, 0.1f, 0.5f, 2},
                      ScaleCase{"NegativeToZero", -37, 0, 5, -40, 0, 0},
                      ScaleCase{"AllNegative", -37, -12, 5, -40, -10, 0},
                      ScaleCase{"AcrossZero", -0.3f, 0.7f, 0.2f, -0.4f, 0.8f, 1},
                      ScaleCase{"EmptyRange", 3, 3, 0.2f, 3, 4, 1},
                      ScaleCase{"EmptyRangeAtZero", 0, 0, 0.2f, 0, 1, 1},
                      ScaleCase{"TwentyStillStepsByTwo", 0, 20, 2, 0, 20, 0},
                      ScaleCase{"FiftyStillStepsByFive", 0, 50, 5, 0, 50, 0},
                      ScaleCase{"AboveFiftyStepsByTen", 0, 51, 10, 0, 60, 0},
                      ScaleCase{"Hundred", 0, 100, 20, 0, 100, 0},
                      ScaleCase{"StepOfOne", 0, 9, 1, 0, 9, 0},
                      ScaleCase{"StepOfTenth", 0, 0.9f, 0.1f, 0, 0.9f, 1},
                      ScaleCase{"SmallRangeFarFromZero", 1000, 1003, 0.5f, 1000, 1003, 1},
                      ScaleCase{"Thousands", 1200, 8800, 1000, 1000, 9000, 0},
                      ScaleCase{"Tiny", 1.01e-6f, 1.29e-6f, 5e-8f, 1e-6f, 1.3e-6f, 8},
                      ScaleCase{"TenThousandth", 0, 0.0009f, 0.0001f, 0, 0.0009f, 4},
                      ScaleCase{"Huge", 0, 3e30f, 5e29f, 0, 3e30f, 0}),
    [](const auto &info) { return std::string(info.param.name); });

struct BadCase
{
    const char *name;
    float min;
    float max;
};

class NiceScaleFailureTest : public ::testing::TestWithParam<BadCase>
{
};

TEST_P(NiceScaleFailureTest, ReportsFailureAndLeavesArguments)
{
    const BadCase c = GetParam();
    float min = c.min;
    float max = c.max;
    float step = 7;
    int decimals = 3;
    EXPECT_FALSE(niceScale(min, max, step, decimals));
    EXPECT_TRUE(min == c.min || (std::isnan(min) && std::isnan(c.min)));
    EXPECT_TRUE(max == c.max || (std::isnan(max) && std::isnan(c.max)));
    EXPECT_EQ(step, 7);
    EXPECT_EQ(decimals, 3);
}

constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr float Largest = std::numeric_limits<float>::max();

INSTANTIATE_TEST_SUITE_P(
    Ranges, NiceScaleFailureTest,
    ::testing::Values(BadCase{"NaN", std::numeric_limits<float>::quiet_NaN(), 1},
                      BadCase{"Infinite", 0, Inf}, BadCase{"MinAboveMax", 5, 1},
                      BadCase{"RangeOverflows", -Largest, Largest},
                      BadCase{"ScaleOverflows", 0, Largest},
                      BadCase{"StepBelowSmallestSingle", 0,
                              std::numeric_limits<float>::denorm_min()},
                      BadCase{"EmptyRangeTooFarOut", 1e30f, 1e30f}),
    [](const auto &info) { return std::string(info.param.name); });

// Whatever the range, the scale covers it with a 2, 5 or 10 step in a handful of ticks,
// and the decimals are exactly those the step needs.
TEST(NiceScale, RandomRangesGiveCoveringScales)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<float> unit(-1, 1);
    std::uniform_int_distribution<int> magnitude(-12, 12);
    for (int i = 0; i < 20000; ++i) {
        const float scale = std::pow(10.0f, static_cast<float>(magnitude(random)));
        float a = unit(random) * scale;
        float b = a + std::abs(unit(random)) * scale * std::pow(10.0f, -magnitude(random) / 6.0f);
        const float lo = a;
        const float hi = b;
        float step = 0;
        int decimals = 0;
        ASSERT_TRUE(niceScale(a, b, step, decimals)) << lo << " " << hi;
        EXPECT_LE(a, lo);
        EXPECT_GE(b, hi == lo ? lo + 1 : hi);
        const double ticks = (static_cast<double>(b) - a) / step;
        // Ends far from zero are multiples of the step only as closely as a single resolves them.
        const double resolution =
            4.0 * std::numeric_limits<float>::epsilon() * std::max(std::abs(a), std::abs(b)) / step;
        EXPECT_NEAR(ticks, std::round(ticks), 1e-3 + resolution) << lo << " " << hi;
        EXPECT_GE(std::round(ticks), 1);
        EXPECT_LE(std::round(ticks), 12);
        const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-6));
        EXPECT_TRUE(std::abs(mantissa - 1) < 1e-5 || std::abs(mantissa - 2) < 1e-5 ||
                    std::abs(mantissa - 5) < 1e-5)
            << step;
        const double shifted = step * std::pow(10.0, decimals);
        EXPECT_GE(shifted, 1 - 1e-5) << step << " " << decimals;
        if (decimals > 0) {
            EXPECT_LT(shifted / 10, 1 - 1e-5) << step << " " << decimals;
        }
    }
}

} // namespace
