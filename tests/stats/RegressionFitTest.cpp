#include "stats/RegressionFit.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

using namespace qel::stats;

namespace {

struct Data
{
    std::vector<double> x, y;
};

RegressionSums sumsOf(const Data &d)
{
    RegressionSums s;
    for (std::size_t i = 0; i < d.x.size(); ++i)
        s.add(float(d.x[i]), float(d.y[i]));
    return s;
}

// Independent reference: a two-pass least-squares fit in long double on the same singles.
struct Reference
{
    long double slope, intercept, r, residualSd, seSlope, seIntercept;
};

Reference referenceFit(const Data &d)
{
    const std::size_t n = d.x.size();
    long double mx = 0, my = 0;
    for (std::size_t i = 0; i < n; ++i) {
        mx += float(d.x[i]);
        my += float(d.y[i]);
    }
    mx /= n;
    my /= n;
    long double sxx = 0, syy = 0, sxy = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const long double dx = float(d.x[i]) - mx, dy = float(d.y[i]) - my;
        sxx += dx * dx;
        syy += dy * dy;
        sxy += dx * dy;
    }
    Reference r;
    r.slope = sxy / sxx;
    r.intercept = my - r.slope * mx;
    r.r = sxy / std::sqrt(sxx * syy);
    long double rss = 0, sx2 = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const long double e = float(d.y[i]) - (r.intercept + r.slope * float(d.x[i]));
        rss += e * e;
        sx2 += (long double)float(d.x[i]) * float(d.x[i]);
    }
    const long double s2 = rss / (n - 2);
    r.residualSd = std::sqrt(s2);
    r.seSlope = std::sqrt(s2 / sxx);
    r.seIntercept = std::sqrt(s2 / sxx * sx2 / n);
    return r;
}

// NIST StRD "Norris" (lower difficulty), with its certified values.
const Data Norris = {
    {0.2, 337.4, 118.2, 884.6, 10.1,  226.5, 666.3, 996.3, 448.6, 777.0, 558.2, 0.4,
     0.6, 775.5, 666.9, 338.0, 447.5, 11.6,  556.0, 228.1, 995.8, 887.6, 120.2, 0.3,
     0.3, 556.8, 339.1, 887.2, 999.0, 779.0, 11.1,  118.3, 229.2, 669.1, 448.9, 0.5},
    {0.1, 338.8, 118.1, 888.0, 9.2,   228.1, 668.5, 998.5, 449.1, 778.9, 559.2, 0.3,
     0.1, 778.1, 668.8, 339.3, 448.9, 10.8,  557.7, 228.3, 998.0, 888.8, 119.6, 0.3,
     0.6, 557.6, 339.3, 888.0, 998.5, 778.9, 10.2,  117.6, 228.9, 668.4, 449.2, 0.2}};

Data randomLine(unsigned seed, int n, double slope, double intercept, double noise)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> xs(-20, 80);
    std::normal_distribution<double> e(0, noise);
    Data d;
    for (int i = 0; i < n; ++i) {
        const double x = xs(gen);
        d.x.push_back(x);
        d.y.push_back(intercept + slope * x + e(gen));
    }
    return d;
}

} // namespace

// The straight line works on singles, so results carry single-precision rounding: the
// sums of squares lose about 7 digits against their size. Norris has r^2 = 0.99999375, so
// 1 - r^2 (and with it every standard error) keeps only 1 to 2 of those digits.
TEST(RegressionFit, NorrisLineMatchesTheCertifiedValues)
{
    const RegressionFit::Linear l = RegressionFit::linear(sumsOf(Norris));
    EXPECT_EQ(l.n, 36);
    EXPECT_FALSE(l.degenerate);
    EXPECT_NEAR(l.slope, 1.00211681802045, 1.00211681802045 * 2e-6);
    EXPECT_NEAR(l.intercept, -0.262323073774029, 2e-3);
    EXPECT_NEAR(double(l.r) * l.r, 0.999993745883712, 3e-7);
    // 1 - r^2 = 6.25e-6 from an r rounded to a single (spacing 6e-8 near 1): a few percent.
    EXPECT_NEAR(std::sqrt(l.s2), 0.884796396144373, 0.884796396144373 * 0.05);
    EXPECT_NEAR(std::sqrt(l.seSlope2), 0.429796848199937e-3, 0.429796848199937e-3 * 0.05);
    EXPECT_NEAR(std::sqrt(l.seIntercept2), 0.232818234301152, 0.232818234301152 * 0.05);
}

