#include "engine/today_add_url.h"

#include "engine/list_admission.h"
#include "engine/robots_gate.h"
#include "engine/skipped_links.h"
#include "web/site_util.h"
#include "web/text_case.h"
#include "web/today_local_name.h"
#include "web/today_url.h"

namespace zorone {
namespace {

// The last path segment of url, its query left out ("list" of
// 'https://h/list?page=2'); its extension chooses the priority and the
// other-site rule as a classic file name does.
std::string_view PathName(const std::string& url, const std::string& folder)
{
    std::string_view rest = std::string_view(url).substr(folder.size());
    return rest.substr(0, rest.find('?'));
}

// The file name the row shows: the name the file gets on disk.
std::string ShownName(const std::string& url)
{
    const std::string path = today::LocalRelativePath(url, {});
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

int AddTodayUrl(Core& core, const TodaySite& site, const std::string& url, LinkRole role, const std::string& pageUrl)
{
    if (url.empty())
        return 0;
    const std::string folder = today::PathFolderOf(url);
    const std::string ext = ToLowerCp932(CSiteUtil::GetExtension(PathName(url, folder)));
    MakeLowerCp932(core.settings.m_sOtherSiteEx);

    const std::string* home = SiteOf(site.folders, url);
    const bool pageHost = role == LinkRole::Requisite && today::HostKeyOf(url) == today::HostKeyOf(pageUrl);
    if (!home && !pageHost && !PassesOtherSiteRule(core, ext))
        return RefuseLink(core, OffSiteReason(core), url);
    if (role != LinkRole::Requisite) {
        const std::string& base = home ? *home : site.folders.front();
        if (!PassesDepthRule(core, today::PathSeparators(url), today::PathSeparators(base)))
            return RefuseLink(core, SkipReason::TooDeep, url);
    }
    if (IsDuplicate(core, url))
        return RefuseLink(core, SkipReason::Duplicate, url);
    if (RobotsRefuses(core, url))
        return 0;
    InsertWaitingRow(core, ShownName(url), ext, url);
    return 1;
}

} // namespace zorone
