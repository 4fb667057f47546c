// Address recognition in typed or pasted text, and link resolution against
// the addresses found: both read arbitrary bytes and must stay inside them.
#include "tests/fuzz/fuzz_core.h"
#include "web/url_util.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace zorone;
    const std::string_view text = fuzz::AsText(data, size);
    const std::string found = CUrlUtil::ExtractUrlsFromText(text);
    // Each found address is one CR LF separated line starting with a scheme.
    size_t start = 0;
    while (start < found.size()) {
        size_t end = found.find("\r\n", start);
        if (end == std::string::npos)
            end = found.size();
        const std::string_view line(found.data() + start, end - start);
        fuzz::Require(line.rfind("http://", 0) == 0 || line.rfind("https://", 0) == 0 || line.rfind("ftp://", 0) == 0);
        // The text itself as a link found in that document.
        CUrlUtil::ResolveUrl(line, text);
        CUrlUtil::WithRootPath(line);
        start = end + 2;
    }
    // And the text as a document address with a few typical links.
    for (const char* link : { "a.html", "../b/c.htm", "/root.html", "//other/x", "?q=1", "#top", "./", "" })
        CUrlUtil::ResolveUrl(text, link);
    CUrlUtil::HasOtherScheme(text);
    return 0;
}
