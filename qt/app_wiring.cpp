#include "qt/app_wiring.h"

#include "app/command_ids.h"
#include "app/settings_commands.h"
#include "app/shell_commands.h"
#include "app/tray_commands.h"
#include "app/window_commands.h"
#include "listops/list_save.h"
#include "listops/list_sort.h"
#include "platform/code_page.h"
#include "settings/settings_file.h"
#include "web/program_folder.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>

#include <cstdio>
#include <stdexcept>

namespace zorone::qt {

CZoroneApp::CZoroneApp(
    std::string programFolderPrefix, const DialogFactories& dialogs, platform::CurlUrlServiceOptions urlOptions)
    : m_urls(std::make_unique<platform::CurlUrlService>(m_loop, std::move(urlOptions)))
    , m_dlg(m_loop, m_ui, m_urls.get(), std::move(programFolderPrefix))
{
    if (!dialogs.settings)
        throw std::invalid_argument("CZoroneApp needs a settings dialog factory");
    // The program ends only through the exit flow. Without this, closing the
    // last message box while the window is hidden in the tray (the end of a
    // crawl's report) would end the program without saving anything.
    QApplication::setQuitOnLastWindowClosed(false);
    m_dlg.LoadSettings();

    m_window = std::make_unique<MainWindow>(m_dlg);
    MainWindow& window = *m_window;
    m_ui.SetMainWindow(&window);
    // The tray's right click is routed like its callback message would be
    // (the menu is shown by ShowTrayMenu), so the icon carries no menu of its
    // own that would open a second time.
    m_ui.SetTrayCallback([this](int mouseMessage) {
        platform::Message m;
        m.id = platform::kWmTrayNotify;
        m.lParam = mouseMessage;
        m_loop.Post(std::move(m));
    });
    m_dlg.SetQuitHook([this](int exitCode) { m_loop.Quit(exitCode); });

    window.onColumnClick = [this](int column) { SortByColumn(m_dlg.core(), column); };
    window.onDropFiles = [this](const std::vector<std::string>& paths) {
        Core& core = m_dlg.core();
        OnDropFiles(core, paths);
    };
    window.onFirstShown = [this] {
        Core& core = m_dlg.core();
        if (core.m_bFirstPaint != 1)
            return;
        core.m_bFirstPaint = 0;
        RestoreCarryOverList(core);
    };

    m_runner = dialogs.settings(&window);
    RegisterListCommands(m_dlg, dialogs.list ? dialogs.list(&window) : ListDialogs {});
    RegisterSettingsCommands(m_dlg, *m_runner);
    RegisterShellAndTrayCommands(m_dlg, *m_runner, [this] { ShowTrayMenu(); });
    // A window hidden where there is no notification area could never be
    // shown again, and the program could then not be ended through its exit
    // flow: without a tray, "常駐" minimises the window instead.
    m_dlg.Route(cmd::kTrayToggle, [this] {
        Core& core = m_dlg.core();
        if (core.m_bWindowShown == 1 && !QSystemTrayIcon::isSystemTrayAvailable()) {
            m_window->showMinimized();
            return;
        }
        ToggleWindowShown(core);
    });
}

CZoroneApp::~CZoroneApp()
{
    // Routes and hooks capture the runner and the window: unhook them before
    // either goes.
    m_dlg.SetQuitHook({});
    m_dlg.SetMessageHook({});
    m_ui.SetTrayCallback({});
    m_ui.SetMainWindow(nullptr);
}

void CZoroneApp::ShowTrayMenu()
{
    MainWindow& window = *m_window;
    if (window.isVisible()) {
        window.raise();
        window.activateWindow();
    }
    if (QMenu* menu = window.TrayPopup())
        menu->exec(QCursor::pos());
}

void CZoroneApp::Start()
{
    OnInitDialog(m_dlg);
    m_window->ApplyProfile(WindowProfile::Load(CSiteUtil::ProfilePath()));
    m_window->show();
}

bool CZoroneApp::Finish()
{
    if (m_finished)
        return true;
    m_finished = true;
    // A transfer still in flight never hears of its stop once the service is
    // gone; nothing waits for it any more, and the core must not reach the
    // service afterwards.
    m_dlg.core().urls = nullptr;
    m_urls.reset();
    OnDestroyWindow(m_dlg);
    // The window's place and look are a convenience: failing to keep them is
    // not worth a message when the window is already closing.
    m_window->Profile().Save(CSiteUtil::ProfilePath());
    m_window->hide();
    return m_dlg.SaveSettings() == 1;
}

int CZoroneApp::Run()
{
    Start();
    const int quitCode = QApplication::exec();
    if (!Finish()) {
        const std::string folder = platform::Cp932ToUtf8(m_dlg.core().programFolderPrefix);
        std::fprintf(stderr, "zorone: the settings could not be saved in %s or %s\n", folder.c_str(),
            platform::Cp932ToUtf8(CSiteUtil::ProfilePath()).c_str());
        return 1;
    }
    return quitCode == kExitCode ? 0 : quitCode;
}

} // namespace zorone::qt
