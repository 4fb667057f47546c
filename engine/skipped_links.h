#pragma once
// Every link the crawl's rules refused, with its reason and the page it was
// found on: counted per reason for the end of the crawl and kept for the
// skipped-links file.
//
// Bounded: one record per distinct URL (the first refusal's reason wins),
// about 30 bytes per record besides the URL's own bytes; a URL longer than
// kMaxSkippedUrlBytes is kept cut to that length. Pages are stored once each.
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zorone {

struct Core;

enum class SkipReason : std::uint8_t {
    OutsideSite,        // another site, and other sites are not fetched
    TooDeep,            // beyond the depth limit
    Duplicate,          // already in the list
    ExtensionNotWanted, // another site's file of an extension not asked for
    NotWebScheme,       // mailto:, javascript:, file: and the like
    Robots,             // refused by the site's robots.txt
    TooLarge,           // a document larger than the analysis limit
    Unusable,           // text that makes no address (no "/" at all, "../" past the root)
};
constexpr int kSkipReasonCount = 8;

// The reason as the skipped-links file names it ("outside-site", ...).
std::string_view SkipReasonName(SkipReason reason);

constexpr size_t kMaxSkippedUrlBytes = 4096;

class SkippedLinks {
public:
    SkippedLinks();
    ~SkippedLinks();
    SkippedLinks(const SkippedLinks&) = delete;
    SkippedLinks& operator=(const SkippedLinks&) = delete;

    // Keeps url with its reason and the page it was found on (empty when
    // none) unless url is kept already. True when it was new.
    bool Note(SkipReason reason, std::string_view url, std::string_view page);

    size_t Count(SkipReason reason) const { return m_counts[static_cast<size_t>(reason)]; }
    size_t Size() const { return m_records.size(); }
    void Clear();

    // The records in the order they were noted.
    void ForEach(const std::function<void(std::string_view url, SkipReason, std::string_view page)>& visit) const;

    // The page whose links are being read: NoteSkipped's "found on".
    const std::string& CurrentPage() const { return m_currentPage; }
    void SetCurrentPage(std::string page) { m_currentPage = std::move(page); }

private:
    // Where a text lies in the arena.
    struct Span {
        std::uint32_t chunk = 0;
        std::uint32_t offset = 0;
        std::uint16_t length = 0;
    };
    struct Record {
        Span url;
        SkipReason reason {};
        std::uint32_t page = 0; // index + 1 into m_pages; 0 for none
    };

    Span Store(std::string_view text);
    std::string_view Text(const Span& span) const;
    std::uint32_t PageIndex(std::string_view page);
    // The slot of url in the hash table: its record's slot, or the empty
    // slot where it belongs.
    size_t FindSlot(std::string_view url, size_t hash) const;
    void Grow();

    std::vector<std::unique_ptr<char[]>> m_chunks;
    size_t m_chunkUsed = 0;
    std::deque<Record> m_records;
    // Open addressing: record index + 1, 0 for an empty slot.
    std::vector<std::uint32_t> m_table;
    std::vector<Span> m_pages;
    std::string m_lastPage;
    std::uint32_t m_lastPageIndex = 0;
    std::array<size_t, kSkipReasonCount> m_counts {};
    std::string m_currentPage;
};

// The window's report of the counts: a head line, then one line per reason
// that has any ("　重複：12件"); "" when nothing was skipped.
std::string SkippedCountsText(const SkippedLinks& skipped);

// Notes url as refused for reason, found on the page being analysed.
void NoteSkipped(Core& core, SkipReason reason, const std::string& url);
// The same, returning 0: the add step's answer for a refused URL.
int RefuseLink(Core& core, SkipReason reason, const std::string& url);

// Makes page the "found on" of every link noted while it lives, and gives
// the previous one back at its end (analyses can nest).
class AnalysedPage {
public:
    AnalysedPage(Core& core, std::string page);
    ~AnalysedPage();
    AnalysedPage(const AnalysedPage&) = delete;
    AnalysedPage& operator=(const AnalysedPage&) = delete;

private:
    Core& m_core;
    std::string m_previous;
};

} // namespace zorone
