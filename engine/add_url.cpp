#include "engine/add_url.h"

#include "engine/output.h"
#include "res/texts.h"
#include "web/list_util.h"
#include "web/site_util.h"
#include "web/text_case.h"
#include "web/url_util.h"

#include <cstdint>

namespace zorone {
namespace {

bool PassesSiteRule(Core& core, const std::string& url, const std::string& site, const std::string& ext)
{
    const bool onSite = url.size() >= site.size() && url.compare(0, site.size(), site) == 0;
    if (onSite)
        return true;
    switch (core.settings.m_nOtherSite) {
    case 1:
        return true;
    case 2:
        return CListUtil::IsInList(ext, core.settings.m_sOtherSiteEx) == 1;
    default:
        return false;
    }
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
            return 0;
        AddURL(core, url + "index.shtml");
        AddURL(core, url + "index.shtm");
        url += core.m_sIndexName;
        name = core.m_sIndexName;
        AddURL(core, url + "l");
    }

    std::string ext = ToLowerCp932(CSiteUtil::GetExtension(name));
    MakeLowerCp932(core.settings.m_sOtherSiteEx);

    const std::string site = CSiteUtil::GetUrlFolder(core.settings.m_sTopURL);
    if (!PassesSiteRule(core, url, site, ext) || !PassesDepthRule(core, url, site) || IsDuplicate(core, url))
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
