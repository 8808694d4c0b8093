#pragma once

#include <cmath>
#include <functional>

namespace qel::os {

// Waits until `until` holds or the time of day passes the whole second nearest the start plus
// seconds, running pumpEvents between looks. Midnight inside the wait does not end it. Both
// clocks are given, so tests drive the wait without real time.
inline void waitUpTo(double seconds, const std::function<bool()> &until,
                     const std::function<double()> &timeOfDay,
                     const std::function<void()> &pumpEvents)
{
    constexpr double SecondsPerDay = 86400;
    const double start = timeOfDay();
    const double deadline = std::nearbyint(start) + seconds;
    for (;;) {
        if (until())
            return;
        double now = timeOfDay();
        if (now < start - SecondsPerDay / 2)
            now += SecondsPerDay; // midnight passed during the wait
        if (now >= deadline)
            return;
        pumpEvents();
    }
}

} // namespace qel::os
