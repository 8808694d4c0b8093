#pragma once

#include "os/Useful.h"

#include <QString>

#include <functional>

namespace qel::shell {

// How start-up runs: where the program folder is, what the command line named and how the
// greeting waits. Tests shorten the wait and bring their own clock.
struct StartupOptions
{
    QString programDir; // empty: programDirectory()
    QString windowsDir; // empty: the system's
    QString commandLine;
    // Where the file types are registered (empty: the XDG data folder), and whether the
    // desktop's databases are refreshed afterwards.
    QString dataHome;
    bool runDesktopTools = true;
    double greetingSeconds = 5;
    os::TimeOfDayFunction timeOfDay = os::systemTimeOfDay;
    // One pass of the greeting's wait; by default processes pending events and rests briefly.
    std::function<void()> pumpEvents;
};

} // namespace qel::shell
