#include "web/list_util.h"

#include "platform/code_page.h"

namespace zorone::CListUtil {
namespace {

constexpr bool IsBlank(char c)
{
    return c == ' ' || c == '\r' || c == '\n';
}

constexpr char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view TrimmedView(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Equality after lower-casing both sides the way the lists are lower-cased:
// ASCII letters only, and never the trail byte of a double-byte character
// (0x41..0x5A are valid trail bytes in CP932). Equal folded texts have their
// lead bytes at the same places, so following a's characters is enough.
bool EqualsFolded(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (platform::IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
            ++i;
        } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string TrimBlanks(std::string_view text)
{
    return std::string(TrimmedView(text));
}

int IsInList(std::string_view word, std::string_view list)
{
    // Elements end at each ","; a trailing "," adds no element, while a
    // leading "," or ",," yields an empty one (which the empty word matches).
    size_t start = 0;
    while (start < list.size()) {
        const size_t comma = list.find(',', start);
        const size_t end = comma == std::string_view::npos ? list.size() : comma;
        if (EqualsFolded(word, TrimmedView(list.substr(start, end - start))))
            return 1;
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    return 0;
}

} // namespace zorone::CListUtil
