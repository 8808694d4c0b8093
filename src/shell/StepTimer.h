#pragma once

#include <QTimer>

#include <functional>

namespace qel::shell {

// A single-shot wait that calls back on the event loop, so a repeated action (the automatic
// rotation) waits without holding the processor and the window stays usable meanwhile.
// Tests put in their own and fire it by hand.
class StepTimer
{
public:
    virtual ~StepTimer() = default;

    // Calls tick once after milliseconds; a wait still pending is replaced.
    virtual void start(int milliseconds, std::function<void()> tick) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

// The program's timer: a QTimer on the event loop.
class QtStepTimer : public StepTimer
{
public:
    QtStepTimer();

    void start(int milliseconds, std::function<void()> tick) override;
    void stop() override;
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
    std::function<void()> m_tick;
};

} // namespace qel::shell
