#pragma once
// A message loop without a window, for the terminal front end and for tests.
#include "platform/message_loop.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace zorone::platform {

class HeadlessLoop final : public MessageLoop {
public:
    void SetHandler(Handler handler) override;
    void Post(Message message) override;
    bool IsPending(unsigned id) const override;
    bool DispatchOne() override;

    // Dispatches messages, waiting for new ones, until Quit is called.
    // Returns the exit code given to Quit.
    int Run();
    void Quit(int exitCode);
    bool QuitRequested() const;

    // Dispatches until the queue is empty or, when wait is positive, until
    // nothing arrives for that long. Returns the number of messages dispatched.
    int DispatchPending(std::chrono::milliseconds wait = std::chrono::milliseconds(0));

    // Dispatches (waiting up to timeout in total) until done() returns true.
    // Returns done()'s final value.
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

    size_t QueuedCount() const;

private:
    bool TakeOne(Message& out, std::chrono::milliseconds wait);
    void Dispatch(const Message& m);

    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<Message> m_queue;
    Handler m_handler;
    bool m_quit = false;
    int m_exitCode = 0;
};

} // namespace zorone::platform
