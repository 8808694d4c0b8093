#pragma once

#include <QString>

#include <array>
#include <optional>

namespace qel::stats {

// Critical values of the six significance levels, strictest first (p = .01 .02 .05 .10 .20 .40).
using CriticalValues = std::array<double, 6>;

// Outcome of one significance test.
struct Significance
{
    // Empty when no test could be made (df < 1).
    std::optional<double> critical;
    double p = 0;
    // Fixed-width: nine characters at a level, "p>.4    " (eight) when none is passed.
    QString label;
    QString verdict;
};

// Decides significance against tabulated critical values. The t table is kept as the
// text rows it was typed in as and read once, so one instance serves the whole program.
class kyClass3
{
public:
    kyClass3();

    static const kyClass3 &instance();

    // kind is "t" (two-sided), "r" or "chi" (one-sided), in any case. df above 9999 is
    // clamped in the caller's variable too. The statistic is reported at the strictest
    // level whose critical value it exceeds; with none, critical is the .40 value.
    Significance statAnal(double &df, double statistic, const QString &kind) const;

    // Level 1 to 6 gives its p and label; any other index leaves both as they were.
    static void getNum2Probability(int index, double &p, QString &label);

    // df is taken down to the nearest tabulated row (17 uses 15, 100 uses 60);
    // df < 1 gives 999 everywhere, which no statistic passes.
    CriticalValues tTable(double df) const;
    // Critical correlation coefficients from the t row, with df itself rather than the row's.
    CriticalValues rTable(double df) const;
    // Upper chi-square quantiles by the Wilson-Hilferty approximation.
    static CriticalValues chiTable(double df);
    static CriticalValues normalQuantiles();

private:
    struct TRow
    {
        double df = 0;
        CriticalValues values{};
    };
    std::array<TRow, 23> m_rows;
};

} // namespace qel::stats
