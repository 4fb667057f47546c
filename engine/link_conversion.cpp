#include "engine/link_conversion.h"

#include "engine/completion.h"
#include "engine/output.h"
#include "engine/web_rules.h"
#include "platform/mapped_file.h"
#include "res/texts.h"
#include "web/file_text.h"
#include "web/today_converter.h"
#include "web/today_url.h"

#include <chrono>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace zorone {
namespace {

// How long one slice may hold the user-interface thread.
constexpr std::chrono::milliseconds kSliceBudget {40};

class MirrorFiles final : public today::StoredFiles {
public:
    const std::string* FileOf(const std::string& url) const override
    {
        const auto found = files.find(url);
        return found == files.end() ? nullptr : &found->second;
    }

    std::unordered_map<std::string, std::string> files;
};

struct ConversionJob {
    std::vector<Core::StoredDocument> documents;
    MirrorFiles mirror;
    size_t next = 0;
};

// Rewrites one document in place; a document that cannot be read or
// written keeps the bytes it had.
void ConvertOne(const Core& core, const ConversionJob& job, const Core::StoredDocument& doc)
{
    const std::string& folder = core.settings.m_sPath;
    const std::optional<today::DocKind> kind = today::DocumentKindOf(doc.contentType, doc.local);
    if (!kind || !doc.local.starts_with(folder))
        return;
    std::string converted;
    {
        platform::files::MappedFile file;
        if (!file.OpenBeneath(folder, doc.local))
            return;
        const std::string_view bytes = file.data();
        today::ConvertedDocument out
            = today::ConvertDocument(bytes, *kind, today::DetectCharset(doc.contentType, bytes, *kind),
                                     today::NormaliseUrl(doc.url), doc.local.substr(folder.size()), job.mirror);
        if (out.bytes == bytes)
            return;
        converted = std::move(out.bytes);
    }
    // Written beside the old file and renamed over it: a crash leaves the
    // old document or the new one, never half of each.
    CSiteUtil::ReplaceFileText(doc.local, converted);
}

void RunSlice(Core& core, std::shared_ptr<ConversionJob> job)
{
    const auto end = std::chrono::steady_clock::now() + kSliceBudget;
    while (job->next < job->documents.size() && std::chrono::steady_clock::now() < end)
        ConvertOne(core, *job, job->documents[job->next++]);
    SetProgressPos(core, static_cast<int>(job->next));
    if (job->next < job->documents.size()) {
        core.loop.PostTask([&core, job] { RunSlice(core, job); });
        return;
    }
    SetProgressPos(core, 0);
    core.m_bConverting = 0;
    FinishCrawl(core);
}

} // namespace

bool LinkConversionPending(const Core& core)
{
    return core.m_bConverting == 0 && ConvertsLinks(core.settings) && !core.storedThisCrawl.empty();
}

void StartLinkConversion(Core& core)
{
    auto job = std::make_shared<ConversionJob>();
    // Two addresses may share a file ('/d/' and '/d/index.html'): each file
    // is converted once, as the last of them stored it, or its converted
    // references would be read as links a second time.
    std::unordered_set<std::string> seen;
    for (auto doc = core.storedThisCrawl.rbegin(); doc != core.storedThisCrawl.rend(); ++doc)
        if (seen.insert(doc->local).second)
            job->documents.push_back(std::move(*doc));
    core.storedThisCrawl.clear();
    RulesOf(core).CollectStoredFiles(core, job->mirror.files);
    core.m_bConverting = 1;
    SetStatusText(core, res::kStatusConvertingLinks);
    SetProgressRange(core, 0, static_cast<int>(job->documents.size()));
    core.loop.PostTask([&core, job] { RunSlice(core, job); });
}

} // namespace zorone
