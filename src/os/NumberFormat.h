#pragma once

#include <QString>
#include <QStringView>

// Numbers as the program writes them into its text files and reports, in the forms of
// Visual Basic's Str() and Print #: a blank in place of the sign of a non-negative number,
// general decimal form, exponent form ("1.5E-07") only for very large or small magnitudes.
namespace qel::os {

// Significant digits of Str() for a single and for a double.
inline constexpr int SingleDigits = 7;
inline constexpr int DoubleDigits = 15;

// A table cell: the shortest text that reads back (parseSingle) to the very same single,
// e.g. " 12.5", "-3", " 0.1", " 1E+20", " 1.5E-07". Usually the seven digits of Str(); more
// only when seven do not read back. Infinities and NaN give empty text, like a missing value.
QString singleToText(float v);

// Str(): rounded to significantDigits, no trailing zeros, no zero before the point
// (" .5", "-.25"), exponent form once the plain form would need more digits than that.
QString vbStr(double v, int significantDigits);

// Str() of an integer: " 12", "-3".
QString integerStr(qint64 v);

// One line built as Print # builds it: numbers are written as Str() followed by a blank, and
// a zone separator (the comma of Print #) pads to the start of the next 14-column zone.
class PrintLine
{
public:
    static constexpr qsizetype ZoneWidth = 14;

    PrintLine &text(QStringView text);
    PrintLine &single(float v);
    PrintLine &number(double v);
    PrintLine &integer(qint64 v);
    PrintLine &nextZone();

    const QString &line() const { return m_line; }

private:
    QString m_line;
};

} // namespace qel::os
