#include "shell/StepTimer.h"

namespace qel::shell {

QtStepTimer::QtStepTimer()
{
    m_timer.setSingleShot(true);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        // The callback may start the next wait, which replaces m_tick.
        const std::function<void()> tick = std::move(m_tick);
        m_tick = nullptr;
        if (tick)
            tick();
    });
}

void QtStepTimer::start(int milliseconds, std::function<void()> tick)
{
    m_tick = std::move(tick);
    m_timer.start(milliseconds);
}

void QtStepTimer::stop()
{
    m_timer.stop();
    m_tick = nullptr;
}

} // namespace qel::shell
