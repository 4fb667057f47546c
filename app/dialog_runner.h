#pragma once
// How the commands show the small modal dialogs: the window front end runs
// real dialogs, tests script the user. The command has already copied the
// settings in and initialised the dialog (OnInitDialog), so the controls show
// the members when a Run call begins.
#include "settings/dialog_models.h"

namespace zorone {

class DialogRunner {
public:
    virtual ~DialogRunner() = default;

    // Each runs its dialog modally and returns true only when the user
    // pressed OK and the model's OnOK accepted the controls (the members then
    // hold what was confirmed); false for Cancel, Esc and the close box. The
    // dialog's own buttons ("デフォルト", "参照(&O)", "ヘルプ", the check box
    // and radio clicks) are the model's methods, called while it runs.
    virtual bool RunAction(CActionSettingDlg& dlg) = 0;
    virtual bool RunItem(CItemSettingDlg& dlg) = 0;
    virtual bool RunAnalysis(CAnalysisSettingDlg& dlg) = 0;
    virtual bool RunShortcut(CShortcutSettingDlg& dlg) = 0;
    virtual bool RunAddress(CAddressDlg& dlg) = 0;
    // The manual has no cancel; its result means nothing.
    virtual void RunManual(CManualDlg& dlg) = 0;
};

} // namespace zorone
