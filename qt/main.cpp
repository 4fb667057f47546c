// The Zorone window program.
#include "platform/code_page.h"
#include "platform/heap_tuning.h"
#include "qt/app_wiring.h"
#include "qt/list_dialogs.h"
#include "qt/qt_dialog_runner.h"
#include "qt/qt_translations.h"
#include "web/program_folder.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv)
{
    zorone::platform::KeepFreedHeapForReuse();
    QApplication app(argc, argv);
    if (const std::string problem = zorone::platform::CodePageProblem(); !problem.empty()) {
        QMessageBox::critical(nullptr, QStringLiteral("Zorone"), QString::fromStdString(problem));
        return 1;
    }
    zorone::qt::InstallQtTranslations(app);
    zorone::qt::DialogFactories dialogs;
    dialogs.settings = [](QWidget* parent) { return std::make_unique<zorone::qt::QtDialogRunner>(parent); };
    dialogs.list = [](QWidget* parent) { return zorone::qt::MakeQtListDialogs(parent); };
    zorone::qt::CZoroneApp zorone(zorone::CSiteUtil::GetModuleFolderPrefix(), dialogs);
    return zorone.Run();
}
