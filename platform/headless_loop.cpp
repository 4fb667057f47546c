#include "platform/headless_loop.h"

#include <algorithm>

namespace zorone::platform {

void HeadlessLoop::SetHandler(Handler handler)
{
    m_handler = std::move(handler);
}

void HeadlessLoop::Post(Message message)
{
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(message));
    }
    m_cv.notify_one();
}

bool HeadlessLoop::IsPending(unsigned id) const
{
    std::lock_guard lock(m_mutex);
    return std::any_of(m_queue.begin(), m_queue.end(), [id](const Message& m) { return m.id == id; });
}

bool HeadlessLoop::TakeOne(Message& out, std::chrono::milliseconds wait)
{
    std::unique_lock lock(m_mutex);
    if (m_queue.empty() && wait.count() > 0)
        m_cv.wait_for(lock, wait, [this] { return !m_queue.empty() || m_quit; });
    if (m_queue.empty())
        return false;
    out = std::move(m_queue.front());
    m_queue.pop_front();
    return true;
}

void HeadlessLoop::Dispatch(const Message& m)
{
    if (m.id == kWmTask) {
        if (m.task)
            m.task();
    } else if (m_handler) {
        m_handler(m);
    }
}

bool HeadlessLoop::DispatchOne()
{
    Message m;
    if (!TakeOne(m, std::chrono::milliseconds(0)))
        return false;
    Dispatch(m);
    return true;
}

int HeadlessLoop::Run()
{
    for (;;) {
        {
            std::unique_lock lock(m_mutex);
            m_cv.wait(lock, [this] { return !m_queue.empty() || m_quit; });
            if (m_quit)
                return m_exitCode;
        }
        DispatchOne();
    }
}

void HeadlessLoop::Quit(int exitCode)
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
        m_exitCode = exitCode;
    }
    m_cv.notify_all();
}

bool HeadlessLoop::QuitRequested() const
{
    std::lock_guard lock(m_mutex);
    return m_quit;
}

int HeadlessLoop::DispatchPending(std::chrono::milliseconds wait)
{
    int n = 0;
    Message m;
    while (TakeOne(m, wait)) {
        Dispatch(m);
        ++n;
    }
    return n;
}

bool HeadlessLoop::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            break;
        Message m;
        if (TakeOne(m, std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now)))
            Dispatch(m);
    }
    return done();
}

size_t HeadlessLoop::QueuedCount() const
{
    std::lock_guard lock(m_mutex);
    return m_queue.size();
}

} // namespace zorone::platform