class RandomLines : public ::testing::TestWithParam<unsigned>
{
};

TEST_P(RandomLines, AgreeWithADoublePrecisionFit)
{
    const unsigned seed = GetParam();
    const Data d = randomLine(seed, 10 + int(seed % 7) * 9, -3.0 + seed % 5, 12.5, 4.0);
    const RegressionFit::Linear l = RegressionFit::linear(sumsOf(d));
    const Reference ref = referenceFit(d);
    const double tol = 1e-5;
    EXPECT_NEAR(l.slope, double(ref.slope), tol * (std::abs(double(ref.slope)) + 1));
    EXPECT_NEAR(l.intercept, double(ref.intercept), 1e-4 * (std::abs(double(ref.intercept)) + 1));
    EXPECT_NEAR(l.r, double(ref.r), 1e-5);
    // r is far from 1 here, so the residual statistics keep most of their digits.
    EXPECT_NEAR(std::sqrt(l.s2), double(ref.residualSd), 1e-3 * double(ref.residualSd));
    EXPECT_NEAR(std::sqrt(l.seSlope2), double(ref.seSlope), 1e-3 * double(ref.seSlope));
    EXPECT_NEAR(std::sqrt(l.seIntercept2), double(ref.seIntercept), 1e-3 * double(ref.seIntercept));
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomLines, ::testing::Values(1u, 2u, 3u, 4u, 5u, 6u, 7u));

TEST(RegressionFit, CollinearFallingPointsGiveMinusOne)
{
    Data exact;
    for (int i = 1; i <= 10; ++i) {
        exact.x.push_back(i);
        exact.y.push_back(20 - 2 * i);
    }
    const RegressionFit::Linear l = RegressionFit::linear(sumsOf(exact));
    EXPECT_EQ(l.r, -1.0f);
    EXPECT_EQ(l.slope, -2.0f);
    EXPECT_EQ(l.intercept, 20.0f);
    EXPECT_EQ(l.s2, 0.0f);

    // Rounding may push r^2 past 1; the sign must follow the slope.
    const Data steep = randomLine(11, 25, -3.7, 12.1, 0);
    const RegressionFit::Linear s = RegressionFit::linear(sumsOf(steep));
    EXPECT_GE(s.r, -1.0f);
    EXPECT_NEAR(s.r, -1.0, 1e-6);
    EXPECT_GE(s.s2, 0.0f);
}

TEST(RegressionFit, NoSpreadInXOrYIsDegenerate)
{
    const RegressionFit::Linear sameX = RegressionFit::linear(sumsOf({{3, 3, 3}, {1, 5, 2}}));
    EXPECT_TRUE(sameX.degenerate);
    EXPECT_EQ(sameX.sxx, 0.0f);
    EXPECT_EQ(sameX.r, 0.0f);
    EXPECT_FLOAT_EQ(sameX.meanX, 3);

    const RegressionFit::Linear sameY = RegressionFit::linear(sumsOf({{1, 2, 4}, {7, 7, 7}}));
    EXPECT_TRUE(sameY.degenerate);
    EXPECT_GT(sameY.sxx, 0.0f);
    EXPECT_EQ(sameY.syy, 0.0f);
    EXPECT_FLOAT_EQ(sameY.meanY, 7);
}

TEST(RegressionFit, TwoPointsGiveTheLineButNoResidualStatistics)
{
    const RegressionFit::Linear l = RegressionFit::linear(sumsOf({{1, 3}, {2, 8}}));
    EXPECT_FALSE(l.degenerate);
    EXPECT_FALSE(l.estimable);
    EXPECT_FLOAT_EQ(l.slope, 3);
    EXPECT_FLOAT_EQ(l.intercept, -1);
    EXPECT_EQ(l.s2, 0.0f);
}

