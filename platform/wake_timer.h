#pragma once
// Calls a function at a time asked for, on a thread of its own, so that the
// user-interface thread never sleeps to wait: the function is meant to post
// a message to the loop. Only the earliest time asked for and not yet passed
// is kept; asking again for a later one changes nothing.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace zorone::platform {

class WakeTimer {
public:
    using Clock = std::chrono::steady_clock;

    // fire runs on the timer's thread; it must be safe to call from there.
    explicit WakeTimer(std::function<void()> fire);
    // Stops the thread, after a call of fire under way has returned.
    ~WakeTimer();
    WakeTimer(const WakeTimer&) = delete;
    WakeTimer& operator=(const WakeTimer&) = delete;

    void WakeAt(Clock::time_point when);

private:
    void Run();

    std::function<void()> m_fire;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::optional<Clock::time_point> m_when;
    bool m_stopping = false;
    std::thread m_thread; // started at the first WakeAt
};

} // namespace zorone::platform
