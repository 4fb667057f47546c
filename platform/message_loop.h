#pragma once
// The main window's message queue, as the engine sees it. Everything the
// engine does runs on the one user-interface thread; other threads (the URL
// service) only post.
#include <cstdint>
#include <functional>

namespace zorone::platform {

// Window message numbers of the main window.
constexpr unsigned kWmUser = 0x400;
constexpr unsigned kWmTrayNotify = kWmUser + 100; // tray icon callback
constexpr unsigned kWmCrawlKick = kWmUser + 101;  // dispatch request from outside
constexpr unsigned kWmCrawlNext = kWmUser + 102;  // dispatch request the engine posts
// Carries a task (a URL service notification) to the user-interface thread.
constexpr unsigned kWmTask = kWmUser + 200;

struct Message {
    unsigned id = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    std::function<void()> task; // run by dispatching when id == kWmTask
};

class MessageLoop {
public:
    using Handler = std::function<void(const Message&)>;

    virtual ~MessageLoop() = default;

    // The main window's handler for every message that is not a task.
    virtual void SetHandler(Handler handler) = 0;
    // Thread-safe; the message is dispatched later on the user-interface thread.
    virtual void Post(Message message) = 0;
    // Whether a message with this number waits in the queue; it stays there.
    virtual bool IsPending(unsigned id) const = 0;
    // Takes one waiting message, if there is one, and dispatches it on the
    // calling (user-interface) thread. Returns false when nothing waited.
    virtual bool DispatchOne() = 0;

    void PostTask(std::function<void()> task)
    {
        Message m;
        m.id = kWmTask;
        m.task = std::move(task);
        Post(std::move(m));
    }
};

} // namespace zorone::platform
