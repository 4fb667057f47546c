// Links read from an arbitrary document go through the add step into the
// list: the scanner must not read outside the text, and every row the add
// step keeps must be an absolute address the list can find again.
#include "engine/add_url.h"
#include "engine/extract_links.h"
#include "tests/fuzz/fuzz_core.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace zorone;
    static fuzz::FuzzCore f;
    Core& core = f.core;
    core.list.DeleteAllItems();
    // Every site, every depth: as many links as possible reach the list.
    core.settings.m_nOtherSite = 1;
    core.settings.m_nKaisouKind = 0;
    ExtractLinks(core, "http://example.test/dir/top.html", fuzz::AsText(data, size));
    f.loop.DispatchPending();
    for (int row = 0; row < core.list.GetItemCount(); ++row) {
        const std::string& url = core.list.GetItemText(row, kColUrl);
        fuzz::Require(url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0 || url.rfind("ftp://", 0) == 0);
        fuzz::Require(core.list.ContainsUrl(url));
        // The add step never lets a duplicate in.
        fuzz::Require(AddURL(core, url) == 0);
    }
    return 0;
}
