#include "engine/add_url.h"

#include "engine/output.h"
#include "engine/robots_gate.h"
#include "engine/skipped_links.h"
#include "res/texts.h"
#include "web/list_util.h"
#include "web/site_util.h"
#include "web/text_case.h"
#include "web/url_util.h"

#include <cstdint>
#include <vector>

namespace zorone {
namespace {

// The folder of every top URL (the URL field may hold several, one a line).
std::vector<std::string> TopFolders(const std::string& topUrls)
{
    std::vector<std::string> folders;
    for (const std::string_view line : CUrlUtil::UrlLines(topUrls))
        folders.push_back(CSiteUtil::GetUrlFolder(line));
    if (folders.empty())
        folders.emplace_back();
    return folders;
}

// The longest top folder that url lies under, or null when it is off every
// site.
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

// Why the site rule refused a URL of another site.
SkipReason OffSiteReason(const Core& core)
{
    return core.settings.m_nOtherSite == 2 ? SkipReason::ExtensionNotWanted : SkipReason::OutsideSite;
}

bool PassesDepthRule(const Core& core, const std::string& url, const std::string& site)
{
    // 64-bit sums: a depth setting near INT_MAX must not overflow.
    const std::int64_t depth = core.settings.m_nKaisou;
    const std::int64_t separators = CSiteUtil::CountSeparators(url);
    switch (core.settings.m_nKaisouKind) {
    case 0:
        return true;
    case 1:
        return depth + CSiteUtil::CountSeparators(site) >= separators;
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

int AddURL(Core& core, std::string url)
{
    url = CUrlUtil::StripQueryAndFragment(url);
    std::string name = CSiteUtil::GetFileName(url);
    if (name.empty()) {
        // A text without any separator keeps an empty file name even with an
        // index name appended, so its candidates would expand forever. No
        // caller passes one; it is refused.
        if (CSiteUtil::CountSeparators(url) == 0)
            return RefuseLink(core, SkipReason::Unusable, url);
        AddURL(core, url + "index.shtml");
        AddURL(core, url + "index.shtm");
        url += core.m_sIndexName;
        name = core.m_sIndexName;
        AddURL(core, url + "l");
    }

    std::string ext = ToLowerCp932(CSiteUtil::GetExtension(name));
    MakeLowerCp932(core.settings.m_sOtherSiteEx);

    // A URL under any top URL's folder is on the site, and its relative
    // depth counts from the deepest such folder; one let in from another
    // site counts from the first top URL.
    const std::vector<std::string> folders = TopFolders(core.settings.m_sTopURL);
    const std::string* site = SiteOf(folders, url);
    if (!site) {
        if (!PassesOtherSiteRule(core, ext))
            return RefuseLink(core, OffSiteReason(core), url);
        site = &folders.front();
    }
    if (!PassesDepthRule(core, url, *site))
        return RefuseLink(core, SkipReason::TooDeep, url);
    if (IsDuplicate(core, url))
        return RefuseLink(core, SkipReason::Duplicate, url);
    if (RobotsRefuses(core, url))
        return 0;

    const int position = IsPriority(core, ext) ? 0 : core.list.GetItemCount();
    const int row = core.list.InsertItem(position, res::kMarkWaiting);
    core.list.SetItemText(row, kColFileName, std::move(name));
    core.list.SetItemText(row, kColExtension, ext);
    core.tally.TallyListed(ext);
    core.list.SetItemText(row, kColUrl, std::move(url));
    UpdateSummary(core);
    core.m_bListModified = 1;
    return 1;
}

} // namespace zorone
