#pragma once
// Per-extension counts behind the summary box: a fixed table of 1001 entries,
// used from index 0 upward in the order extensions first appear. Only the
// first 1000 are searched; entry 1000 is where every further new extension
// lands once those are all in use.
#include <array>
#include <string>
#include <string_view>

namespace zorone {

class ExtensionTally {
public:
    struct Entry {
        std::string extension; // "" marks a free entry
        int downloaded = 0;
        int listed = 0;
    };

    static constexpr int kSearched = 1000;
    static constexpr int kSize = kSearched + 1;

    void TallyListed(std::string_view ext) { Tally(ext, false); }
    void TallyDownloaded(std::string_view ext) { Tally(ext, true); }
    // Empties every used entry among the first 1000.
    void Reset();

    const Entry& At(int index) const { return m_entries[static_cast<size_t>(index)]; }
    // Number of used entries from index 0 (at most 1000).
    int UsedCount() const;

private:
    void Tally(std::string_view ext, bool downloaded);

    std::array<Entry, kSize> m_entries;
};

} // namespace zorone
