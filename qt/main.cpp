// The Zorone window program.
#include "app/window_commands.h"
#include "app/zorone_dlg.h"
#include "listops/list_save.h"
#include "listops/list_sort.h"
#include "qt/main_window.h"
#include "qt/qt_message_loop.h"
#include "qt/qt_ui_services.h"

#include "web/program_folder.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    zorone::qt::QtMessageLoop loop;
    zorone::qt::QtUiServices ui;
    zorone::CZoroneDlg dlg(loop, ui, nullptr, zorone::CSiteUtil::GetModuleFolderPrefix());

    zorone::qt::MainWindow window(dlg);
    ui.SetMainWindow(&window);
    ui.SetTrayMenu(window.TrayPopup());
    dlg.SetQuitHook([&loop](int exitCode) { loop.Quit(exitCode); });
    // The tray icon reports through the message queue, as its callback
    // message would arrive.
    ui.SetTrayCallback([&loop](int mouseMessage) {
        zorone::platform::Message m;
        m.id = zorone::platform::kWmTrayNotify;
        m.lParam = mouseMessage;
        loop.Post(std::move(m));
    });
    window.onColumnClick = [&dlg](int column) { zorone::SortByColumn(dlg.core(), column); };
    window.onDropFiles = [&dlg](const std::vector<std::string>& paths) { zorone::OnDropFiles(dlg.core(), paths); };
    window.onFirstShown = [&dlg] {
        dlg.core().m_bFirstPaint = 0;
        zorone::RestoreCarryOverList(dlg.core());
    };

    zorone::OnInitDialog(dlg);
    window.show();
    const int exitCode = app.exec();
    zorone::OnDestroyWindow(dlg);
    return exitCode;
}
