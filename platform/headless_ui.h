#pragma once
// UiServices without a desktop: records every call and answers from a script.
// Tests drive whole runs with it; unscripted questions get a fixed default.
#include "platform/ui_services.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace zorone::platform {

class HeadlessUi : public UiServices {
public:
    struct Call {
        std::string kind; // "MessageBox", "PickFolder", "ShellOpen", "TrayAdd", ...
        std::string text; // message text, picker title, target, tip, title
        std::string caption;
        int number = 0; // buttons of a message box, icon number, shown flag
    };

    MbAnswer MessageBox(const std::string& text, const std::string& caption, MbButtons buttons) override;
    std::string PickFolder(const std::string& title) override;
    std::string PickOpenFile(const std::string& defaultName, const std::string& filter) override;
    std::string PickSaveFile(const std::string& defaultExtension, const std::string& filter) override;
    bool ShellOpen(const std::string& target) override;
    void TrayAdd(int icon, const std::string& tip) override;
    void TrayModify(int icon, const std::string& tip) override;
    void TrayDelete() override;
    void SetWindowTitle(const std::string& title) override;
    void ShowMainWindow(bool show) override;

    // Scripted answers, taken in order. An unscripted message box answers OK
    // for OK boxes, No for Yes/No and Cancel for Yes/No/Cancel; an
    // unscripted picker is cancelled.
    void QueueAnswer(MbAnswer answer) { m_answers.push_back(answer); }
    void QueuePick(std::string path) { m_picks.push_back(std::move(path)); }
    size_t UnusedAnswers() const { return m_answers.size(); }

    // Runs inside every message box before it answers, as a modal box's
    // nested message loop would.
    std::function<void()> onMessageBox;

    const std::vector<Call>& Calls() const { return m_calls; }
    std::vector<Call> CallsOf(const std::string& kind) const;
    void ClearCalls() { m_calls.clear(); }

    bool trayPresent = false;
    int trayIcon = 0;
    std::string trayTip;
    std::string title;
    bool windowShown = true;

private:
    std::string NextPick();

    std::vector<Call> m_calls;
    std::deque<MbAnswer> m_answers;
    std::deque<std::string> m_picks;
};

} // namespace zorone::platform
