#include "app/settings_commands.h"

#include "app/command_ids.h"
#include "app/zorone_dlg.h"
#include "engine/data_exchange.h"

namespace zorone {
namespace {

// Copy in, run, copy back on OK only. Returns whether OK ended the dialog.
template <typename Dialog, typename Run> bool EditCopy(Settings& settings, Run run)
{
    Dialog dlg;
    dlg.CopyIn(settings);
    dlg.OnInitDialog();
    if (!run(dlg))
        return false;
    dlg.CopyBack(settings);
    return true;
}

} // namespace

void EditActionSettings(Core& core, DialogRunner& runner)
{
    EditCopy<CActionSettingDlg>(core.settings, [&](CActionSettingDlg& d) { return runner.RunAction(d); });
}

void EditItemSettings(Core& core, DialogRunner& runner)
{
    EditCopy<CItemSettingDlg>(core.settings, [&](CItemSettingDlg& d) { return runner.RunItem(d); });
}

void EditShortcutSettings(Core& core, DialogRunner& runner)
{
    EditCopy<CShortcutSettingDlg>(core.settings, [&](CShortcutSettingDlg& d) { return runner.RunShortcut(d); });
}

void EditAnalysisSettings(Core& core, DialogRunner& runner)
{
    if (EditCopy<CAnalysisSettingDlg>(core.settings, [&](CAnalysisSettingDlg& d) { return runner.RunAnalysis(d); }))
        WriteFieldsToControls(core);
}

bool AskTopAddress(Core& core, DialogRunner& runner)
{
    CAddressDlg dlg;
    dlg.OnInitDialog();
    if (!runner.RunAddress(dlg))
        return false;
    core.settings.m_sTopURL = dlg.m_sAddress;
    WriteFieldsToControls(core);
    return true;
}

void ShowManual(DialogRunner& runner)
{
    CManualDlg dlg;
    dlg.OnInitDialog();
    runner.RunManual(dlg);
}

void RegisterSettingsCommands(CZoroneDlg& dlg, DialogRunner& runner)
{
    Core& core = dlg.core();
    dlg.Route(cmd::kSettingsAction, [&core, &runner] { EditActionSettings(core, runner); });
    dlg.Route(cmd::kSettingsItem, [&core, &runner] { EditItemSettings(core, runner); });
    dlg.Route(cmd::kSettingsAnalysis, [&core, &runner] { EditAnalysisSettings(core, runner); });
    dlg.Route(cmd::kSettingsShortcut, [&core, &runner] { EditShortcutSettings(core, runner); });
    dlg.Route(cmd::kAddress, [&core, &runner] { AskTopAddress(core, runner); });
    dlg.Route(cmd::kManual, [&runner] { ShowManual(runner); });
}

} // namespace zorone
