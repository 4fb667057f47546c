// The reference scanner of today's rules on arbitrary bytes, as a page and as
// a style sheet, in the charsets that change how bytes pair up. A converter
// rewrites exactly the reported ranges, so they must lie in the input, in
// order and apart, and every link must be clean UTF-8.
#include "tests/fuzz/fuzz_core.h"
#include "web/percent_escape.h"
#include "web/today_scanner.h"

#include <string>

namespace {

using namespace zorone::today;

class CheckingSink : public RefSink {
public:
    explicit CheckingSink(std::string_view doc)
        : m_doc(doc)
    {
    }
    void OnRef(const FoundRef& ref) override
    {
        using zorone::fuzz::Require;
        Require(ref.length > 0 && ref.offset >= m_end && ref.offset <= m_doc.size()
                && ref.length <= m_doc.size() - ref.offset);
        m_end = ref.offset + ref.length;
        Require(!ref.link.empty() && IsValidUtf8(ref.link));
        Require(ref.link.find_first_of(std::string_view("\0\t\n\r", 4)) == std::string::npos);
        Require(ref.link.front() != ' ' && ref.link.back() != ' ');
    }

private:
    std::string_view m_doc;
    size_t m_end = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the kind of document and its charset.
    const std::uint8_t mode = data[0];
    const std::string_view doc = zorone::fuzz::AsText(data + 1, size - 1);
    const DocKind kind = (mode & 1) ? DocKind::Css : DocKind::Html;
    const std::string detected = DetectCharset(doc.substr(0, 64), doc, kind);
    const std::string charsets[] = {"", "utf-8", "shift_jis", detected};
    CheckingSink sink(doc);
    ScanReferences(doc, kind, charsets[(mode >> 1) & 3], sink);
    return 0;
}
