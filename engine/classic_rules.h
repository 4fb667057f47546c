#pragma once
// The classic rule set: the add step of add_url.h, the literal mirror of
// web/local_path.h and the attribute scan of web/link_scanner.h.
#include "engine/web_rules.h"

namespace zorone {

class ClassicRules final : public WebRules {
public:
    void AddTopUrls(Core& core) override;
    std::string LocalPathOf(const Core& core, const std::string& url) const override;
    std::string PlaceStored(Core& core, ItemId item, const std::string& url, const std::string& local,
                            const StoredAnswer& answer) override;
    void Analyse(Core& core, const std::string& url, const std::string& local, std::string_view contentType) override;
    void CollectStoredFiles(const Core& core, std::unordered_map<std::string, std::string>& files) const override;
};

} // namespace zorone
