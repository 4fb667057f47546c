#pragma once
// What the core asks of the desktop: message boxes, pickers, the shell, the
// tray icon and the main window's title and visibility. Every text crossing
// this interface is CP932; front ends convert at their own boundary.
#include <string>

namespace zorone::platform {

enum class MbButtons { Ok, YesNo, YesNoCancel };

// Each answer has a fixed number, so that logs and tests read the same value
// for the same answer in every version.
enum class MbAnswer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

class UiServices {
public:
    virtual ~UiServices() = default;

    // Modal; the front end keeps dispatching window messages while it waits.
    virtual MbAnswer MessageBox(const std::string& text, const std::string& caption, MbButtons buttons) = 0;

    // A folder picker; the chosen folder without a trailing separator, or ""
    // when the user cancelled.
    virtual std::string PickFolder(const std::string& title) = 0;
    // File dialogs; the chosen full path, or "" when cancelled. filter is the
    // "description|pattern|...|" text of the list commands.
    virtual std::string PickOpenFile(const std::string& defaultName, const std::string& filter) = 0;
    virtual std::string PickSaveFile(const std::string& defaultExtension, const std::string& filter) = 0;

    // Opens a file or address with the desktop's handler ("open" verb).
    virtual bool ShellOpen(const std::string& target) = 0;

    // The notification-area icon. icon is the resource number (128, 142..146);
    // tip is at most 63 bytes.
    virtual void TrayAdd(int icon, const std::string& tip) = 0;
    virtual void TrayModify(int icon, const std::string& tip) = 0;
    virtual void TrayDelete() = 0;

    virtual void SetWindowTitle(const std::string& title) = 0;
    virtual void ShowMainWindow(bool show) = 0;
};

} // namespace zorone::platform
