#pragma once

#include "shell/StepTimer.h"

#include <functional>

namespace qel::test {

// The waits of a repeated action, ended by the test when it chooses.
struct ManualTimer : shell::StepTimer
{
    void start(int milliseconds, std::function<void()> callback) override
    {
        waited = milliseconds;
        tick = std::move(callback);
    }
    void stop() override { tick = nullptr; }
    bool isActive() const override { return bool(tick); }
    // The wait ends; returns whether one was pending.
    bool fire()
    {
        if (!tick)
            return false;
        auto callback = std::move(tick);
        tick = nullptr;
        callback();
        return true;
    }

    std::function<void()> tick;
    int waited = 0;
};

} // namespace qel::test
