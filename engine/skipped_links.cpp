#include "engine/skipped_links.h"

#include "engine/core.h"
#include "res/texts.h"

#include <cstring>

namespace zorone {
namespace {

// URLs are packed into chunks of this size; a chunk never splits a URL.
constexpr size_t kChunkBytes = 1 << 20;

constexpr std::array<std::string_view, kSkipReasonCount> kReasonNames = {
    "outside-site", "too-deep", "duplicate", "extension-not-wanted",
    "not-web-scheme", "robots.txt", "too-large", "unusable-address",
};

} // namespace

std::string_view SkipReasonName(SkipReason reason)
{
    return kReasonNames[static_cast<size_t>(reason)];
}

SkippedLinks::SkippedLinks() = default;
SkippedLinks::~SkippedLinks() = default;

SkippedLinks::Span SkippedLinks::Store(std::string_view text)
{
    text = text.substr(0, kMaxSkippedUrlBytes);
    if (m_chunks.empty() || m_chunkUsed + text.size() > kChunkBytes) {
        m_chunks.push_back(std::make_unique<char[]>(kChunkBytes));
        m_chunkUsed = 0;
    }
    Span span;
    span.chunk = static_cast<std::uint32_t>(m_chunks.size() - 1);
    span.offset = static_cast<std::uint32_t>(m_chunkUsed);
    span.length = static_cast<std::uint16_t>(text.size());
    if (!text.empty())
        std::memcpy(m_chunks.back().get() + m_chunkUsed, text.data(), text.size());
    m_chunkUsed += text.size();
    return span;
}

std::string_view SkippedLinks::Text(const Span& span) const
{
    if (span.length == 0)
        return {};
    return {m_chunks[span.chunk].get() + span.offset, span.length};
}

std::uint32_t SkippedLinks::PageIndex(std::string_view page)
{
    if (page.empty())
        return 0;
    // Links arrive page by page, so the last page is nearly always the one.
    if (m_lastPageIndex != 0 && page == m_lastPage)
        return m_lastPageIndex;
    m_pages.push_back(Store(page));
    m_lastPage.assign(page);
    m_lastPageIndex = static_cast<std::uint32_t>(m_pages.size());
    return m_lastPageIndex;
}

size_t SkippedLinks::FindSlot(std::string_view url, size_t hash) const
{
    const size_t mask = m_table.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t entry = m_table[slot];
        if (entry == 0 || Text(m_records[entry - 1].url) == url)
            return slot;
    }
}

void SkippedLinks::Grow()
{
    std::vector<std::uint32_t> old = std::move(m_table);
    m_table.assign(old.empty() ? 1024 : old.size() * 2, 0);
    for (const std::uint32_t entry : old) {
        if (entry == 0)
            continue;
        const std::string_view url = Text(m_records[entry - 1].url);
        m_table[FindSlot(url, std::hash<std::string_view>{}(url))] = entry;
    }
}

bool SkippedLinks::Note(SkipReason reason, std::string_view url, std::string_view page)
{
    url = url.substr(0, kMaxSkippedUrlBytes);
    // At most 70 % of the slots in use keeps probe runs short.
    if ((m_records.size() + 1) * 10 > m_table.size() * 7)
        Grow();
    const size_t hash = std::hash<std::string_view> {}(url);
    const size_t slot = FindSlot(url, hash);
    if (m_table[slot] != 0)
        return false;
    Record record;
    record.url = Store(url);
    record.reason = reason;
    record.page = PageIndex(page);
    m_records.push_back(record);
    m_table[slot] = static_cast<std::uint32_t>(m_records.size());
    ++m_counts[static_cast<size_t>(reason)];
    return true;
}

void SkippedLinks::Clear()
{
    m_chunks.clear();
    m_chunkUsed = 0;
    m_records = {};
    m_table = {};
    m_pages = {};
    m_lastPage.clear();
    m_lastPageIndex = 0;
    m_counts = {};
}

void SkippedLinks::ForEach(
    const std::function<void(std::string_view url, SkipReason, std::string_view page)>& visit) const
{
    for (const Record& r : m_records)
        visit(Text(r.url), r.reason, r.page == 0 ? std::string_view() : Text(m_pages[r.page - 1]));
}

std::string SkippedCountsText(const SkippedLinks& skipped)
{
    static const std::array<const std::string*, kSkipReasonCount> kLabels = {
        &res::kSkipOutsideSite, &res::kSkipTooDeep,   &res::kSkipDuplicate, &res::kSkipExtensionNotWanted,
        &res::kSkipNotWebScheme, &res::kSkipRobots, &res::kSkipTooLarge,  &res::kSkipUnusable,
    };
    if (skipped.Size() == 0)
        return {};
    std::string text = res::kMsgSkippedHead;
    for (size_t i = 0; i < kLabels.size(); ++i) {
        const size_t n = skipped.Count(static_cast<SkipReason>(i));
        if (n == 0)
            continue;
        std::string line = res::kSkipLine;
        line.replace(line.find("%d"), 2, std::to_string(n));
        line.replace(line.find("%s"), 2, *kLabels[i]);
        text.append("\n").append(line);
    }
    return text;
}

void NoteSkipped(Core& core, SkipReason reason, const std::string& url)
{
    core.skipped.Note(reason, url, core.skipped.CurrentPage());
}

int RefuseLink(Core& core, SkipReason reason, const std::string& url)
{
    NoteSkipped(core, reason, url);
    return 0;
}

AnalysedPage::AnalysedPage(Core& core, std::string page)
    : m_core(core)
    , m_previous(core.skipped.CurrentPage())
{
    core.skipped.SetCurrentPage(std::move(page));
}

AnalysedPage::~AnalysedPage()
{
    m_core.skipped.SetCurrentPage(std::move(m_previous));
}

} // namespace zorone
