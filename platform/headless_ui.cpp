#include "platform/headless_ui.h"

namespace zorone::platform {

MbAnswer HeadlessUi::MessageBox(const std::string& text, const std::string& caption, MbButtons buttons)
{
    m_calls.push_back({"MessageBox", text, caption, static_cast<int>(buttons)});
    if (onMessageBox)
        onMessageBox();
    if (!m_answers.empty()) {
        const MbAnswer a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    switch (buttons) {
    case MbButtons::Ok:
        return MbAnswer::Ok;
    case MbButtons::YesNo:
        return MbAnswer::No;
    case MbButtons::YesNoCancel:
        break;
    }
    return MbAnswer::Cancel;
}

std::string HeadlessUi::NextPick()
{
    if (m_picks.empty())
        return {};
    std::string p = std::move(m_picks.front());
    m_picks.pop_front();
    return p;
}

std::string HeadlessUi::PickFolder(const std::string& title)
{
    m_calls.push_back({"PickFolder", title, {}, 0});
    return NextPick();
}

std::string HeadlessUi::PickOpenFile(const std::string& defaultName, const std::string& filter)
{
    m_calls.push_back({"PickOpenFile", defaultName, filter, 0});
    return NextPick();
}

std::string HeadlessUi::PickSaveFile(const std::string& defaultExtension, const std::string& filter)
{
    m_calls.push_back({"PickSaveFile", defaultExtension, filter, 0});
    return NextPick();
}

bool HeadlessUi::ShellOpen(const std::string& target)
{
    m_calls.push_back({"ShellOpen", target, {}, 0});
    return true;
}

void HeadlessUi::TrayAdd(int icon, const std::string& tip)
{
    m_calls.push_back({"TrayAdd", tip, {}, icon});
    trayPresent = true;
    trayIcon = icon;
    trayTip = tip;
}

void HeadlessUi::TrayModify(int icon, const std::string& tip)
{
    m_calls.push_back({"TrayModify", tip, {}, icon});
    trayIcon = icon;
    trayTip = tip;
}

void HeadlessUi::TrayDelete()
{
    m_calls.push_back({"TrayDelete", {}, {}, 0});
    trayPresent = false;
}

void HeadlessUi::SetWindowTitle(const std::string& t)
{
    m_calls.push_back({"SetWindowTitle", t, {}, 0});
    title = t;
}

void HeadlessUi::ShowMainWindow(bool show)
{
    m_calls.push_back({"ShowMainWindow", {}, {}, show ? 1 : 0});
    windowShown = show;
}

std::vector<HeadlessUi::Call> HeadlessUi::CallsOf(const std::string& kind) const
{
    std::vector<Call> out;
    for (const Call& c : m_calls)
        if (c.kind == kind)
            out.push_back(c);
    return out;
}

} // namespace zorone::platform
