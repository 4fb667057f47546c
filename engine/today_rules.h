#pragma once
// Today's rule set: addresses resolved and compared as RFC 3986 URLs with
// their queries, every reference a page or style sheet needs read from it,
// and each file stored under a name a browser opening the mirror finds.
// Where each URL's file went is recorded, so nothing guesses it back.
#include "engine/today_add_url.h"
#include "engine/today_file_record.h"
#include "engine/web_rules.h"

#include <string>
#include <unordered_map>
#include <unordered_set>

namespace zorone {

class TodayRules final : public WebRules {
public:
    void AddTopUrls(Core& core) override;
    std::string LocalPathOf(const Core& core, const std::string& url) const override;
    std::string PlaceStored(Core& core, ItemId item, const std::string& url, const std::string& local,
                            const StoredAnswer& answer) override;
    void Analyse(Core& core, const std::string& url, const std::string& local, std::string_view contentType) override;
    void CollectStoredFiles(const Core& core, std::unordered_map<std::string, std::string>& files) const override;

private:
    // The site of the current top URLs, with the redirect targets learnt.
    TodaySite SiteOfTopUrls(const Core& core) const;

    // The address a link leads to once the hosts known to have moved to
    // https are asked over https directly.
    std::string Upgraded(std::string url) const;
    // The recorded address of the mirror file that link names when read in
    // the mirror file docFile (below the download folder); "" when it names
    // none.
    std::string FromMirrorFile(const std::string& docFile, std::string_view link) const;

    // Where each URL's file went; opened on the download folder in use.
    mutable FileRecord m_record;
    // Hosts (as HostKeyOf gives them) whose http top URL answered from https on
    // the same host: their http links are asked over https, as a browser
    // told to use https for a host does, instead of a redirect per file.
    std::unordered_set<std::string> m_httpsHosts;
    // Top URL -> the folder of the address it was redirected to.
    std::unordered_map<std::string, std::string> m_redirectedTops;
};

} // namespace zorone
