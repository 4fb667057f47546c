#include "engine/add_url.h"

#include "engine/list_admission.h"
#include "engine/robots_gate.h"
#include "engine/skipped_links.h"
#include "web/site_util.h"
#include "web/text_case.h"
#include "web/url_util.h"

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
    if (!PassesDepthRule(core, CSiteUtil::CountSeparators(url), CSiteUtil::CountSeparators(*site)))
        return RefuseLink(core, SkipReason::TooDeep, url);
    if (IsDuplicate(core, url))
        return RefuseLink(core, SkipReason::Duplicate, url);
    if (RobotsRefuses(core, url))
        return 0;
    InsertWaitingRow(core, std::move(name), ext, std::move(url));
    return 1;
}

} // namespace zorone
