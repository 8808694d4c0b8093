#include "stats/SignificanceTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace qel::stats;

namespace {

// Independent references: exact distribution tails, inverted by bisection.

// Continued fraction of the regularised incomplete beta function (modified Lentz).
double betaFraction(double a, double b, double x)
{
    const double tiny = 1e-300;
    double c = 1;
    double d = 1 - (a + b) * x / (a + 1);
    d = 1 / (std::abs(d) < tiny ? tiny : d);
    double h = d;
    for (int m = 1; m < 10000; ++m) {
        for (int step = 0; step < 2; ++step) {
            const double num = step == 0
                                   ? m * (b - m) * x / ((a + 2 * m - 1) * (a + 2 * m))
                                   : -(a + m) * (a + b + m) * x / ((a + 2 * m) * (a + 2 * m + 1));
            d = 1 + num * d;
            d = 1 / (std::abs(d) < tiny ? tiny : d);
            c = 1 + num / c;
            if (std::abs(c) < tiny)
                c = tiny;
            h *= d * c;
            if (step == 1 && std::abs(d * c - 1) < 1e-15)
                return h;
        }
    }
    return h;
}

double incompleteBeta(double a, double b, double x)
{
    if (x <= 0)
        return 0;
    if (x >= 1)
        return 1;
    const double front = std::exp(std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) +
                                  a * std::log(x) + b * std::log1p(-x));
    if (x < (a + 1) / (a + b + 2))
        return front * betaFraction(a, b, x) / a;
    return 1 - front * betaFraction(b, a, 1 - x) / b;
}

// Upper regularised incomplete gamma Q(a, x).
double upperGamma(double a, double x)
{
    const double logFront = -x + a * std::log(x) - std::lgamma(a);
    if (x < a + 1) {
        double term = 1 / a;
        double sum = term;
        for (int n = 1; n < 10000 && term > sum * 1e-16; ++n) {
            term *= x / (a + n);
            sum += term;
        }
        return 1 - sum * std::exp(logFront);
    }
    const double tiny = 1e-300;
    double b = x + 1 - a;
    double c = 1 / tiny;
    double d = 1 / b;
    double h = d;
    for (int i = 1; i < 10000; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        d = 1 / (std::abs(d) < tiny ? tiny : d);
        c = b + an / c;
        if (std::abs(c) < tiny)
            c = tiny;
        h *= d * c;
        if (std::abs(d * c - 1) < 1e-15)
            break;
    }
    return std::exp(logFront) * h;
}

// The x in [lo, hi] where a falling tail function reaches p.
double invertTail(const std::function<double(double)> &tail, double p, double lo, double hi)
{
    for (int i = 0; i < 200; ++i) {
        const double mid = (lo + hi) / 2;
        (tail(mid) > p ? lo : hi) = mid;
    }
    return (lo + hi) / 2;
}

double studentTwoSided(double df, double p)
{
    return invertTail([df](double t) { return incompleteBeta(df / 2, 0.5, df / (df + t * t)); }, p,
                      0, 1000);
}

double chiSquareUpper(double df, double p)
{
    return invertTail([df](double x) { return upperGamma(df / 2, x / 2); }, p, 1e-9,
                      df + 50 * std::sqrt(2 * df) + 100);
}

double normalUpper(double p)
{
    return invertTail([](double z) { return 0.5 * std::erfc(z / std::sqrt(2.0)); }, p, 0, 10);
}

const double LevelP[6] = {0.01, 0.02, 0.05, 0.10, 0.20, 0.40};

const kyClass3 &stats()
{
    return kyClass3::instance();
}

} // namespace

TEST(ReferenceFunctions, MatchPublishedValues)
{
    // Guards the references themselves before anything is checked against them.
    EXPECT_NEAR(studentTwoSided(10, 0.05), 2.228139, 1e-6);
    EXPECT_NEAR(studentTwoSided(1, 0.01), 63.656741, 1e-5);
    EXPECT_NEAR(chiSquareUpper(10, 0.05), 18.307038, 1e-5);
    EXPECT_NEAR(chiSquareUpper(1, 0.05), 3.841459, 1e-6);
    EXPECT_NEAR(normalUpper(0.025), 1.959964, 1e-6);
}

