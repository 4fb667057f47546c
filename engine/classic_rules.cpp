#include "engine/classic_rules.h"

#include "engine/add_url.h"
#include "engine/core.h"
#include "engine/extract_links.h"
#include "engine/skipped_links.h"
#include "engine/whole_file.h"
#include "res/texts.h"
#include "web/list_util.h"
#include "web/local_path.h"
#include "web/site_util.h"
#include "web/text_case.h"
#include "web/today_url.h"
#include "web/url_util.h"

#include <cstdint>
#include <vector>

namespace zorone {
namespace {

// Each line of the URL field with its root "/" added where it has no path,
// so that "http://host:8080" names the host's folder and not "http://".
std::string WithRootPaths(std::string field)
{
    // Where each line needing its "/" ends, taken before the first insertion
    // moves the text; inserted from the last one up.
    std::vector<size_t> ends;
    for (const std::string_view line : CUrlUtil::UrlLines(field))
        if (CUrlUtil::WithRootPath(line).size() != line.size())
            ends.push_back(static_cast<size_t>(line.data() - field.data()) + line.size());
    for (auto end = ends.rbegin(); end != ends.rend(); ++end)
        field.insert(*end, 1, '/');
    return field;
}

} // namespace

void ClassicRules::AddTopUrls(Core& core)
{
    // The field keeps only the addresses found in it, each with a path.
    core.settings.m_sTopURL = WithRootPaths(CUrlUtil::ExtractUrlsFromText(core.settings.m_sTopURL));
    // A copy: adding may change the settings' text (never this one, but the
    // loop must not depend on that).
    const std::string field = core.settings.m_sTopURL;
    for (const std::string_view line : CUrlUtil::UrlLines(field))
        AddURL(core, std::string(line));
}

std::string ClassicRules::LocalPathOf(const Core& core, const std::string& url) const
{
    return CSiteUtil::LocalPathOf(core.settings.m_sPath, url);
}

std::string ClassicRules::PlaceStored(Core&, ItemId, const std::string&, const std::string& local,
                                      const StoredAnswer&)
{
    // The file keeps the name of the address asked for, whatever the answer.
    return local;
}

void ClassicRules::Analyse(Core& core, const std::string& url, const std::string& local, std::string_view)
{
    // Documents are chosen by extension and size alone; a missing file
    // counts as size 0 and reads as the empty text.
    const std::string ext = ToLowerCp932(CSiteUtil::GetExtension(local));
    if (CListUtil::IsInList(ext, core.settings.m_sAnalsysFileEx) != 1)
        return;
    if (static_cast<std::int64_t>(core.settings.m_nBytes) < CSiteUtil::GetFileSize(local)) {
        core.skipped.Note(SkipReason::TooLarge, url, {});
        return;
    }
    const std::string text = ReadWholeFile(core, local);
    ExtractLinks(core, url, text);
}

void ClassicRules::CollectStoredFiles(const Core& core, std::unordered_map<std::string, std::string>& files) const
{
    // The rows that are done name what this mirror holds; each file lies
    // where the literal mirror puts its URL.
    const std::string& folder = core.settings.m_sPath;
    for (int row = 0; row < core.list.GetItemCount(); ++row) {
        if (core.list.GetItemText(row, kColMark) != res::kMarkDone)
            continue;
        const std::string& url = core.list.GetItemText(row, kColUrl);
        const std::string local = LocalPathOf(core, url);
        if (std::string normal = today::NormaliseUrl(url); !normal.empty() && local.starts_with(folder))
            files.emplace(std::move(normal), local.substr(folder.size()));
    }
}

} // namespace zorone
