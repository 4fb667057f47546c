#include "qt/qt_message_loop.h"

#include <QCoreApplication>
#include <QEvent>

namespace zorone::qt {
namespace {

const QEvent::Type kDrainEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

} // namespace

QtMessageLoop::QtMessageLoop() = default;

void QtMessageLoop::SetHandler(Handler handler)
{
    m_handler = std::move(handler);
}

void QtMessageLoop::Post(platform::Message message)
{
    {
        std::lock_guard lock(m_mutex);
        ++m_pendingById[message.id];
        m_queue.push_back(std::move(message));
    }
    QCoreApplication::postEvent(this, new QEvent(kDrainEvent));
}

bool QtMessageLoop::IsPending(unsigned id) const
{
    std::lock_guard lock(m_mutex);
    const auto it = m_pendingById.find(id);
    return it != m_pendingById.end() && it->second > 0;
}

bool QtMessageLoop::TakeOne(platform::Message& out)
{
    std::lock_guard lock(m_mutex);
    if (m_queue.empty())
        return false;
    out = std::move(m_queue.front());
    m_queue.pop_front();
    const auto it = m_pendingById.find(out.id);
    if (--it->second == 0)
        m_pendingById.erase(it);
    return true;
}

void QtMessageLoop::Dispatch(const platform::Message& m)
{
    if (m.id == platform::kWmTask) {
        if (m.task)
            m.task();
    } else if (m_handler) {
        m_handler(m);
    }
}

bool QtMessageLoop::DispatchOne()
{
    platform::Message m;
    if (TakeOne(m)) {
        Dispatch(m);
        return true;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return false;
}

void QtMessageLoop::Quit(int exitCode)
{
    QCoreApplication::exit(exitCode);
}

size_t QtMessageLoop::QueuedCount() const
{
    std::lock_guard lock(m_mutex);
    return m_queue.size();
}

bool QtMessageLoop::event(QEvent* e)
{
    if (e->type() != kDrainEvent)
        return QObject::event(e);
    platform::Message m;
    if (TakeOne(m))
        Dispatch(m);
    return true;
}

} // namespace zorone::qt
