#pragma once
// The desktop services of the core on Qt: message boxes, pickers, the shell,
// the notification-area icon and the main window's title and visibility.
#include "platform/ui_services.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class QMenu;
class QSystemTrayIcon;

namespace zorone::qt {

class QtUiServices final : public platform::UiServices {
public:
    QtUiServices();
    ~QtUiServices() override;

    // The window that owns the dialogs and receives title and visibility.
    void SetMainWindow(QWidget* window) { m_window = window; }
    // The menu the tray icon shows on a right click.
    void SetTrayMenu(QMenu* menu);
    // Receives the tray icon's mouse events as window mouse-message numbers
    // (0x203 left double click, 0x204 right button down).
    void SetTrayCallback(std::function<void(int mouseMessage)> callback) { m_trayCallback = std::move(callback); }

    platform::MbAnswer MessageBox(
        const std::string& text, const std::string& caption, platform::MbButtons buttons) override;
    std::string PickFolder(const std::string& title) override;
    std::string PickOpenFile(const std::string& defaultName, const std::string& filter) override;
    std::string PickSaveFile(const std::string& defaultExtension, const std::string& filter) override;
    bool ShellOpen(const std::string& target) override;
    void TrayAdd(int icon, const std::string& tip) override;
    void TrayModify(int icon, const std::string& tip) override;
    void TrayDelete() override;
    void SetWindowTitle(const std::string& title) override;
    void ShowMainWindow(bool show) override;

    // The program that opens pages and addresses for the desktop.
    static constexpr const char* kOpener = "xdg-open";

private:
    void ReportNoHandler(const std::string& target);

    // Ties the openers' reports to the lifetime of these services.
    QObject m_openerReports;
    QPointer<QWidget> m_window;
    QPointer<QMenu> m_trayMenu;
    std::unique_ptr<QSystemTrayIcon> m_tray;
    std::function<void(int)> m_trayCallback;
};

// "CSV File (*.csv)|*.csv|All (*.*)|*.*|" as a Qt name filter
// "CSV File (*.csv) (*.csv);;All (*.*) (*)".
QString ToQtNameFilter(const QString& filter);

// path with the extension of a Qt name filter such as "CSV (*.csv)" added
// when its file name has none; unchanged when it has one or the filter takes
// any name.
QString WithFilterExtension(const QString& path, const QString& nameFilter);

} // namespace zorone::qt
