#pragma once
// The terminal as the core's user interface: message boxes become lines
// ("caption: text"), questions take their safe default, and the status line,
// summary head and progress are drawn on stderr.
#include "engine/window_model.h"
#include "platform/ui_services.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace zorone::cli {

class TerminalUi final : public platform::UiServices, public WindowObserver {
public:
    explicit TerminalUi(bool quiet);
    // The window model whose status and head are drawn.
    void Attach(const WindowModel& window) { m_window = &window; }

    platform::MbAnswer MessageBox(const std::string& text, const std::string& caption,
                                  platform::MbButtons buttons) override;
    std::string PickFolder(const std::string&) override { return {}; }
    std::string PickOpenFile(const std::string&, const std::string&) override { return {}; }
    std::string PickSaveFile(const std::string&, const std::string&) override { return {}; }
    bool ShellOpen(const std::string&) override { return false; }
    void TrayAdd(int, const std::string&) override { }
    void TrayModify(int, const std::string&) override { }
    void TrayDelete() override { }
    void SetWindowTitle(const std::string&) override { }
    void ShowMainWindow(bool) override { }

    void OnWindowChanged(WindowPart part) override;

    // Draws the last state now and ends the progress line.
    void Flush();
    // Prints an error line on stderr (shown even when quiet).
    void Error(const std::string& utf8Line);

private:
    void Render(bool force);
    void ClearLine();
    std::string StatusLine() const;

    const WindowModel* m_window = nullptr;
    bool m_quiet;
    bool m_tty;
    int m_columns = 80;
    bool m_lineShown = false;
    std::string m_lastPrinted;
    std::chrono::steady_clock::time_point m_lastRender {};
};

} // namespace zorone::cli
