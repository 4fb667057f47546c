#include "engine/today_rules.h"

#include "engine/core.h"
#include "engine/output.h"
#include "engine/skipped_links.h"
#include "platform/folder_beneath.h"
#include "platform/code_page.h"
#include "platform/mapped_file.h"
#include "res/texts.h"
#include "web/local_path.h"
#include "web/site_util.h"
#include "web/percent_escape.h"
#include "web/today_converter.h"
#include "web/today_local_name.h"
#include "web/today_scanner.h"
#include "web/today_url.h"
#include "web/url_util.h"

#include <functional>
#include <optional>

namespace zorone {
namespace {

// The normalised top URLs of the URL field, in order.
std::vector<std::string> TopUrls(const Core& core)
{
    std::vector<std::string> tops;
    for (const std::string_view line : CUrlUtil::UrlLines(core.settings.m_sTopURL))
        if (std::string url = today::NormaliseUrl(line); !url.empty())
            tops.push_back(std::move(url));
    return tops;
}

constexpr std::string_view kHttp = "http://";
constexpr std::string_view kHttps = "https://";

// Where a page of the mirror stands as an address, for resolving the
// relative file paths a converted page holds.
constexpr std::string_view kMirrorRoot = "http://mirror.invalid/";

// Adds a row for each reference of one document, resolved against the
// document's address or the first <base href>.
class TodaySink final : public today::RefSink {
public:
    // The address a resolved reference is added under.
    using Target = std::function<std::string(const today::FoundRef&, std::string)>;

    TodaySink(Core& core, const TodaySite& site, const std::string& pageUrl, Target target)
        : m_core(core)
        , m_target(std::move(target))
        , m_site(site)
        , m_pageUrl(pageUrl)
        , m_base(pageUrl)
    {
    }

