// Link conversion on arbitrary pages and style sheets, in a mirror that holds
// a file for every address: only the bytes of references may change, and no
// rewritten reference may lead out of the mirror.
#include "tests/fuzz/fuzz_core.h"
#include "web/percent_escape.h"
#include "web/today_converter.h"
#include "web/today_local_name.h"

#include <string>
#include <vector>

namespace {

using namespace zorone::today;
using zorone::fuzz::Require;

class EveryFileStored final : public StoredFiles {
public:
    const std::string* FileOf(const std::string& url) const override
    {
        m_last = LocalRelativePath(url, "text/html");
        return m_last.empty() ? nullptr : &m_last;
    }

private:
    mutable std::string m_last;
};

class Ranges final : public RefSink {
public:
    void OnRef(const FoundRef& ref) override { found.push_back({ref.offset, ref.length}); }
    std::vector<std::pair<size_t, size_t>> found;
};

// A relative reference written for a file at depth folders below the
// mirror: its "../" steps may not climb above the mirror, and nothing after
// them may be a step of its own.
void RequireInsideMirror(std::string_view written, size_t depth)
{
    const size_t end = written.find_first_of("#");
    std::string_view path = written.substr(0, end);
    if (path.find("://") != std::string_view::npos)
        return; // an absolute address: online, not in the mirror
    size_t up = 0;
    while (path.substr(0, 3) == "../") {
        path.remove_prefix(3);
        ++up;
    }
    Require(up <= depth);
    Require(!path.empty() && path.front() != '/');
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string_view::npos)
            slash = path.size();
        const std::string part = PercentDecoded(path.substr(start, slash - start));
        Require(!part.empty() && part != "." && part != ".." && part.find('/') == std::string::npos);
        start = slash + 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const DocKind kind = (data[0] & 1) ? DocKind::Css : DocKind::Html;
    const std::string_view doc = zorone::fuzz::AsText(data + 1, size - 1);
    const std::string docUrl = "https://h.test/a/b/page.html";
    const std::string docFile = "h.test/a/b/page.html";
    const ConvertedDocument out = ConvertDocument(doc, kind, "", docUrl, docFile, EveryFileStored());

    Ranges ranges;
    ScanReferences(doc, kind, "", ranges);
    // Applying the edits to the input gives the output, and every edit is a
    // range the scanner reported.
    std::string rebuilt;
    size_t done = 0;
    size_t written = 0;
    size_t next = 0;
    for (const ConvertedDocument::Edit& e : out.edits) {
        while (next < ranges.found.size() && ranges.found[next].first < e.offset)
            ++next;
        Require(next < ranges.found.size() && ranges.found[next] == std::make_pair(e.offset, e.length));
        Require(e.offset >= done);
        rebuilt.append(doc.substr(done, e.offset - done));
        written = rebuilt.size();
        Require(written + e.written <= out.bytes.size());
        const std::string_view replacement = std::string_view(out.bytes).substr(written, e.written);
        rebuilt.append(replacement);
        RequireInsideMirror(replacement, 3);
        done = e.offset + e.length;
    }
    rebuilt.append(doc.substr(done));
    Require(rebuilt == out.bytes);
    return 0;
}
