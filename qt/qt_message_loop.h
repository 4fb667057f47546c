#pragma once
// The main window's message queue on Qt's event loop.
//
// Messages wait in a queue of our own, so IsPending can look without taking
// anything; each Post also posts a Qt event whose delivery dispatches the
// oldest waiting message. A message the engine already took with DispatchOne
// leaves its Qt event with nothing to do.
#include "platform/message_loop.h"

#include <QObject>

#include <deque>
#include <mutex>
#include <unordered_map>

namespace zorone::qt {

class QtMessageLoop final : public QObject, public platform::MessageLoop {
public:
    // Create on the user-interface thread, after the QApplication.
    QtMessageLoop();

    void SetHandler(Handler handler) override;
    // Thread-safe.
    void Post(platform::Message message) override;
    bool IsPending(unsigned id) const override;
    // Dispatches the oldest waiting message. When none waits, lets Qt handle
    // its pending events once (paint, input, timers) so the window stays alive
    // during long operations, and returns false.
    bool DispatchOne() override;

    // Ends the application's event loop with this exit code.
    void Quit(int exitCode);

    size_t QueuedCount() const;

protected:
    bool event(QEvent* e) override;

private:
    bool TakeOne(platform::Message& out);
    void Dispatch(const platform::Message& m);

    mutable std::mutex m_mutex;
    std::deque<platform::Message> m_queue;
    std::unordered_map<unsigned, int> m_pendingById;
    Handler m_handler;
};

} // namespace zorone::qt
