#include "listops/list_maintenance.h"

#include "engine/data_exchange.h"
#include "engine/output.h"
#include "listops/list_sort.h"
#include "listops/text_format.h"
#include "res/texts.h"

#include <climits>
#include <new>
#include <string_view>
#include <unordered_set>

namespace zorone {

void RemoveDuplicateURLs(Core& core)
{
    const int n = core.list.GetItemCount();
    if (n < 1)
        return;
    SetStatusText(core, res::kStatusDedupe);
    if (n >= kLongListRows
        && core.ui.MessageBox(res::kMsgTakesTime, "", platform::MbButtons::YesNo) != platform::MbAnswer::Yes)
        return;
    const int total = n > INT_MAX / 3 ? INT_MAX : 3 * n;
    SetProgressRange(core, 0, total);
    std::vector<DownloadItem> kept;
    try {
        std::vector<DownloadItem> rows = core.list.CopyRows();
        SetProgressPos(core, n - 1);
        // The views point into rows, which stay in place until every URL
        // has been seen; only then are the survivors moved out.
        std::vector<char> first(rows.size(), 0);
        {
            std::unordered_set<std::string_view> seen;
            seen.reserve(rows.size());
            for (size_t i = 0; i < rows.size(); ++i)
                first[i] = seen.insert(rows[i].cols[kColUrl]).second ? 1 : 0;
        }
        kept.reserve(rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            if (first[i])
                kept.push_back(std::move(rows[i]));
        }
    } catch (const std::bad_alloc&) {
        core.ui.MessageBox(res::kMsgOutOfMemory, res::kCaptionErrorOccurred, platform::MbButtons::Ok);
        return;
    }
    SetProgressPos(core, total / 3 * 2 - 1);
    core.list.ReplaceRows(std::move(kept));
    SetProgressPos(core, total - 1);
    SetStatusText(core, res::kStatusDedupeDone);
    SetProgressPos(core, 0);
}

void ShowListInfo(Core& core)
{
    core.ui.MessageBox(
        FormatCount(res::kMsgListInfo, core.list.GetItemCount()), res::kCaptionListInfo, platform::MbButtons::Ok);
}

void ClearList(Core& core)
{
    ReadFieldsFromControls(core);
    core.list.DeleteAllItems();
    core.tally.Reset();
    core.m_sSummary.clear();
    // The title and tray tip count the list too; left alone they would go on
    // showing the totals of the rows just removed.
    UpdateTrayAndTitle(core, res::kTitlePrefix + SummaryHead(core));
    SetStatusText(core, res::kStatusClearDone);
    WriteFieldsToControls(core);
    core.m_bListModified = 0;
}

} // namespace zorone
