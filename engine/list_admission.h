#pragma once
// The checks of the add step that the settings drive alike under both rule
// sets (other sites, depth, duplicates, priority), and the insertion of the
// waiting row itself. What a URL, its folder and its extension are is the
// rule set's business; these take them as given.
#include "engine/core.h"
#include "engine/skipped_links.h"

#include <string>
#include <vector>

namespace zorone {

// The longest of the site folders that url lies under (byte prefix), or null
// when it is off every site.
const std::string* SiteOf(const std::vector<std::string>& folders, const std::string& url);
// m_nOtherSite: whether a file of another site with this (lower-case)
// extension is wanted.
bool PassesOtherSiteRule(Core& core, const std::string& ext);
// Why the other-site rule refused a URL of another site.
SkipReason OffSiteReason(const Core& core);
// m_nKaisouKind/m_nKaisou: whether a URL with urlSeparators separators lies
// within the depth limit of its site, whose folder has siteSeparators.
bool PassesDepthRule(const Core& core, int urlSeparators, int siteSeparators);
// m_bDoubleDownloadItem: whether url is refused because a row holds it.
bool IsDuplicate(Core& core, const std::string& url);
// Inserts the waiting row ("－"), at the top when m_nPriorityEx makes the
// extension a priority one, and updates the tally and the summary.
void InsertWaitingRow(Core& core, std::string name, const std::string& ext, std::string url);

} // namespace zorone
