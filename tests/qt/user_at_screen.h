#pragma once
// Plays the user in front of a running window: a timer looks for open
// message boxes and pop-up menus, the way a person would see them appear,
// records what they showed and answers through their real buttons. Boxes get
// the scripted button labels in order; an unscripted box is answered with its
// escape button (the most cautious answer), a pop-up menu is closed.
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMessageBox>
#include <QThread>
#include <QTimer>

#include <deque>
#include <functional>
#include <vector>

namespace zorone::test {

class UserAtScreen {
public:
    struct Seen {
        QString caption;
        QString text;
        QString pressed;
    };

    UserAtScreen()
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Look(); });
        m_timer.start();
    }

    void Press(const char* label) { m_labels.push_back(QString::fromUtf8(label)); }
    const std::vector<Seen>& Boxes() const { return m_boxes; }
    const std::vector<QMenu*>& Menus() const { return m_menus; }
    size_t Unused() const { return m_labels.size(); }

private:
    void Look()
    {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            m_menus.push_back(menu);
            menu->close();
            return;
        }
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        Seen seen { box->windowTitle(), box->text(), {} };
        QAbstractButton* target = box->escapeButton();
        if (!m_labels.empty()) {
            for (QAbstractButton* b : box->buttons())
                if (b->text() == m_labels.front())
                    target = b;
            m_labels.pop_front();
        }
        seen.pressed = target ? target->text() : QString();
        m_boxes.push_back(seen);
        if (target)
            target->click();
        else
            box->reject();
    }

    QTimer m_timer;
    std::deque<QString> m_labels;
    std::vector<Seen> m_boxes;
    std::vector<QMenu*> m_menus;
};

// Lets the event loop run until done() holds; false when it still does not
// after a generous while (a hang guard, not a measurement).
inline bool PumpUntil(const std::function<bool()>& done, int limitMs = 30000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    return true;
}

} // namespace zorone::test
