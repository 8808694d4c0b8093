#include "os/Useful.h"

#include <QCoreApplication>
#include <QSysInfo>
#include <QThread>
#include <QTime>

#include <charconv>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <chrono>
#include <cmath>
#include <limits>

namespace qel::os {

void keepFreedMemory()
{
#ifdef __GLIBC__
    // Blocks up to 32 MiB come from the heap rather than a mapping of their own, and the heap
    // keeps up to 128 MiB free at its top.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
#endif
}

void hideTaskbar() {}

void showTaskbar() {}

QString windowsDirectory()
{
    return QStringLiteral("/");
}

QString computerName()
{
    return QSysInfo::machineHostName();
}

QString windowsVersionName()
{
    return QSysInfo::prettyProductName();
}

double systemTimeOfDay()
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

void wait(double seconds, bool pumpEvents, const TimeOfDayFunction &timeOfDay)
{
    using Clock = std::chrono::steady_clock;
    const double now = timeOfDay();
    const double target = std::ceil(now + seconds);
    const auto deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(
                           std::chrono::duration<double>(std::max(0.0, target - now)));
    do {
        if (pumpEvents && QCoreApplication::instance())
            QCoreApplication::processEvents();
        // A short sleep keeps the loop from burning a core while it waits.
        QThread::msleep(2);
    } while (Clock::now() <= deadline);
}

namespace {

bool isAsciiNumberText(const char *s, std::size_t n)
{
    // Digits with an optional fraction and exponent; std::from_chars would also
    // accept "inf", "nan" and hexadecimal forms, which are not numbers in a table.
    std::size_t i = 0;
    auto digits = [&] {
        const std::size_t start = i;
        while (i < n && s[i] >= '0' && s[i] <= '9')
            ++i;
        return i - start;
    };
    if (i < n && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t mantissaDigits = digits();
    if (i < n && s[i] == '.') {
        ++i;
        mantissaDigits += digits();
    }
    if (mantissaDigits == 0)
        return false;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-'))
            ++i;
        if (digits() == 0)
            return false;
    }
    return i == n;
}

} // namespace

float parseSingle(const QString &text, bool *isNumber)
{
    if (isNumber)
        *isNumber = false;
    QString t = text.trimmed();
    // Full-width digits, signs and points are folded to ASCII (NFKC) first.
    for (QChar c : std::as_const(t)) {
        if (c.unicode() >= 0xFF01 && c.unicode() <= 0xFF5E) {
            t = t.normalized(QString::NormalizationForm_KC).trimmed();
            break;
        }
    }
    const QByteArray ascii = t.toLatin1();
    if (t.isEmpty() || QString::fromLatin1(ascii) != t)
        return MissingNumber;
    return parseAsciiSingle(ascii.constData(), std::size_t(ascii.size()), isNumber);
}

float parseAsciiSingle(const char *text, std::size_t length, bool *isNumber)
{
    if (isNumber)
        *isNumber = false;
    if (length == 0 || !isAsciiNumberText(text, length))
        return MissingNumber;
    const char *begin = text[0] == '+' ? text + 1 : text;
    float value = 0;
    const auto [end, ec] = std::from_chars(begin, text + length, value);
    // Values beyond the single range cannot be held; they count as no number.
    if (ec != std::errc() || end != text + length || !std::isfinite(value))
        return MissingNumber;
    if (isNumber)
        *isNumber = true;
    return value;
}

} // namespace qel::os
