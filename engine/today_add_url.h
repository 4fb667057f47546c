#pragma once
// The add step of today's rules: a normalised address (its query kept) is
// judged by the site, depth and duplicate settings, and a page requisite by
// the host of the page that needs it.
#include "engine/core.h"

#include <string>
#include <vector>

namespace zorone {

enum class LinkRole {
    Top,       // a top URL of the URL field
    Page,      // a document the page links to
    Requisite, // what the page needs to display: images, styles, scripts, fonts, media, frames
};

// Where a crawl under today's rules may go: the folders of its top URLs and
// of the addresses they were redirected to.
struct TodaySite {
    std::vector<std::string> folders;
};

// url is a normalised absolute address (today::NormaliseUrl), or "" for a
// reference that is not a web link. pageUrl is the page the link was found
// on ("" for a top URL). A page link or top URL must lie under a site folder
// (or pass the other-site setting) and within the depth limit; a requisite
// on the page's own host is taken wherever it sits and counts no depth, one
// on another host passes the other-site setting. Returns 1 when a row was
// added, 0 when a rule refused it.
int AddTodayUrl(Core& core, const TodaySite& site, const std::string& url, LinkRole role, const std::string& pageUrl);

} // namespace zorone