    void OnRef(const today::FoundRef& ref) override
    {
        if (ref.role == today::RefRole::Base) {
            if (!m_baseSeen) {
                m_baseSeen = true;
                if (std::string base = today::ResolveLink(m_pageUrl, ref.link); !base.empty())
                    m_base = std::move(base);
            }
            return;
        }
        const LinkRole role = ref.role == today::RefRole::Page ? LinkRole::Page : LinkRole::Requisite;
        std::string url = today::ResolveLink(m_base, ref.link);
        if (url.empty()) {
            // A lone "#x" is this page itself, not a refused link.
            if (ref.link.front() != '#')
                NoteSkipped(m_core, !today::SchemeOf(ref.link).empty() ? SkipReason::NotWebScheme : SkipReason::Unusable, ref.link);
            return;
        }
        AddTodayUrl(m_core, m_site, m_target(ref, std::move(url)), role, m_pageUrl);
    }

private:
    Core& m_core;
    Target m_target;
    const TodaySite& m_site;
    const std::string& m_pageUrl;
    std::string m_base;
    bool m_baseSeen = false;
};

} // namespace

std::string TodayRules::FromMirrorFile(const std::string& docFile, std::string_view link) const
{
    if (!today::SchemeOf(link).empty() || link.starts_with("//"))
        return {};
    const std::string file = std::string(kMirrorRoot) + today::RelativeReference("x", docFile);
    const std::string target = today::ResolveLink(file, link);
    if (!target.starts_with(kMirrorRoot))
        return {};
    const std::string_view path = std::string_view(target).substr(kMirrorRoot.size());
    // A converted page names its files without queries ("@" stands for "?").
    if (path.find('?') != std::string_view::npos)
        return {};
    const std::string* url = m_record.UrlOf(platform::Utf8ToCp932(today::PercentDecoded(path)));
    return url ? *url : std::string();
}

std::string TodayRules::Upgraded(std::string url) const
{
    if (url.starts_with(kHttp) &&
        m_httpsHosts.count(today::HostKeyOf(url)) != 0)
        url.replace(0, kHttp.size(), kHttps);
    return url;
}

TodaySite TodayRules::SiteOfTopUrls(const Core& core) const
{
    TodaySite site;
    for (const std::string& top : TopUrls(core)) {
        site.folders.push_back(today::PathFolderOf(top));
        if (const auto moved = m_redirectedTops.find(top); moved != m_redirectedTops.end())
            site.folders.push_back(moved->second);
    }
    // A crawl of list rows alone has no site: every address is another
    // site's, as under the classic rules.
    if (site.folders.empty())
        site.folders.emplace_back();
    return site;
}

void TodayRules::AddTopUrls(Core& core)
{
    m_record.Open(core.settings.m_sPath);
    // Each line in its normal form, a typed Japanese name included; a line
    // that is no address keeps the addresses found in its text.
    std::string field;
    for (const std::string_view line : CUrlUtil::UrlLines(core.settings.m_sTopURL)) {
        std::vector<std::string> urls {today::NormaliseUrl(line)};
        if (urls.front().empty()) {
            urls.clear();
            const std::string found = CUrlUtil::ExtractUrlsFromText(line);
            for (const std::string_view each : CUrlUtil::UrlLines(found))
                urls.push_back(today::NormaliseUrl(each));
        }
        for (const std::string& url : urls)
            if (!url.empty())
                field.append(field.empty() ? "" : "\r\n").append(url);
    }
    core.settings.m_sTopURL = std::move(field);
    const TodaySite site = SiteOfTopUrls(core);
    for (const std::string& top : TopUrls(core))
        AddTodayUrl(core, site, top, LinkRole::Top, {});
}

std::string TodayRules::LocalPathOf(const Core& core, const std::string& url) const
{
    const std::string normal = today::NormaliseUrl(url);
    const std::string& folder = core.settings.m_sPath;
    m_record.Open(folder);
    if (const std::string* recorded = m_record.FileOf(normal))
        return folder + *recorded;
    // Before the answer tells the type, a name without any extension is
    // taken for a page: 'docs' is stored as 'docs.html', so it never
    // collides with the folder of 'docs/'. Where an earlier crawl put a file
    // under its typed name, the record says so above.
    const std::string plain = today::LocalRelativePath(normal, {});
    const bool hasExtension = !CSiteUtil::GetExtension(CSiteUtil::GetFileName(plain)).empty();
    return folder + (hasExtension ? plain : today::LocalRelativePath(normal, "text/html"));
}

std::string TodayRules::PlaceStored(Core& core, ItemId item, const std::string& url, const std::string& local,
                                    const StoredAnswer& answer)
{
    const std::string asked = today::NormaliseUrl(url);
    std::string final = today::NormaliseUrl(answer.finalUrl);
    if (final.empty())
        final = asked;
    const std::string& folder = core.settings.m_sPath;
    std::string placed = folder + today::LocalRelativePath(final, answer.contentType);
    if (placed != local) {
        std::string root;
        std::string from;
        std::string to;
        if (!platform::files::SplitBeneath(folder, local, root, from) ||
            !platform::files::SplitBeneath(folder, placed, root, to) ||
            !platform::files::MoveBeneath(root, from, to))
            // The body stays whole under the name it was stored as.
            placed = local;
    }
    if (final != asked) {
        if (const int row = core.list.FindItem(item); row >= 0)
            core.list.SetItemText(row, kColUrl, final);
        // A top URL that moved (http to https, a new host) takes its site
        // along: the pages it links to are on the new address.
        for (const std::string& top : TopUrls(core))
            if (top == asked)
                m_redirectedTops[top] = today::PathFolderOf(final);
        const bool sameHost = today::HostKeyOf(asked) == today::HostKeyOf(final);
        if (sameHost && asked.starts_with(kHttp) && final.starts_with(kHttps))
            m_httpsHosts.insert(today::HostKeyOf(asked));
    }
    if (placed.starts_with(folder)) {
        m_record.Note(asked, placed.substr(folder.size()));
        m_record.Note(final, placed.substr(folder.size()));
    }
    return placed;
}

void TodayRules::CollectStoredFiles(const Core& core, std::unordered_map<std::string, std::string>& files) const
{
    const std::string& folder = core.settings.m_sPath;
    m_record.Open(folder);
    for (const auto& [url, file] : m_record.Files())
        files.emplace(url, file);
}

void TodayRules::Analyse(Core& core, const std::string& url, const std::string& local, std::string_view contentType)
{
    const std::optional<today::DocKind> kind = today::DocumentKindOf(contentType, local);
    if (!kind)
        return;
    // Mapped, not read: a page of any size is read for links without a copy
    // of it in memory.
    platform::files::MappedFile file;
    if (!file.OpenBeneath(core.settings.m_sPath, local))
        return;
    SetStatusText(core, res::kStatusExtracting);
    const AnalysedPage analysed(core, url);
    const std::string_view bytes = file.data();
    const std::string page = today::NormaliseUrl(url);
    const TodaySite site = SiteOfTopUrls(core);
    // A file found on disk may be a page this program converted: its
    // references name files of the mirror, which the record maps back to
    // the addresses they came from.
    const std::string& folder = core.settings.m_sPath;
    const std::string docFile = contentType.empty() && local.starts_with(folder) ? local.substr(folder.size()) : "";
    TodaySink sink(core, site, page, [this, &docFile](const today::FoundRef& ref, std::string url) {
        if (!docFile.empty())
            if (std::string recorded = FromMirrorFile(docFile, ref.link); !recorded.empty())
                return recorded;
        return Upgraded(std::move(url));
    });
    today::ScanReferences(bytes, *kind, today::DetectCharset(contentType, bytes, *kind), sink);
    SetStatusText(core, res::kStatusExtractDone);
}

} // namespace zorone