TEST(RegressionFit, FixedPointAtTheMeanKeepsTheSlope)
{
    const Data d = randomLine(21, 30, 1.5, -4, 3);
    const RegressionFit::Linear l = RegressionFit::linear(sumsOf(d));
    const auto f = RegressionFit::fixedPoint(l, l.meanX, l.meanY);
    ASSERT_TRUE(f);
    EXPECT_NEAR(f->b0, l.slope, 1e-4 * std::abs(l.slope));
    EXPECT_NEAR(f->a0, l.intercept, 1e-3);
    // The line of least X variance through the same point is the regression of x on y.
    EXPECT_NEAR(f->c0 * l.slope, double(l.r) * l.r, 1e-4);
    EXPECT_GE(f->varY0, 0.0f);
    EXPECT_GE(f->varX0, 0.0f);

    // Through the origin, against a direct fit of y = b x.
    const auto o = RegressionFit::fixedPoint(l, 0, 0);
    ASSERT_TRUE(o);
    long double sxy = 0, sxx = 0;
    for (std::size_t i = 0; i < d.x.size(); ++i) {
        sxy += (long double)float(d.x[i]) * float(d.y[i]);
        sxx += (long double)float(d.x[i]) * float(d.x[i]);
    }
    EXPECT_NEAR(o->b0, double(sxy / sxx), 1e-5);
    EXPECT_EQ(o->a0, 0.0f);
}

TEST(RegressionFit, FixedPointOnDataWithoutSpreadIsSkipped)
{
    const RegressionFit::Linear l = RegressionFit::linear(sumsOf({{2, 2, 2}, {1, 4, 6}}));
    EXPECT_FALSE(RegressionFit::fixedPoint(l, 2, 0));
}

namespace {

// Reference parabola: normal equations in long double on x centred at its mean.
std::array<long double, 3> referenceParabola(const Data &d)
{
    const std::size_t n = d.x.size();
    long double m = 0;
    for (double x : d.x)
        m += float(x);
    m /= n;
    long double a[3][4] = {};
    for (std::size_t i = 0; i < n; ++i) {
        const long double u = float(d.x[i]) - m, y = float(d.y[i]);
        const long double row[3] = {1, u, u * u};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c)
                a[r][c] += row[r] * row[c];
            a[r][3] += row[r] * y;
        }
    }
    for (int c = 0; c < 3; ++c) {
        for (int r = c + 1; r < 3; ++r) {
            const long double f = a[r][c] / a[c][c];
            for (int k = c; k < 4; ++k)
                a[r][k] -= f * a[c][k];
        }
    }
    long double p[3];
    for (int r = 2; r >= 0; --r) {
        long double s = a[r][3];
        for (int k = r + 1; k < 3; ++k)
            s -= a[r][k] * p[k];
        p[r] = s / a[r][r];
    }
    // y = p0 + p1 u + p2 u^2 with u = x - m, expanded in x.
    return {p[2], p[1] - 2 * p[2] * m, p[0] - p[1] * m + p[2] * m * m};
}

} // namespace

TEST(RegressionFit, ParabolaMatchesADirectLeastSquaresSolution)
{
    std::mt19937 gen(5);
    std::normal_distribution<double> e(0, 2);
    Data d;
    for (int i = 0; i < 40; ++i) {
        const double x = -5 + i * 0.4;
        d.x.push_back(x);
        d.y.push_back(0.75 * x * x - 2 * x + 3 + e(gen));
    }
    const auto p = RegressionFit::parabola(sumsOf(d));
    ASSERT_TRUE(p);
    const auto ref = referenceParabola(d);
    EXPECT_NEAR(p->a, double(ref[0]), 1e-9);
    EXPECT_NEAR(p->b, double(ref[1]), 1e-9);
    EXPECT_NEAR(p->c, double(ref[2]), 1e-9);
    EXPECT_TRUE(p->minimum());
    ASSERT_TRUE(p->vertexX);
    EXPECT_NEAR(*p->vertexX, -p->b / (2 * p->a), 1e-5);
    EXPECT_NEAR(*p->vertexY, p->a * *p->vertexX * *p->vertexX + p->b * *p->vertexX + p->c, 1e-4);
    EXPECT_GT(p->seY, 1.0f);
    EXPECT_LT(p->seY, 3.0f);

    Data down = d;
    for (double &y : down.y)
        y = -y;
    EXPECT_FALSE(RegressionFit::parabola(sumsOf(down))->minimum());
}

