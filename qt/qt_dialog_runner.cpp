#include "qt/qt_dialog_runner.h"

#include "qt/qt_ui_services.h"
#include "qt/settings_dialogs.h"

#include <QDialog>

namespace zorone::qt {

bool RunModal(
    platform::UiServices* ui, const std::function<std::unique_ptr<QDialog>(platform::UiServices& dialogUi)>& make)
{
    QtUiServices dialogUi;
    std::unique_ptr<QDialog> dialog = make(ui ? *ui : dialogUi);
    dialogUi.SetMainWindow(dialog.get());
    return dialog->exec() == QDialog::Accepted;
}

QtDialogRunner::QtDialogRunner(QWidget* parent, platform::UiServices* ui)
    : m_parent(parent)
    , m_ui(ui)
{
}

template <typename Model> bool QtDialogRunner::Run(Model& dlg)
{
    return RunModal(m_ui, [&](platform::UiServices& ui) { return MakeSettingsDialog(dlg, ui, m_parent); });
}

bool QtDialogRunner::RunAction(CActionSettingDlg& dlg)
{
    return Run(dlg);
}

bool QtDialogRunner::RunItem(CItemSettingDlg& dlg)
{
    return Run(dlg);
}

bool QtDialogRunner::RunAnalysis(CAnalysisSettingDlg& dlg)
{
    return Run(dlg);
}

bool QtDialogRunner::RunShortcut(CShortcutSettingDlg& dlg)
{
    return Run(dlg);
}

bool QtDialogRunner::RunAddress(CAddressDlg& dlg)
{
    return Run(dlg);
}

void QtDialogRunner::RunManual(CManualDlg& dlg)
{
    Run(dlg);
}

} // namespace zorone::qt
