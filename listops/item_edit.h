#pragma once
// Commands on the selected rows of the list: open, edit, delete.
#include "engine/core.h"

#include <functional>
#include <string>
#include <vector>

namespace zorone {

// The fields of dialog 139. The combo box offers kItemEditMarks; the user
// may type any other text.
struct CItemEditDlg {
    std::string m_sMark; // 1043
    std::string m_sURL; // 1045
};

// The entries of the mark combo box, in order: "", "－", "〇", "△", "×".
// "〇" is the ideographic zero, not the done mark "○": a row given it is
// fetched again by the next crawl.
const std::vector<std::string>& ItemEditMarks();

// Runs a dialog modally on its fields; true when it ended with OK. Set by
// the window (tests script it). Without a runner the dialog counts as
// cancelled.
using ItemEditRunner = std::function<bool(CItemEditDlg&)>;

// Hands the URL of every selected row, top first, to the desktop.
void OpenSelectedItem(Core& core, const std::vector<int>& selected);
// One row: the dialog shows its mark and URL and "反映" writes both back
// (file name and extension follow the URL). Several rows: the dialog starts
// empty and each non-empty field is written to every selected row.
void EditSelectedItems(Core& core, const std::vector<int>& selected, const ItemEditRunner& runDialog);
// Deletes the selected rows, highest position first.
void DeleteSelectedItems(Core& core, std::vector<int> selected);

} // namespace zorone
