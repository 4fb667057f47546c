#include "app/window_commands.h"

#include "app/command_ids.h"
#include "app/zorone_dlg.h"
#include "engine/data_exchange.h"
#include "engine/output.h"
#include "res/texts.h"
#include "settings/sav_profile.h"
#include "web/dialog_helpers.h"

namespace zorone {
namespace {

constexpr int kHistoryMax = 10;

void LoadHistory(const Core& core, std::string_view key, ComboModel& combo)
{
    std::vector<std::string> items;
    CSavProfile(core.programFolderPrefix).LoadComboList(kSavSection, key, items);
    // The URL box is sorted: AddString puts each item in its place.
    for (std::string& item : items)
        combo.AddString(std::move(item));
}

} // namespace

void OnInitDialog(CZoroneDlg& dlg)
{
    Core& core = dlg.core();
    core.m_sIndexName = "index.htm";
    LoadHistory(core, kHistoryFolderKey, core.window.folderCombo);
    LoadHistory(core, kHistoryUrlKey, core.window.urlCombo);
    core.window.Notify(WindowPart::Combos);
    core.m_bRunning = 0;
    if (core.settings.m_nTotalDownloadCount == 0)
        core.ui.MessageBox(res::kMsgFirstRun, res::kCaptionUsage, platform::MbButtons::Ok);
    core.m_bClosing = 0;
    core.m_bWindowShown = 1;
    core.ui.TrayAdd(128, res::kTrayTip);
    core.window.Notify(WindowPart::Layout);
    WriteFieldsToControls(core);
}

void OnDestroyWindow(CZoroneDlg& dlg)
{
    Core& core = dlg.core();
    const CSavProfile profile(core.programFolderPrefix);
    profile.SaveComboList(kSavSection, kHistoryFolderKey, core.window.folderCombo.Items());
    profile.SaveComboList(kSavSection, kHistoryUrlKey, core.window.urlCombo.Items());
    core.ui.TrayDelete();
}

void PickDownloadFolder(CZoroneDlg& dlg)
{
    Core& core = dlg.core();
    SetStatusText(core, res::kStatusFolderPick);
    const std::string picked = CSiteUtil::BrowseForFolder(core.ui, core.settings.m_sPath);
    if (!picked.empty() && picked != core.settings.m_sPath) {
        ComboModel& history = core.window.folderCombo;
        history.InsertString(0, core.settings.m_sPath);
        while (history.GetCount() > kHistoryMax)
            history.DeleteString(kHistoryMax);
        core.window.Notify(WindowPart::Combos);
        core.settings.m_sPath = picked;
    }
    SetStatusText(core, res::kStatusFolderPickDone);
    WriteFieldsToControls(core);
}

void ToggleSummary(CZoroneDlg& dlg)
{
    int& shown = dlg.core().settings.m_nDisplayDownloadFileExList;
    shown = shown == 0 ? 1 : 0;
    dlg.core().window.Notify(WindowPart::Layout);
}

void RegisterWindowCommands(CZoroneDlg& dlg)
{
    dlg.Route(cmd::kBrowse, [&dlg] { PickDownloadFolder(dlg); });
    dlg.Route(cmd::kPickFolder, [&dlg] { PickDownloadFolder(dlg); });
    dlg.Route(cmd::kToggleSummary, [&dlg] { ToggleSummary(dlg); });
}

} // namespace zorone
