#pragma once

#include "stats/RegressionFit.h"

#include <QDateTime>
#include <QStringList>

namespace qel::stats {

// The text of one data information report, built line by line in memory and appended to
// "Stat.txt" in one piece, so an interrupted run never leaves half a report behind.
class StatReport
{
public:
    // Lines 1 to 6: the heading, the data range, the sums, the means and deviations.
    void header(const QDateTime &now, const QString &file, const QString &group,
                const RegressionSums &sums, const RegressionFit::Linear &line);
    // Line 7: the data have no spread in X or in Y.
    void degenerate(const RegressionFit::Linear &line);
    // Lines 8 to 11: the least-squares line.
    void linear(const RegressionFit::Linear &line);
    void parabola(const RegressionFit::Parabola &parabola);
    // The comparison of the fixed-point line with the ordinary line. Returns false when the
    // ordinary line has r = 1: the report ends there.
    bool comparison(const RegressionFit::Linear &line, const RegressionFit::FixedPoint &fixed);
    // The standard errors at 19 abscissae from xs to xe, at x = 0 and at the mean of x.
    void seTable(const RegressionFit::Linear &line, const RegressionFit::XRange &range);

    const QStringList &lines() const { return m_lines; }
    // Every line followed by CR LF.
    QString text() const;

    // Appends text to the file, rewriting it whole through a temporary file so a failed
    // write leaves the old content as it was. Returns false and a reason on failure.
    static bool appendToFile(const QString &path, const QString &text, QString *error = nullptr);

private:
    void add(const QString &line) { m_lines.append(line); }
    void zeroVariance();
    // One coefficient of the line against the fixed-point line's: the difference, its SE and
    // the two-sided t test.
    void coefficientTest(QStringView seText, QStringView vsText, float fitted, float fixed,
                         float se2, int df);

    QStringList m_lines;
};

} // namespace qel::stats
