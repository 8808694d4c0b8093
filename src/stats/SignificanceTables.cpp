#include "stats/SignificanceTables.h"

#include <QStringList>

#include <cmath>

namespace qel::stats {

namespace {

// Two-sided critical t for p = .01 .02 .05 .10 .20 .40; the last row only ends the search.
const QString TRowTexts[] = {
    QStringLiteral(" 1, 63.657, 31.821, 12.706, 6.314, 3.078, 1.376"),
    // 6.965 at p .02: the old table had 6.935 here, which no t distribution gives.
    QStringLiteral(" 2, 9.925, 6.965, 4.303, 2.92, 1.886, 1.061"),
    QStringLiteral("3, 5.841, 4.541, 3.182, 2.353, 1.638, 0.978"),
    QStringLiteral("4, 4.604, 3.747, 2.776, 2.132, 1.533, 0.941"),
    QStringLiteral("5, 4.032, 3.365, 2.571, 2.015, 1.476, 0.92"),
    QStringLiteral("6, 3.707, 3.143, 2.447, 1.943, 1.44, 0.906"),
    QStringLiteral("7, 3.499, 2.998, 2.365, 1.895, 1.415, 0.896"),
    QStringLiteral("8, 3.355, 2.896, 2.306, 1.86, 1.397, 0.889"),
    QStringLiteral("9, 3.25, 2.821, 2.262, 1.833, 1.383, 0.883"),
    QStringLiteral("10, 3.169, 2.764, 2.228, 1.812, 1.372, 0.879"),
    QStringLiteral("11, 3.106, 2.718, 2.201, 1.796, 1.363, 0.876"),
    QStringLiteral("12, 3.055, 2.681, 2.179, 1.782, 1.356, 0.873"),
    QStringLiteral("13, 3.012, 2.65, 2.16, 1.771, 1.35, 0.87"),
    QStringLiteral("14, 2.977, 2.624, 2.145, 1.761, 1.345, 0.868"),
    QStringLiteral("15, 2.947, 2.602, 2.131, 1.753, 1.341, 0.866"),
    QStringLiteral("20, 2.845, 2.528, 2.086, 1.725, 1.325, 0.86"),
    QStringLiteral("25, 2.787, 2.485, 2.06, 1.708, 1.316, 0.856"),
    QStringLiteral("30, 2.75, 2.457, 2.042, 1.697, 1.31, 0.854"),
    QStringLiteral("40, 2.704, 2.423, 2.021, 1.684, 1.303, 0.851"),
    QStringLiteral("60, 2.66, 2.39, 2, 1.671, 1.296, 0.848"),
    QStringLiteral("120, 2.617, 2.358, 1.98, 1.658, 1.289, 0.845"),
    QStringLiteral("9999, 2.576, 2.326, 1.96, 1.645, 1.282, 0.842"),
    QStringLiteral("10000"),
};

constexpr double MaxDf = 9999;
// Larger than any statistic the report tests, so nothing passes.
constexpr double Unreachable = 999;

struct Level
{
    double p;
    const char16_t *label;
};

const Level Levels[] = {
    {0.01, u"p<.01 ***"}, {0.02, u"p<.02 **+"}, {0.05, u"p<.05 ** "},
    {0.1, u"p<.1  *  "},  {0.2, u"p<.2     "},  {0.4, u"p<.4     "},
};

CriticalValues filled(double value)
{
    CriticalValues values;
    values.fill(value);
    return values;
}

} // namespace

kyClass3::kyClass3()
{
    static_assert(std::size(TRowTexts) == std::tuple_size_v<decltype(m_rows)>);
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const QStringList fields = TRowTexts[i].split(QLatin1Char(','));
        m_rows[i].df = fields[0].trimmed().toDouble();
        for (qsizetype k = 1; k < fields.size() && k <= 6; ++k)
            m_rows[i].values[k - 1] = fields[k].trimmed().toDouble();
    }
}

const kyClass3 &kyClass3::instance()
{
    static const kyClass3 one;
    return one;
}

Significance kyClass3::statAnal(double &df, double statistic, const QString &kind) const
{
    Significance result;
    // Written as a negation so that a NaN df is refused here too.
    if (!(df >= 1)) {
        result.label = QStringLiteral("df=??");
        return result;
    }
    if (df > MaxDf)
        df = MaxDf;

    CriticalValues values;
    if (kind.compare(u"t", Qt::CaseInsensitive) == 0)
        values = tTable(df);
    else if (kind.compare(u"r", Qt::CaseInsensitive) == 0)
        values = rTable(df);
    else if (kind.compare(u"chi", Qt::CaseInsensitive) == 0)
        values = chiTable(df);
    else
        return result; // no table for it: no test, and no verdict either way

    result.verdict = QStringLiteral("有意でない");
    result.label = QStringLiteral("p>.4    ");
    result.p = 0.4;
    for (int index = 1; index <= 6; ++index) {
        result.critical = values[index - 1];
        if (statistic > values[index - 1]) {
            result.verdict = QStringLiteral("有意である");
            getNum2Probability(index, result.p, result.label);
            break;
        }
    }
    return result;
}

void kyClass3::getNum2Probability(int index, double &p, QString &label)
{
    if (index < 1 || index > 6)
        return;
    p = Levels[index - 1].p;
    label = QString::fromUtf16(Levels[index - 1].label);
}

CriticalValues kyClass3::tTable(double df) const
{
    if (!(df >= 1))
        return filled(Unreachable);
    if (df > MaxDf)
        df = MaxDf;
    // Row 1 never exceeds df and the end marker always does, so the row before is there.
    std::size_t next = 1;
    while (next + 1 < m_rows.size() && !(m_rows[next].df > df))
        ++next;
    return m_rows[next - 1].values;
}

CriticalValues kyClass3::rTable(double df) const
{
    CriticalValues values = tTable(df);
    // A negative df would give r above 1 or the root of a negative number; at 0 every r is 1,
    // which no correlation exceeds.
    const double d = df > 0 ? df : 0.0;
    for (double &v : values)
        v = v / std::sqrt(v * v + d);
    return values;
}

CriticalValues kyClass3::chiTable(double df)
{
    // The approximation divides by df; below one degree of freedom there is nothing to test.
    if (!(df >= 1))
        return filled(Unreachable);
    CriticalValues values = normalQuantiles();
    const double h = 2.0 / (9.0 * df);
    for (double &z : values)
        z = df * std::pow(1.0 - h + z * std::sqrt(h), 3);
    return values;
}

CriticalValues kyClass3::normalQuantiles()
{
    return {2.3263, 2.0537, 1.6449, 1.2816, 0.8416, 0.2533};
}

} // namespace qel::stats
