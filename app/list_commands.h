#pragma once
// Routing of the list commands (files, sorting aside, maintenance, keyword
// save, item editing, exit) and the list's pop-up menu.
#include "app/zorone_dlg.h"
#include "listops/item_edit.h"
#include "listops/keyword_save.h"

#include <functional>
#include <string>
#include <vector>

namespace zorone {

// The modal dialogs the list commands open. The window supplies runners that
// show dialogs 137 and 139 and return true for OK; without one a dialog
// counts as cancelled, so the command does nothing.
struct ListDialogs {
    std::function<bool(CKeywordSaveDlg&)> keywordSave;
    ItemEditRunner itemEdit;
};

// Routes 32771-32773, 32783, 1007, 32791-32795 and 32797. Called again by a
// front end with its dialog runners, it replaces the routes.
void RegisterListCommands(CZoroneDlg& dlg, ListDialogs dialogs = {});

// The exit flow of command 32771, the close box and Esc: posts quit
// code 18 unless the user chose to stay. A stay ends the closing state again,
// so the status line keeps working for the rest of the run.
void ExitApplication(CZoroneDlg& dlg);
constexpr int kExitCode = 18;

} // namespace zorone
