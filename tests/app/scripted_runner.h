#pragma once
// A DialogRunner that plays the user from a script: each dialog's script
// edits the controls, presses the model's buttons and ends the dialog by
// returning whether it pressed OK. An unscripted dialog is cancelled.
#include "app/dialog_runner.h"

#include <functional>

namespace zorone::test {

class ScriptedRunner : public DialogRunner {
public:
    template <typename Dialog> using Script = std::function<bool(Dialog&)>;

    Script<CActionSettingDlg> action;
    Script<CItemSettingDlg> item;
    Script<CAnalysisSettingDlg> analysis;
    Script<CShortcutSettingDlg> shortcut;
    Script<CAddressDlg> address;
    std::function<void(CManualDlg&)> manual;
    int runs = 0;

    bool RunAction(CActionSettingDlg& d) override { return Play(action, d); }
    bool RunItem(CItemSettingDlg& d) override { return Play(item, d); }
    bool RunAnalysis(CAnalysisSettingDlg& d) override { return Play(analysis, d); }
    bool RunShortcut(CShortcutSettingDlg& d) override { return Play(shortcut, d); }
    bool RunAddress(CAddressDlg& d) override { return Play(address, d); }
    void RunManual(CManualDlg& d) override
    {
        ++runs;
        if (manual)
            manual(d);
    }

private:
    template <typename Dialog> bool Play(const Script<Dialog>& script, Dialog& d)
    {
        ++runs;
        return script ? script(d) : false;
    }
};

} // namespace zorone::test
