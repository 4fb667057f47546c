// The Zorone window program.
#include "app/zorone_dlg.h"
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
    window.show();
    return app.exec();
}
