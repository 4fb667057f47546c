#pragma once
// Threads that put complete bodies on disk for the URL service's workers.
// Over HTTP/2 one worker receives every body of a host, and creating,
// writing and naming a file costs it more than receiving a small body: left
// to the worker, file creation would set the pace of the whole host. A
// worker hands each finished body over and goes on receiving.
//
// The queue is bounded in jobs and in the bytes they hold; a full queue
// turns a job away and the worker stores the body itself, which slows its
// transfers to what the disk takes instead of letting memory grow.
//
// Threading: Submit from any thread; jobs run on the store's threads, in no
// guaranteed order. Idle threads sleep until a job comes.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace zorone::platform {

class BodyStore {
public:
    struct Limits {
        // One thread already lets file creation overlap the receiving;
        // more only compete with the workers for the same cores.
        int threads = 1;
        std::size_t maxJobs = 256;
        std::size_t maxBytes = 4 * 1024 * 1024;
    };

    explicit BodyStore(Limits limits);
    // Runs the jobs still queued, then stops the threads: a body that
    // arrived whole is stored even when the service closes.
    ~BodyStore();
    BodyStore(const BodyStore&) = delete;
    BodyStore& operator=(const BodyStore&) = delete;

    // Queues job, which holds bytes of body in memory. False when the queue
    // is full: job is left as it was and the caller runs it itself.
    bool Submit(std::size_t bytes, std::function<void()>& job);

private:
    struct Job {
        std::size_t bytes = 0;
        std::function<void()> run;
    };
    void Run();

    const Limits m_limits;
    std::mutex m_mutex; // guards the members up to m_stopping
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;
    std::size_t m_queuedBytes = 0;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

} // namespace zorone::platform
