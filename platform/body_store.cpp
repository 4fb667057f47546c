#include "platform/body_store.h"

#include <algorithm>
#include <utility>

namespace zorone::platform {

BodyStore::BodyStore(Limits limits)
    : m_limits(limits)
{
    const int threads = std::max(limits.threads, 1);
    for (int i = 0; i < threads; ++i)
        m_threads.emplace_back([this] { Run(); });
}

BodyStore::~BodyStore()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    for (std::thread& t : m_threads)
        t.join();
}

bool BodyStore::Submit(std::size_t bytes, std::function<void()>& job)
{
    {
        std::lock_guard lock(m_mutex);
        // An empty queue takes any job, so a body larger than the byte bound
        // still leaves its worker.
        const bool full = m_jobs.size() >= m_limits.maxJobs
            || (!m_jobs.empty() && m_queuedBytes + bytes > m_limits.maxBytes);
        if (full || m_stopping)
            return false;
        m_jobs.push_back({bytes, std::move(job)});
        m_queuedBytes += bytes;
    }
    m_wake.notify_one();
    return true;
}

void BodyStore::Run()
{
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
            if (m_jobs.empty())
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        job.run();
        // The bytes count until the job is done: a body being written still
        // takes its memory.
        std::lock_guard lock(m_mutex);
        m_queuedBytes -= job.bytes;
    }
}

} // namespace zorone::platform
