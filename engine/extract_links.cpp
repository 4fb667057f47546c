#include "engine/extract_links.h"

#include "engine/add_url.h"
#include "engine/output.h"
#include "engine/skipped_links.h"
#include "res/texts.h"
#include "web/link_scanner.h"
#include "web/site_util.h"

#include <climits>

namespace zorone {
namespace {

int ProgressEnd(std::string_view text)
{
    return text.size() > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(text.size());
}

class AddingSink final : public LinkSink {
public:
    AddingSink(Core& core, std::string_view text)
        : m_core(core)
        , m_text(text)
        , m_rowsAtStart(core.list.GetItemCount())
    {
    }

    void OnLink(std::string url) override
    {
        AddURL(m_core, std::move(url));
        // On long lists the add step shows its own duplicate-check progress;
        // take the status line and the bar back afterwards.
        if (m_rowsAtStart > 10000) {
            SetStatusText(m_core, res::kStatusExtracting);
            SetProgressRange(m_core, 0, ProgressEnd(m_text));
        }
    }

    void OnDropped(std::string_view value, Dropped why) override
    {
        NoteSkipped(m_core, why == Dropped::OtherScheme ? SkipReason::NotWebScheme : SkipReason::Unusable,
                    std::string(value));
    }

private:
    Core& m_core;
    std::string_view m_text;
    int m_rowsAtStart;
};

} // namespace

int ExtractLinks(Core& core, const std::string& documentUrl, std::string_view text)
{
    SetStatusText(core, res::kStatusExtracting);
    const std::string folderUrl = CSiteUtil::GetUrlFolder(documentUrl);
    SetProgressRange(core, 0, ProgressEnd(text));
    AddingSink sink(core, text);
    const AnalysedPage page(core, documentUrl);
    // A copy: the tag list may change while links are being added.
    const std::string tags = core.settings.m_sAnalsysTag;
    ScanLinks(folderUrl, text, tags, sink);
    SetProgressPos(core, 0);
    SetStatusText(core, res::kStatusExtractDone);
    return 1;
}

} // namespace zorone
