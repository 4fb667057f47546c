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

bool IsDecimal(std::string_view s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Sorting group of a size cell: empty, a number, anything else.
int SizeGroup(std::string_view s)
{
    return s.empty() ? 0 : IsDecimal(s) ? 1 : 2;
}

// Two decimal texts by value, whatever their length: leading zeros aside,
// the longer one is larger, and equal lengths compare digit by digit.
int CompareDecimal(std::string_view a, std::string_view b)
{
    a.remove_prefix(std::min(a.find_first_not_of('0'), a.size()));
    b.remove_prefix(std::min(b.find_first_not_of('0'), b.size()));
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    const int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

} // namespace

int CompareCells(int column, std::string_view a, std::string_view b)
{
    if (column != kColSize)
        return CompareCp932(a, b);
    const int ga = SizeGroup(a);
    const int gb = SizeGroup(b);
    if (ga != gb)
        return ga < gb ? -1 : 1;
    return ga == 1 ? CompareDecimal(a, b) : CompareCp932(a, b);
}

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
            const int c = CompareCells(column, x.cols[col], y.cols[col]);
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
