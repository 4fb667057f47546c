#pragma once
// The rules that turn links into rows and rows into files. Two sets exist:
// the classic rules (byte rules on the URL text, a folder URL guessed as its
// index files, the configured attributes read for links) and today's rules
// (RFC 3986 addresses with their queries, any file name, every reference a
// page needs, names a browser can open). The crawl asks the set the settings
// choose through this one interface; neither set knows of the other.
#include "engine/download_item.h"

#include <string>
#include <unordered_map>
#include <string_view>

namespace zorone {

struct Core;

// What the answer said about a stored body.
struct StoredAnswer {
    // The address the body came from after redirects; empty when unknown.
    std::string finalUrl;
    // The Content-Type header as sent; empty when there was none.
    std::string contentType;
};

class WebRules {
public:
    virtual ~WebRules() = default;

    // Tidies the URL field (one address a line, in the rules' own form) and
    // adds a row for each of its top URLs.
    virtual void AddTopUrls(Core& core) = 0;
    // Where url's file is kept: the download folder and the path below it.
    virtual std::string LocalPathOf(const Core& core, const std::string& url) const = 0;
    // A transfer stored the body of the row item (URL url) at local. Returns
    // where the file stands now: the rules may give it a better name, and
    // may give the row the address it really came from.
    virtual std::string PlaceStored(Core& core, ItemId item, const std::string& url, const std::string& local,
                                    const StoredAnswer& answer)
        = 0;
    // Reads the stored file of url for links when the rules read that kind
    // of file, and adds the rows its links lead to. contentType is empty for
    // a file found on disk.
    virtual void Analyse(Core& core, const std::string& url, const std::string& local, std::string_view contentType)
        = 0;
    // Every address whose file the mirror holds, in today's normal form,
    // with the file's path below the download folder: what link conversion
    // points references at.
    virtual void CollectStoredFiles(const Core& core, std::unordered_map<std::string, std::string>& files) const = 0;
};

// The rule set the core's settings choose: today's for m_nWebRules 1,
// classic for every other value.
WebRules& RulesOf(const Core& core);

} // namespace zorone
