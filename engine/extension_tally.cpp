#include "engine/extension_tally.h"

namespace zorone {

void ExtensionTally::Tally(std::string_view ext, bool downloaded)
{
    int freeIndex = 0;
    if (!m_entries[0].extension.empty()) {
        int i = 0;
        for (;;) {
            Entry& e = m_entries[static_cast<size_t>(i)];
            if (e.extension == ext) {
                ++(downloaded ? e.downloaded : e.listed);
                return;
            }
            ++i;
            if (i >= kSearched || m_entries[static_cast<size_t>(i)].extension.empty())
                break;
        }
        freeIndex = i;
    }
    // An empty extension is written into the free entry, which so stays free:
    // items without an extension are never shown or summed.
    Entry& e = m_entries[static_cast<size_t>(freeIndex)];
    e.extension = std::string(ext);
    e.downloaded = downloaded ? 1 : 0;
    e.listed = 1;
}

void ExtensionTally::Reset()
{
    for (int i = 0; i < kSearched && !m_entries[static_cast<size_t>(i)].extension.empty(); ++i)
        m_entries[static_cast<size_t>(i)] = Entry {};
}

int ExtensionTally::UsedCount() const
{
    int n = 0;
    while (n < kSearched && !m_entries[static_cast<size_t>(n)].extension.empty())
        ++n;
    return n;
}

} // namespace zorone
