#include "engine/list_admission.h"

#include "engine/output.h"
#include "res/texts.h"
#include "web/list_util.h"

#include <cstdint>

namespace zorone {

const std::string* SiteOf(const std::vector<std::string>& folders, const std::string& url)
{
    const std::string* best = nullptr;
    for (const std::string& site : folders) {
        const bool under = url.size() >= site.size() && url.compare(0, site.size(), site) == 0;
        if (under && (!best || site.size() > best->size()))
            best = &site;
    }
    return best;
}

bool PassesOtherSiteRule(Core& core, const std::string& ext)
{
    switch (core.settings.m_nOtherSite) {
    case 1:
        return true;
    case 2:
        return CListUtil::IsInList(ext, core.settings.m_sOtherSiteEx) == 1;
    default:
        return false;
    }
}

SkipReason OffSiteReason(const Core& core)
{
    return core.settings.m_nOtherSite == 2 ? SkipReason::ExtensionNotWanted : SkipReason::OutsideSite;
}

bool PassesDepthRule(const Core& core, int urlSeparators, int siteSeparators)
{
    // 64-bit sums: a depth setting near INT_MAX must not overflow.
    const std::int64_t depth = core.settings.m_nKaisou;
    const std::int64_t separators = urlSeparators;
    switch (core.settings.m_nKaisouKind) {
    case 0:
        return true;
    case 1:
        return depth + siteSeparators >= separators;
    case 2:
        return depth >= separators - 1;
    default:
        return false;
    }
}

bool IsDuplicate(Core& core, const std::string& url)
{
    if (core.settings.m_bDoubleDownloadItem != 1)
        return false;
    // The list's URL index answers what a scan of every row would; long
    // lists still show that the check runs.
    const int n = core.list.GetItemCount();
    if (n > 10000) {
        SetStatusText(core, res::kStatusDuplicateCheck);
        SetProgressRange(core, 0, n);
    }
    const bool found = core.list.ContainsUrl(url);
    if (n > 10000)
        SetProgressPos(core, 0);
    return found;
}

namespace {

bool IsPriority(const Core& core, const std::string& ext)
{
    switch (core.settings.m_nPriorityEx) {
    case 1:
        return ext == "htm" || ext == "html";
    case 2:
        return CListUtil::IsInList(ext, core.settings.m_sPriorityEx_Other) == 1;
    default:
        return false;
    }
}

} // namespace

void InsertWaitingRow(Core& core, std::string name, const std::string& ext, std::string url)
{
    const int position = IsPriority(core, ext) ? 0 : core.list.GetItemCount();
    const int row = core.list.InsertItem(position, res::kMarkWaiting);
    core.list.SetItemText(row, kColFileName, std::move(name));
    core.list.SetItemText(row, kColExtension, ext);
    core.tally.TallyListed(ext);
    core.list.SetItemText(row, kColUrl, std::move(url));
    UpdateSummary(core);
    core.m_bListModified = 1;
}

} // namespace zorone
