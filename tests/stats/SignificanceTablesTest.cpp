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

// Every stored row, against exact quantiles: t to the third decimal (the last row is the
// normal limit, as in printed tables), chi-square by Wilson-Hilferty within one percent.
TEST(SignificanceTables, RowsAgreeWithExactQuantiles)
{
    for (int df :
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 20, 25, 30, 40, 60, 120, 9999}) {
        const CriticalValues t = stats().tTable(df);
        for (int i = 0; i < 6; ++i) {
            const double exact =
                df == 9999 ? normalUpper(LevelP[i] / 2) : studentTwoSided(df, LevelP[i]);
            EXPECT_NEAR(t[i], exact, 0.00051) << "t, df " << df << ", p " << LevelP[i];
        }
    }
    for (int df : {3, 5, 9, 10, 30, 120, 9999}) {
        const CriticalValues chi = kyClass3::chiTable(df);
        for (int i = 0; i < 6; ++i) {
            const double exact = chiSquareUpper(df, LevelP[i]);
            EXPECT_NEAR(chi[i], exact, 0.01 * exact) << "chi, df " << df << ", p " << LevelP[i];
            if (i > 0) {
                EXPECT_LT(chi[i], chi[i - 1]);
            }
        }
    }
    const CriticalValues z = kyClass3::normalQuantiles();
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(z[i], normalUpper(LevelP[i]), 0.00005) << "z, p " << LevelP[i];
}

TEST(SignificanceTables, DfIsTakenDownToTheNearestTabulatedRow)
{
    const std::pair<double, int> rows[] = {{1.5, 1},    {16, 15},      {17, 15},     {19, 15},
                                           {50, 40},    {100, 60},     {119, 60},    {200, 120},
                                           {9998, 120}, {20000, 9999}, {32767, 9999}};
    for (const auto &[df, row] : rows)
        EXPECT_EQ(stats().tTable(df), stats().tTable(row)) << "df " << df;
    EXPECT_NE(stats().tTable(16), stats().tTable(20));
}

TEST(SignificanceTables, BelowOneDegreeOfFreedomNothingPasses)
{
    for (double df : {0.5, 0.0, -3.0, -5e6}) {
        for (double v : stats().tTable(df))
            EXPECT_EQ(v, 999) << "t, df " << df;
        for (double v : kyClass3::chiTable(df))
            EXPECT_EQ(v, 999) << "chi, df " << df;
        for (double v : stats().rTable(df))
            EXPECT_NEAR(v, 1.0, 1e-6) << "r, df " << df;
    }
    // statAnal makes no test at all, and leaves the caller's df as it was.
    for (double start : {0.0, 0.5, -4.0, std::numeric_limits<double>::quiet_NaN()}) {
        for (const char *kind : {"t", "r", "chi"}) {
            double df = start;
            const Significance s = stats().statAnal(df, 1e6, QString::fromLatin1(kind));
            EXPECT_EQ(s.label, QStringLiteral("df=??")) << start << kind;
            EXPECT_TRUE(s.verdict.isEmpty()) << start << kind;
            EXPECT_EQ(s.p, 0) << start << kind;
            EXPECT_FALSE(s.critical.has_value()) << start << kind;
            EXPECT_TRUE(df == start || std::isnan(start)) << start << kind;
        }
    }
}

