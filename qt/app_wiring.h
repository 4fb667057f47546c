#pragma once
// The window program put together: the message loop, the desktop services,
// the URL service, the main dialog's logic and its window, with every command
// routed to the dialogs that serve it. main() builds one CZoroneApp and runs
// it; tests build one to drive the whole program through its widgets.
//
// Life cycle: construction loads the settings; Start initialises the window
// (histories, the first-run hint before the window shows, the tray icon),
// places it as the user's profile says and shows it, and its first paint
// offers the carry-over list; the exit flow ends the event loop with quit
// code 18; Finish then stops the transfers, saves the histories, removes the
// tray icon and saves the window's profile and the settings.
#include "app/dialog_runner.h"
#include "app/list_commands.h"
#include "app/zorone_dlg.h"
#include "platform/curl_url_service.h"
#include "qt/main_window.h"
#include "qt/qt_message_loop.h"
#include "qt/qt_ui_services.h"

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace zorone::qt {

// How the modal dialogs are made, given the main window as their parent:
// the real Qt dialogs in the program, scripted users in tests. settings is
// required; without list, the keyword-save and item-edit commands count
// their dialogs as cancelled.
struct DialogFactories {
    std::function<std::unique_ptr<DialogRunner>(QWidget* parent)> settings;
    std::function<ListDialogs(QWidget* parent)> list;
};

class CZoroneApp {
public:
    // Create after the QApplication. programFolderPrefix ends with "/".
    CZoroneApp(std::string programFolderPrefix, const DialogFactories& dialogs,
        platform::CurlUrlServiceOptions urlOptions = {});
    ~CZoroneApp();
    CZoroneApp(const CZoroneApp&) = delete;
    CZoroneApp& operator=(const CZoroneApp&) = delete;

    // Window initialisation, then the window is shown.
    void Start();
    // Everything after the event loop has ended; call once. Returns whether
    // the settings (Zorone.sav and the lifetime counter) were written.
    bool Finish();
    // Start, the event loop, Finish: the process's exit status. A quit by
    // the exit flow (code 18) is a normal end, 0; settings that could not be
    // written make it 1, after a note on stderr, since the window that could
    // have said so is gone.
    int Run();

    CZoroneDlg& dlg() { return m_dlg; }
    MainWindow& window() { return *m_window; }
    QtUiServices& ui() { return m_ui; }
    QtMessageLoop& loop() { return m_loop; }

private:
    void ShowTrayMenu();

    QtMessageLoop m_loop;
    QtUiServices m_ui;
    std::unique_ptr<platform::CurlUrlService> m_urls;
    CZoroneDlg m_dlg;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<DialogRunner> m_runner;
    bool m_finished = false;
};

} // namespace zorone::qt
