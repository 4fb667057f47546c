#include "platform/wake_timer.h"

namespace zorone::platform {

WakeTimer::WakeTimer(std::function<void()> fire)
    : m_fire(std::move(fire))
{
}

WakeTimer::~WakeTimer()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_cv.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void WakeTimer::WakeAt(Clock::time_point when)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_when && *m_when <= when)
            return;
        m_when = when;
        if (!m_thread.joinable())
            m_thread = std::thread([this] { Run(); });
    }
    m_cv.notify_all();
}

void WakeTimer::Run()
{
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        if (!m_when) {
            m_cv.wait(lock);
            continue;
        }
        const Clock::time_point when = *m_when;
        if (m_cv.wait_until(lock, when, [this, when] { return m_stopping || !m_when || *m_when != when; }))
            continue;
        m_when.reset();
        // Called without the lock, so fire may ask for the next wake.
        lock.unlock();
        m_fire();
        lock.lock();
    }
}

} // namespace zorone::platform