// The strictest level passed, its critical value and the fixed-width label; equal to a
// critical value is not beyond it. df 10 row of t: 3.169, 2.764, 2.228, 1.812, 1.372, 0.879.
TEST(SignificanceTables, StatAnalReportsTheStrictestLevelPassed)
{
    const struct
    {
        const char *kind;
        double df, statistic, critical, p;
        const char16_t *label;
    } rows[] = {
        {"t", 10, 50, 3.169, 0.01, u"p<.01 ***"},    {"t", 10, 3.2, 3.169, 0.01, u"p<.01 ***"},
        {"t", 10, 3.169, 2.764, 0.02, u"p<.02 **+"}, {"t", 10, 2.3, 2.228, 0.05, u"p<.05 ** "},
        {"t", 10, 2.228, 1.812, 0.1, u"p<.1  *  "},  {"t", 10, 1.4, 1.372, 0.2, u"p<.2     "},
        {"t", 10, 0.9, 0.879, 0.4, u"p<.4     "},    {"t", 10, 0.879, 0.879, 0.4, u"p>.4    "},
        {"t", 10, -5, 0.879, 0.4, u"p>.4    "},      {"T", 8, 3.0, 2.896, 0.02, u"p<.02 **+"},
        {"t", 8, 0.5, 0.889, 0.4, u"p>.4    "},      {"R", 10, 0.6, 0.5760, 0.05, u"p<.05 ** "},
        {"r", 10, 0.6, 0.5760, 0.05, u"p<.05 ** "},  {"CHI", 10, 20, 18.29, 0.05, u"p<.05 ** "},
        {"Chi", 10, 20, 18.29, 0.05, u"p<.05 ** "},  {"chi", 10, 20, 18.29, 0.05, u"p<.05 ** "},
    };
    for (const auto &row : rows) {
        double df = row.df;
        const Significance s = stats().statAnal(df, row.statistic, QString::fromLatin1(row.kind));
        const QString label = QString::fromUtf16(row.label);
        EXPECT_NEAR(s.critical.value_or(0), row.critical, 0.005) << row.kind << row.statistic;
        EXPECT_DOUBLE_EQ(s.p, row.p) << row.kind << row.statistic;
        EXPECT_EQ(s.label, label) << row.kind << row.statistic;
        EXPECT_EQ(s.verdict, label.startsWith(QStringLiteral("p<")) ? QStringLiteral("有意である")
                                                                    : QStringLiteral("有意でない"));
        EXPECT_EQ(df, row.df);
    }
    double df = 10;
    const Significance unknown = stats().statAnal(df, 1e6, QStringLiteral("f"));
    EXPECT_FALSE(unknown.critical.has_value());
    EXPECT_TRUE(unknown.verdict.isEmpty());
    EXPECT_TRUE(unknown.label.isEmpty());
}

TEST(SignificanceTables, LevelsGiveTheirPAndLabelAndOthersLeaveThemAlone)
{
    for (int index : {-1, 0, 1, 2, 3, 4, 5, 6, 7, 100}) {
        double p = 0.123;
        QString label = QStringLiteral("keep");
        kyClass3::getNum2Probability(index, p, label);
        const bool level = index >= 1 && index <= 6;
        EXPECT_EQ(p, level ? LevelP[index - 1] : 0.123) << index;
        EXPECT_EQ(label.size(), level ? 9 : 4) << index;
    }
}

TEST(SignificanceTables, LargeDfIsClampedInTheCallersVariable)
{
    double df = 20000;
    const Significance s = stats().statAnal(df, 2.4, QStringLiteral("t"));
    EXPECT_EQ(df, 9999);
    EXPECT_DOUBLE_EQ(s.critical.value_or(0), 2.326); // last row, p .02
    df = 9999;
    stats().statAnal(df, 2.4, QStringLiteral("chi"));
    EXPECT_EQ(df, 9999);
    // Between rows the variable itself is left alone, only the lookup goes down.
    df = 200;
    EXPECT_DOUBLE_EQ(stats().statAnal(df, 2.0, QStringLiteral("t")).critical.value_or(0), 1.98);
    EXPECT_EQ(df, 200);
}

TEST(SignificanceTables, CorrelationTableFollowsTheTRowWithDfItself)
{
    // Exact critical r from the t quantile; the table's three-decimal t costs a little.
    const CriticalValues r10 = stats().rTable(10);
    const double published[6] = {0.7079, 0.6581, 0.5760, 0.4973, 0, 0};
    for (int i = 0; i < 6; ++i) {
        const double t = studentTwoSided(10, LevelP[i]);
        EXPECT_NEAR(r10[i], t / std::sqrt(t * t + 10), 0.0002) << "p " << LevelP[i];
        if (published[i] > 0) {
            EXPECT_NEAR(r10[i], published[i], 0.0002) << "p " << LevelP[i];
        }
    }
    // Between rows: the same t row, a larger df, a smaller r on the safe side of the exact one.
    const CriticalValues row15 = stats().rTable(15), at17 = stats().rTable(17);
    for (int i = 0; i < 6; ++i) {
        EXPECT_LT(at17[i], row15[i]);
        const double t = studentTwoSided(17, LevelP[i]);
        EXPECT_GE(at17[i], t / std::sqrt(t * t + 17));
    }
}
