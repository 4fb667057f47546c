#include "app/list_commands.h"

#include "app/command_ids.h"
#include "listops/list_maintenance.h"
#include "listops/list_save.h"
#include "listops/skipped_file.h"
#include "res/texts.h"

#include <memory>

namespace zorone {

void RegisterListCommands(CZoroneDlg& dlg, ListDialogs dialogs)
{
    Core& core = dlg.core();
    const auto shared = std::make_shared<const ListDialogs>(std::move(dialogs));
    dlg.Route(cmd::kExit, [&dlg] { ExitApplication(dlg); });
    dlg.Route(cmd::kLoadList, [&core] { LoadListCommand(core); });
    dlg.Route(cmd::kSaveList, [&core] { SaveListCommand(core); });
    dlg.Route(cmd::kClear, [&core] { ClearList(core); });
    dlg.Route(cmd::kClearMenu, [&core] { ClearList(core); });
    dlg.Route(cmd::kRemoveDuplicates, [&core] { RemoveDuplicateURLs(core); });
    dlg.Route(cmd::kListInfo, [&core] { ShowListInfo(core); });
    dlg.Route(cmd::kSaveSkipped, [&core] { SaveSkippedCommand(core); });
    dlg.Route(cmd::kKeywordSave, [&core, shared] {
        CKeywordSaveDlg keywords;
        if (shared->keywordSave && shared->keywordSave(keywords))
            KeywordFilteredSave(core, keywords);
    });
    dlg.Route(cmd::kOpenItems, [&dlg] { OpenSelectedItem(dlg.core(), dlg.SelectedRows()); });
    dlg.Route(cmd::kEditItems, [&dlg, shared] { EditSelectedItems(dlg.core(), dlg.SelectedRows(), shared->itemEdit); });
    dlg.Route(cmd::kDeleteItems, [&dlg] { DeleteSelectedItems(dlg.core(), dlg.SelectedRows()); });
}

void ExitApplication(CZoroneDlg& dlg)
{
    Core& core = dlg.core();
    core.m_bClosing = 1;
    if (PrepareExit(core)) {
        dlg.Quit(kExitCode);
        return;
    }
    core.m_bClosing = 0;
}

} // namespace zorone