// Every stored row, read back through the row it names, against exact t quantiles.
class TTableRow : public testing::TestWithParam<int>
{
};

TEST_P(TTableRow, AgreesWithExactQuantilesToTheThirdDecimal)
{
    const int df = GetParam();
    const CriticalValues values = stats().tTable(df);
    for (int i = 0; i < 6; ++i) {
        // The last row is the normal limit, as in printed tables.
        const double exact =
            df == 9999 ? normalUpper(LevelP[i] / 2) : studentTwoSided(df, LevelP[i]);
        EXPECT_NEAR(values[i], exact, 0.00051) << "df " << df << ", p " << LevelP[i];
    }
}

INSTANTIATE_TEST_SUITE_P(SignificanceTables, TTableRow,
                         testing::Values(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 20, 25,
                                         30, 40, 60, 120, 9999));

struct RowChoice
{
    double df;
    double first; // p .01 column
    double last;  // p .40 column
};

class TTableRowChoice : public testing::TestWithParam<RowChoice>
{
};

TEST_P(TTableRowChoice, TakesDfDownToTheNearestTabulatedRow)
{
    const RowChoice c = GetParam();
    const CriticalValues values = stats().tTable(c.df);
    EXPECT_DOUBLE_EQ(values[0], c.first) << "df " << c.df;
    EXPECT_DOUBLE_EQ(values[5], c.last) << "df " << c.df;
}

INSTANTIATE_TEST_SUITE_P(
    SignificanceTables, TTableRowChoice,
    testing::Values(RowChoice{1, 63.657, 1.376}, RowChoice{1.5, 63.657, 1.376},
                    RowChoice{2, 9.925, 1.061}, RowChoice{8, 3.355, 0.889},
                    RowChoice{15, 2.947, 0.866}, RowChoice{16, 2.947, 0.866},
                    RowChoice{17, 2.947, 0.866}, RowChoice{19, 2.947, 0.866},
                    RowChoice{20, 2.845, 0.86}, RowChoice{50, 2.704, 0.851},
                    RowChoice{100, 2.66, 0.848}, RowChoice{119, 2.66, 0.848},
                    RowChoice{120, 2.617, 0.845}, RowChoice{200, 2.617, 0.845},
                    RowChoice{9998, 2.617, 0.845}, RowChoice{9999, 2.576, 0.842},
                    RowChoice{20000, 2.576, 0.842}, RowChoice{32767, 2.576, 0.842},
                    // Below one degree of freedom nothing can pass.
                    RowChoice{0.5, 999, 999}, RowChoice{0, 999, 999}, RowChoice{-3, 999, 999}));

struct LevelCase
{
    double statistic;
    double critical;
    double p;
    const char16_t *label;
    const char16_t *verdict;
};

class StatAnalLevels : public testing::TestWithParam<LevelCase>
{
};

TEST_P(StatAnalLevels, ReportsTheStrictestLevelPassed)
{
    const LevelCase c = GetParam();
    double df = 10;
    const Significance s = stats().statAnal(df, c.statistic, QStringLiteral("t"));
    ASSERT_TRUE(s.critical.has_value());
    EXPECT_DOUBLE_EQ(*s.critical, c.critical);
    EXPECT_DOUBLE_EQ(s.p, c.p);
    EXPECT_EQ(s.label, QString::fromUtf16(c.label));
    EXPECT_EQ(s.verdict, QString::fromUtf16(c.verdict));
    EXPECT_EQ(df, 10);
}

// df 10 row: 3.169, 2.764, 2.228, 1.812, 1.372, 0.879.
INSTANTIATE_TEST_SUITE_P(SignificanceTables, StatAnalLevels,
                         testing::Values(LevelCase{50, 3.169, 0.01, u"p<.01 ***", u"有意である"},
                                         LevelCase{3.2, 3.169, 0.01, u"p<.01 ***", u"有意である"},
                                         LevelCase{3.169, 2.764, 0.02, u"p<.02 **+", u"有意である"},
                                         LevelCase{2.3, 2.228, 0.05, u"p<.05 ** ", u"有意である"},
                                         // Equal to a critical value is not beyond it.
                                         LevelCase{2.228, 1.812, 0.1, u"p<.1  *  ", u"有意である"},
                                         LevelCase{1.4, 1.372, 0.2, u"p<.2     ", u"有意である"},
                                         LevelCase{0.9, 0.879, 0.4, u"p<.4     ", u"有意である"},
                                         LevelCase{0.879, 0.879, 0.4, u"p>.4    ", u"有意でない"},
                                         LevelCase{-5, 0.879, 0.4, u"p>.4    ", u"有意でない"}));

