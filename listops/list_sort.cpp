#include "listops/list_sort.h"

#include "engine/output.h"
#include "platform/code_page.h"
#include "res/texts.h"

#include <algorithm>
#include <climits>
#include <new>

namespace zorone {
namespace {

// The character starting at i and its code; advances i past it.
unsigned NextChar(std::string_view s, size_t& i)
{
    const auto lead = static_cast<unsigned char>(s[i++]);
    if (platform::IsLeadByte(lead) && i < s.size())
        return lead * 256u + static_cast<unsigned char>(s[i++]);
    return lead;
}

} // namespace

int CompareCp932(std::string_view a, std::string_view b)
{
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const unsigned ca = NextChar(a, i);
        const unsigned cb = NextChar(b, j);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

void SortByColumn(Core& core, int column)
{
    core.m_bSortDescending = core.m_bSortDescending == 0 ? 1 : 0;
    const int n = core.list.GetItemCount();
    if (n < 2)
        return;
    SetStatusText(core, res::kStatusSorting);
    if (n >= kLongListRows
        && core.ui.MessageBox(res::kMsgTakesTime, "", platform::MbButtons::YesNo) != platform::MbAnswer::Yes)
        return;
    const int total = n > INT_MAX / 3 ? INT_MAX : 3 * n;
    SetProgressRange(core, 0, total);
    std::vector<DownloadItem> rows;
    try {
        rows = core.list.CopyRows();
    } catch (const std::bad_alloc&) {
        core.ui.MessageBox(res::kMsgOutOfMemory, res::kCaptionErrorOccurred, platform::MbButtons::Ok);
        return;
    }
    // No message is dispatched between the stages, so the bar shows each
    // stage's end rather than every row.
    SetProgressPos(core, n - 1);
    const bool descending = core.m_bSortDescending == 1;
    // Every key of a column outside 0..4 is empty: nothing moves.
    if (column >= 0 && column < kColumnCount) {
        const auto col = static_cast<size_t>(column);
        std::stable_sort(rows.begin(), rows.end(), [&](const DownloadItem& x, const DownloadItem& y) {
            const int c = CompareCp932(x.cols[col], y.cols[col]);
            return descending ? c > 0 : c < 0;
        });
    }
    SetProgressPos(core, total / 3 * 2 - 1);
    core.list.ReplaceRows(std::move(rows));
    SetProgressPos(core, total - 1);
    SetStatusText(core, res::kStatusSortDone);
    SetProgressPos(core, 0);
}

} // namespace zorone
