#pragma once
// The small modal dialogs of the settings commands as real Qt dialogs.
#include "app/dialog_runner.h"
#include "platform/ui_services.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QDialog;

namespace zorone::qt {

class QtDialogRunner final : public DialogRunner {
public:
    // The dialogs open over parent. ui, when given, answers the messages and
    // pickers the dialogs ask for (tests script it); without it they appear
    // as Qt message boxes and pickers over the open dialog.
    explicit QtDialogRunner(QWidget* parent, platform::UiServices* ui = nullptr);

    bool RunAction(CActionSettingDlg& dlg) override;
    bool RunItem(CItemSettingDlg& dlg) override;
    bool RunAnalysis(CAnalysisSettingDlg& dlg) override;
    bool RunShortcut(CShortcutSettingDlg& dlg) override;
    bool RunAddress(CAddressDlg& dlg) override;
    void RunManual(CManualDlg& dlg) override;

private:
    template <typename Model> bool Run(Model& dlg);

    QPointer<QWidget> m_parent;
    platform::UiServices* m_ui;
};

// Runs the dialog that make builds modally and returns whether it was
// accepted. The dialog's messages go to ui, or when it is null to Qt message
// boxes owned by the dialog itself, so that they stay above it.
bool RunModal(
    platform::UiServices* ui, const std::function<std::unique_ptr<QDialog>(platform::UiServices& dialogUi)>& make);

} // namespace zorone::qt
