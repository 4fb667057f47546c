#include "listops/item_edit.h"

#include "engine/data_exchange.h"
#include "res/texts.h"
#include "web/site_util.h"

#include <algorithm>

namespace zorone {
namespace {

void SetUrl(Core& core, int row, const std::string& url)
{
    const std::string name = CSiteUtil::GetFileName(url);
    core.list.SetItemText(row, kColExtension, CSiteUtil::GetExtension(name));
    core.list.SetItemText(row, kColFileName, name);
    core.list.SetItemText(row, kColUrl, url);
}

} // namespace

const std::vector<std::string>& ItemEditMarks()
{
    static const std::vector<std::string> marks { "", res::kMarkWaiting, res::kMarkZero, res::kMarkTriangle,
        res::kMarkCross };
    return marks;
}

void OpenSelectedItem(Core& core, const std::vector<int>& selected)
{
    if (selected.empty())
        return;
    for (int row : selected)
        core.ui.ShellOpen(core.list.GetItemText(row, kColUrl));
    WriteFieldsToControls(core);
}

void EditSelectedItems(Core& core, const std::vector<int>& selected, const ItemEditRunner& runDialog)
{
    if (selected.empty())
        return;
    // The dialog is modal and messages keep flowing while it is open: a
    // crawl may insert or remove rows meanwhile, so the edit follows the
    // items, not the positions they had when the dialog opened.
    std::vector<ItemId> items;
    for (int row : selected) {
        if (const ItemId id = core.list.GetItemId(row))
            items.push_back(id);
    }
    if (items.empty())
        return;
    CItemEditDlg dlg;
    const bool single = items.size() == 1;
    if (single) {
        dlg.m_sMark = core.list.GetItemText(selected.front(), kColMark);
        dlg.m_sURL = core.list.GetItemText(selected.front(), kColUrl);
    }
    if (!runDialog || !runDialog(dlg))
        return;
    for (ItemId id : items) {
        const int row = core.list.FindItem(id);
        if (row < 0)
            continue;
        if (single || !dlg.m_sMark.empty())
            core.list.SetItemText(row, kColMark, dlg.m_sMark);
        if (single || !dlg.m_sURL.empty())
            SetUrl(core, row, dlg.m_sURL);
    }
    WriteFieldsToControls(core);
}

void DeleteSelectedItems(Core& core, std::vector<int> selected)
{
    if (selected.empty())
        return;
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        core.list.DeleteItem(*it);
    WriteFieldsToControls(core);
}

} // namespace zorone
