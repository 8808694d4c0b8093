#include "os/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace qel::os {

namespace {

// A finite non-zero number as digits d1 d2 ... dn (no trailing zeros) times 10^(exponent - n + 1).
struct Decimal
{
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// Takes apart the scientific text of std::to_chars: "-1.2345e+07".
Decimal fromScientific(std::string_view s)
{
    Decimal d;
    if (!s.empty() && s.front() == '-') {
        d.negative = true;
        s.remove_prefix(1);
    }
    const std::size_t e = s.find('e');
    for (char c : s.substr(0, e)) {
        if (c != '.')
            d.digits += c;
    }
    std::string_view exponent = s.substr(e + 1);
    if (!exponent.empty() && exponent.front() == '+')
        exponent.remove_prefix(1);
    std::from_chars(exponent.data(), exponent.data() + exponent.size(), d.exponent);
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

Decimal roundedTo(double v, int significantDigits)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific,
                                 significantDigits - 1);
    return fromScientific(std::string_view(buf, r.ptr));
}

Decimal shortest(float v)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    return fromScientific(std::string_view(buf, r.ptr));
}

// Str() keeps the plain form while it needs no more than `digits` digits, counting the
// zeros between the point and the first significant digit: with 7, 1E-07 is ".0000001"
// but 1.5E-07 and 1E+07 take the exponent form.
bool plainForm(const Decimal &d, int digits)
{
    if (d.exponent >= 0)
        return d.exponent < digits;
    const int significant = std::min(static_cast<int>(d.digits.size()), digits);
    return -d.exponent - 1 + significant <= digits;
}

QString compose(const Decimal &d, int digits, bool zeroBeforePoint)
{
    std::string s(d.negative ? "-" : " ");
    const int n = static_cast<int>(d.digits.size());
    if (!plainForm(d, digits)) {
        s += d.digits.front();
        if (n > 1) {
            s += '.';
            s.append(d.digits, 1);
        }
        s += d.exponent < 0 ? "E-" : "E+";
        const int magnitude = std::abs(d.exponent);
        if (magnitude < 10)
            s += '0';
        s += std::to_string(magnitude);
    } else if (d.exponent >= 0) {
        const int integerDigits = d.exponent + 1;
        if (n <= integerDigits) {
            s += d.digits;
            s.append(integerDigits - n, '0');
        } else {
            s.append(d.digits, 0, integerDigits);
            s += '.';
            s.append(d.digits, integerDigits);
        }
    } else {
        if (zeroBeforePoint)
            s += '0';
        s += '.';
        s.append(-d.exponent - 1, '0');
        s += d.digits;
    }
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

QString singleToText(float v)
{
    if (!std::isfinite(v))
        return QString();
    if (v == 0)
        return QStringLiteral(" 0");
    return compose(shortest(v), SingleDigits, true);
}

QString vbStr(double v, int significantDigits)
{
    if (std::isnan(v))
        return QStringLiteral(" NaN");
    if (std::isinf(v))
        return v > 0 ? QStringLiteral(" Inf") : QStringLiteral("-Inf");
    if (v == 0)
        return QStringLiteral(" 0");
    const int digits = std::clamp(significantDigits, 1, 17);
    return compose(roundedTo(v, digits), digits, false);
}

QString integerStr(qint64 v)
{
    return v < 0 ? QString::number(v) : u' ' + QString::number(v);
}

PrintLine &PrintLine::text(QStringView text)
{
    m_line += text;
    return *this;
}

PrintLine &PrintLine::single(float v)
{
    m_line += vbStr(v, SingleDigits);
    m_line += u' ';
    return *this;
}

PrintLine &PrintLine::number(double v)
{
    m_line += vbStr(v, DoubleDigits);
    m_line += u' ';
    return *this;
}

PrintLine &PrintLine::integer(qint64 v)
{
    m_line += integerStr(v);
    m_line += u' ';
    return *this;
}

PrintLine &PrintLine::nextZone()
{
    // Always moves on, even from the very start of a zone, as the comma of Print # does.
    // Columns are counted in characters; the zoned report lines hold ASCII only.
    const qsizetype target = (m_line.size() / ZoneWidth + 1) * ZoneWidth;
    m_line += QString(target - m_line.size(), u' ');
    return *this;
}

} // namespace qel::os
