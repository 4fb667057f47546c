// The Zorone window program.
#include "app/zorone_dlg.h"
#include "qt/main_window.h"
#include "qt/qt_message_loop.h"
#include "qt/qt_ui_services.h"

#include <QApplication>
#include <QDir>

#include <cstdlib>
#include <string>

namespace {

// The program folder with its trailing "/": $ZORONE_HOME when set, else the
// executable's folder.
std::string ProgramFolderPrefix()
{
    const char* home = std::getenv("ZORONE_HOME");
    QString folder = home && *home ? QString::fromLocal8Bit(home) : QCoreApplication::applicationDirPath();
    folder = QDir::cleanPath(folder);
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder.toStdString();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    zorone::qt::QtMessageLoop loop;
    zorone::qt::QtUiServices ui;
    zorone::CZoroneDlg dlg(loop, ui, nullptr, ProgramFolderPrefix());

    zorone::qt::MainWindow window(dlg);
    ui.SetMainWindow(&window);
    ui.SetTrayMenu(window.TrayPopup());
    ui.SetTrayCallback([&dlg](int mouseMessage) {
        zorone::platform::Message m;
        m.id = zorone::platform::kWmTrayNotify;
        m.lParam = mouseMessage;
        dlg.OnMessage(m);
    });
    window.show();
    return app.exec();
}