TEST(RegressionFit, ParabolaNeedsThreeDistinctAbscissae)
{
    EXPECT_FALSE(RegressionFit::parabola(sumsOf({{1, 1, 2, 2}, {3, 4, 5, 6}})));
    EXPECT_FALSE(RegressionFit::parabola(sumsOf({{1, 2}, {3, 4}})));
    // Points on a straight line: A is 0 and there is no vertex to report.
    const auto line = RegressionFit::parabola(sumsOf({{1, 2, 3, 4, 5}, {3, 5, 7, 9, 11}}));
    ASSERT_TRUE(line);
    EXPECT_EQ(line->a, 0.0);
    EXPECT_FALSE(line->vertexX);
    EXPECT_NEAR(line->b, 2, 1e-12);
    EXPECT_NEAR(line->c, 1, 1e-12);
}

TEST(RegressionFit, CurvesSpanTheDataWithAMarginInsideTheAxis)
{
    const RegressionSums s = sumsOf({{2, 8}, {1, 1}});
    const auto data = RegressionFit::xRange(s, 0, 30, false);
    EXPECT_FLOAT_EQ(data.xs, 1);
    EXPECT_FLOAT_EQ(data.xe, 9);
    const auto whole = RegressionFit::xRange(s, 0, 30, true);
    EXPECT_FLOAT_EQ(whole.xs, 0);
    EXPECT_FLOAT_EQ(whole.xe, 30);
    // Data reaching the axis ends stop there.
    const auto edge = RegressionFit::xRange(sumsOf({{0, 30}, {1, 1}}), 0, 30, false);
    EXPECT_FLOAT_EQ(edge.xs, 0);
    EXPECT_FLOAT_EQ(edge.xe, 30);
}

TEST(RegressionFit, StandardErrorsAtTheMeanAndAtZero)
{
    const Data d = randomLine(8, 20, 0.8, 5, 2);
    const RegressionFit::Linear l = RegressionFit::linear(sumsOf(d));
    const auto atMean = RegressionFit::seAt(l, l.meanX);
    EXPECT_NEAR(atMean.seLine, std::sqrt(l.seMeanY2), 1e-6);
    EXPECT_NEAR(atMean.seY, std::sqrt(l.seMeanY2 + l.s2), 1e-5);
    EXPECT_NEAR(atMean.y, l.meanY, 1e-4);
    // At x = 0 the error of the line is the error of the intercept.
    const auto atZero = RegressionFit::seAt(l, 0);
    EXPECT_NEAR(atZero.seLine, std::sqrt(l.seIntercept2), 1e-4 * std::sqrt(l.seIntercept2));
    EXPECT_FLOAT_EQ(atZero.y, l.intercept);
}

TEST(RegressionFit, TheLineWorksOnSingleCopiesOfTheSums)
{
    // Values near 100 and 2000 whose sums need more than seven digits: the copies rounded to
    // singles change SD(y) and r in their third digit, so a build that kept the double sums
    // (an optimiser carrying the wider value on) would show other digits. The expected
    // digits follow the single-copy method step by step.
    RegressionSums sums;
    for (int i = 0; i < 12; ++i)
        sums.add(float(100 + 0.37 * i), float(2000 + 1.31 * i + ((i * 7) % 5) * 0.173));
    const RegressionFit::Linear l = RegressionFit::linear(sums);
    struct Row
    {
        const char *name;
        float actual, expected;
    };
    const Row rows[] = {
        {"Sx", l.sx, 1224.42004f},
        {"Sy", l.sy, 24090.2656f},
        {"Sx2", l.sx2, 124953.273f},
        {"Sy2", l.sy2, 48361992.0f},
        {"Sxy", l.sxy, 2458119.75f},
        {"mean y", l.meanY, 2007.52209f},
        {"Sxx", l.sxx, 19.5697689f},
        {"Syy", l.syy, 250.50975f},
        {"SD(x)", l.sdX, 1.33381784f},
        {"SD(y)", l.sdY, 4.77217054f},
        {"r", l.r, 0.991308749f},
        {"slope", l.slope, 3.54673219f},
        {"intercept", l.intercept, 1645.63135f},
    };
    for (const Row &row : rows)
        EXPECT_EQ(row.actual, row.expected) << row.name;
}