TEST(SignificanceTables, WorkedExamplesAtEightDegreesOfFreedom)
{
    double df = 8;
    const Significance passed = stats().statAnal(df, 3.0, QStringLiteral("t"));
    EXPECT_EQ(passed.label, QStringLiteral("p<.02 **+"));
    EXPECT_DOUBLE_EQ(passed.p, 0.02);
    EXPECT_DOUBLE_EQ(passed.critical.value_or(0), 2.896);
    EXPECT_EQ(passed.verdict, QStringLiteral("有意である"));

    const Significance failed = stats().statAnal(df, 0.5, QStringLiteral("t"));
    EXPECT_EQ(failed.label, QStringLiteral("p>.4    "));
    EXPECT_DOUBLE_EQ(failed.p, 0.4);
    EXPECT_DOUBLE_EQ(failed.critical.value_or(0), 0.889);
    EXPECT_EQ(failed.verdict, QStringLiteral("有意でない"));
    EXPECT_EQ(df, 8);
}

TEST(SignificanceTables, LabelsKeepTheirWidths)
{
    for (int index = 1; index <= 6; ++index) {
        double p = 0;
        QString label;
        kyClass3::getNum2Probability(index, p, label);
        EXPECT_EQ(label.size(), 9) << "level " << index;
        EXPECT_DOUBLE_EQ(p, LevelP[index - 1]);
    }
    double df = 5;
    EXPECT_EQ(stats().statAnal(df, 0, QStringLiteral("t")).label.size(), 8);
}

TEST(SignificanceTables, LevelOutsideOneToSixLeavesTheOutputsAlone)
{
    for (int index : {0, 7, -1, 100}) {
        double p = 0.123;
        QString label = QStringLiteral("keep");
        kyClass3::getNum2Probability(index, p, label);
        EXPECT_EQ(p, 0.123) << index;
        EXPECT_EQ(label, QStringLiteral("keep")) << index;
    }
}

TEST(SignificanceTables, NoDegreesOfFreedomGivesNoTest)
{
    for (double start : {0.0, 0.5, -4.0, std::numeric_limits<double>::quiet_NaN()}) {
        for (const QString &kind :
             {QStringLiteral("t"), QStringLiteral("r"), QStringLiteral("chi")}) {
            double df = start;
            const Significance s = stats().statAnal(df, 1e6, kind);
            EXPECT_EQ(s.label, QStringLiteral("df=??")) << start;
            EXPECT_TRUE(s.verdict.isEmpty()) << start;
            EXPECT_EQ(s.p, 0) << start;
            EXPECT_FALSE(s.critical.has_value()) << start;
            if (!std::isnan(start)) {
                EXPECT_EQ(df, start);
            }
        }
    }
}

TEST(SignificanceTables, LargeDfIsClampedInTheCallersVariable)
{
    double df = 20000;
    const Significance s = stats().statAnal(df, 2.4, QStringLiteral("t"));
    EXPECT_EQ(df, 9999);
    EXPECT_DOUBLE_EQ(s.critical.value_or(0), 2.326); // last row, p .02
    EXPECT_EQ(s.label, QStringLiteral("p<.02 **+"));

    df = 9999;
    stats().statAnal(df, 2.4, QStringLiteral("chi"));
    EXPECT_EQ(df, 9999);

    // Between rows the variable itself is left alone, only the lookup goes down.
    df = 50;
    EXPECT_DOUBLE_EQ(stats().statAnal(df, 2.5, QStringLiteral("t")).critical.value_or(0), 2.423);
    EXPECT_EQ(df, 50);
    df = 200;
    EXPECT_DOUBLE_EQ(stats().statAnal(df, 2.0, QStringLiteral("t")).critical.value_or(0), 1.98);
    EXPECT_EQ(df, 200);
}

