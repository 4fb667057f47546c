#pragma once
// The state of the main window's controls, without a toolkit. The engine
// writes it; front ends observe it and render (coalescing as they like), so
// the state after every call is exact whatever the window repaints.
#include "engine/combo_model.h"

#include <algorithm>
#include <string>
#include <vector>

namespace zorone {

// Layout: the summary box was shown or hidden, the controls must move.
enum class WindowPart { Status, Progress, Summary, StartCaption, Title, Tray, Combos, Layout };

class WindowObserver {
public:
    virtual ~WindowObserver() = default;
    virtual void OnWindowChanged(WindowPart part) = 0;
};

struct WindowModel {
    ComboModel folderCombo {false}; // 1046
    ComboModel urlCombo {true};     // 1047
    std::string statusText;         // 1012, "：" at start (set by the core)
    int progressLow = 0;            // 1008
    int progressHigh = 100;
    int progressPos = 0;
    std::string summaryText;  // 1011
    std::string startCaption; // 1003
    std::string title;
    std::string trayTip;
    int trayIcon = 128;

    void AddObserver(WindowObserver* o) { observers.push_back(o); }
    void RemoveObserver(WindowObserver* o)
    {
        observers.erase(std::remove(observers.begin(), observers.end(), o), observers.end());
    }
    void Notify(WindowPart part) const
    {
        for (WindowObserver* o : observers)
            o->OnWindowChanged(part);
    }

    std::vector<WindowObserver*> observers;
};

} // namespace zorone
