#pragma once

#include <QString>

#include <functional>

// Wrappers of operating-system services used across the program (the "useful" module).
namespace qel::os {

// A table cell that held no number carries this single (bit pattern 0x09793AF2).
inline constexpr float MissingNumber = 3e-33f;

inline bool isMissingNumber(float v)
{
    return v == MissingNumber;
}

// Called first thing in main: memory the program frees is kept for its next use instead of
// being handed back to the system and faulted in again page by page. Loading, painting and
// the statistics allocate and free arrays of megabytes over and over; a program that keeps
// up to a hundred megabytes of them spends far less time in the kernel.
void keepFreedMemory();

// Taskbar hiding around a slide show: the slide window runs full screen on Linux,
// so these keep their call sites and do nothing.
void hideTaskbar();
void showTaskbar();

// The nearest sensible meaning of the Windows directory on Linux: the file system root.
QString windowsDirectory();

QString computerName();

// The name of the running system. On Linux this is the OS name, so none of the
// Windows names ("Win95", "WinXp", ...) ever matches.
QString windowsVersionName();

// Seconds since midnight, with fractions. Tests substitute their own clock.
using TimeOfDayFunction = std::function<double()>;
double systemTimeOfDay();

// Waits until the time of day has passed the next whole second at or after now + seconds.
// The wait itself runs on a steady clock, so midnight inside it does not matter.
// With pumpEvents set, pending user-interface events are processed on every pass.
void wait(double seconds, bool pumpEvents, const TimeOfDayFunction &timeOfDay = systemTimeOfDay);

// Tolerant text-to-single conversion. Reads the C-locale decimal form (blanks around it,
// optional sign, fraction and exponent; full-width digits allowed) whatever the user's
// locale is, so files read the same everywhere. Anything else gives MissingNumber and false.
float parseSingle(const QString &text, bool *isNumber = nullptr);
// The same on ASCII text with no surrounding blanks (the table reader's fast path).
float parseAsciiSingle(const char *text, std::size_t length, bool *isNumber = nullptr);

} // namespace qel::os