TEST(SignificanceTables, KindIgnoresCase)
{
    for (const QString &kind : {QStringLiteral("T"), QStringLiteral("t")}) {
        double df = 8;
        EXPECT_EQ(stats().statAnal(df, 3.0, kind).label, QStringLiteral("p<.02 **+"));
    }
    for (const QString &kind : {QStringLiteral("R"), QStringLiteral("r")}) {
        double df = 10;
        const Significance s = stats().statAnal(df, 0.6, kind);
        EXPECT_EQ(s.label, QStringLiteral("p<.05 ** "));
        EXPECT_NEAR(s.critical.value_or(0), 0.576, 0.0005);
    }
    for (const QString &kind :
         {QStringLiteral("CHI"), QStringLiteral("Chi"), QStringLiteral("chi")}) {
        double df = 10;
        const Significance s = stats().statAnal(df, 20, kind);
        EXPECT_EQ(s.label, QStringLiteral("p<.05 ** "));
        EXPECT_NEAR(s.critical.value_or(0), 18.29, 0.005);
    }
}

TEST(SignificanceTables, UnknownKindMakesNoTest)
{
    double df = 10;
    const Significance s = stats().statAnal(df, 1e6, QStringLiteral("f"));
    EXPECT_FALSE(s.critical.has_value());
    EXPECT_TRUE(s.verdict.isEmpty());
    EXPECT_TRUE(s.label.isEmpty());
}

TEST(SignificanceTables, CorrelationTableAtTenDegreesOfFreedom)
{
    const CriticalValues r = stats().rTable(10);
    EXPECT_NEAR(r[2], 0.576, 0.0005);
    // Exact critical r from the t quantile; the table's three-decimal t costs a little.
    for (int i = 0; i < 6; ++i) {
        const double t = studentTwoSided(10, LevelP[i]);
        EXPECT_NEAR(r[i], t / std::sqrt(t * t + 10), 0.0002) << "p " << LevelP[i];
    }
    // Published two-sided values for df 10.
    EXPECT_NEAR(r[0], 0.7079, 0.0002);
    EXPECT_NEAR(r[1], 0.6581, 0.0002);
    EXPECT_NEAR(r[3], 0.4973, 0.0002);
}

TEST(SignificanceTables, CorrelationTableUsesDfItselfBetweenRows)
{
    const CriticalValues row15 = stats().rTable(15);
    const CriticalValues at17 = stats().rTable(17);
    for (int i = 0; i < 6; ++i) {
        // Same t row, larger df: a smaller r, still on the safe side of the exact one.
        EXPECT_LT(at17[i], row15[i]);
        const double t = studentTwoSided(17, LevelP[i]);
        EXPECT_GE(at17[i], t / std::sqrt(t * t + 17));
    }
}

TEST(SignificanceTables, CorrelationTableBelowOneDfCannotBePassed)
{
    for (double df : {0.0, -1.0, -5e6}) {
        for (double r : stats().rTable(df)) {
            EXPECT_DOUBLE_EQ(r, 1.0) << df;
        }
    }
}

class ChiTable : public testing::TestWithParam<int>
{
};

TEST_P(ChiTable, WilsonHilfertyIsCloseToTheExactQuantile)
{
    const int df = GetParam();
    const CriticalValues values = kyClass3::chiTable(df);
    for (int i = 0; i < 6; ++i) {
        const double exact = chiSquareUpper(df, LevelP[i]);
        EXPECT_NEAR(values[i], exact, 0.01 * exact) << "df " << df << ", p " << LevelP[i];
        if (i > 0) {
            EXPECT_LT(values[i], values[i - 1]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(SignificanceTables, ChiTable, testing::Values(3, 5, 9, 10, 30, 120, 9999));

TEST(SignificanceTables, ChiTableWorkedValue)
{
    EXPECT_NEAR(kyClass3::chiTable(10)[2], 18.29, 0.005);
}

TEST(SignificanceTables, ChiTableBelowOneDfCannotBePassed)
{
    for (double df : {0.0, 0.5, -2.0}) {
        for (double v : kyClass3::chiTable(df)) {
            EXPECT_TRUE(std::isfinite(v)) << df;
            EXPECT_EQ(v, 999) << df;
        }
    }
}

TEST(SignificanceTables, NormalQuantilesToFourDecimals)
{
    const CriticalValues z = kyClass3::normalQuantiles();
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(z[i], normalUpper(LevelP[i]), 0.00005) << "p " << LevelP[i];
}
