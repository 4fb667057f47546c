#include "web/today_local_name.h"

#include "platform/code_page.h"
#include "web/percent_escape.h"
#include "web/today_url.h"

#include <cstdint>

namespace zorone::today {
namespace {

// Names up to this many UTF-8 bytes are kept; a longer one is cut and marked
// so that it ends up longer than this but within kMarkedNameBytes, which
// leaves room under the usual 255-byte limit for the engine's temporary
// suffixes.
constexpr size_t kMaxNameBytes = 200;
constexpr size_t kMarkedNameBytes = 220;
// An extension kept at the end of a cut name is at most this long (dot
// included); a longer tail after the last "." is no extension.
constexpr size_t kMaxExtensionBytes = 16;
constexpr size_t kMarkBytes = 9; // "~" and 8 hex digits

enum class Part { Path, Query };

// The one byte that a part cannot hold plain in a name: "@" separates the
// query in a file name, and "/" separates folders.
char SeparatorOf(Part part)
{
    return part == Part::Path ? '@' : '/';
}

// The name of one path segment or of the query, in CP932. See the header for
// the rules; `decode` chooses whether escaped non-ASCII bytes and spaces
// become characters.
std::string EncodeText(std::string_view text, Part part, bool decode)
{
    const char separator = SeparatorOf(part);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const int value = EscapeValueAt(text, i);
        if (value < 0) {
            if (text[i] == separator)
                AppendEscape(out, static_cast<unsigned char>(separator));
            else
                out.push_back(text[i]);
            continue;
        }
        const auto byte = static_cast<unsigned char>(value);
        if (decode && (byte >= 0x80 || byte == ' ')) {
            out.push_back(static_cast<char>(byte));
        } else {
            if (byte == '%' || byte == static_cast<unsigned char>(separator))
                out += "%25";
            else
                out.push_back('%');
            out.append(text.substr(i + 1, 2));
        }
        i += 2;
    }
    return out;
}

std::string NameOf(std::string_view text, Part part)
{
    const std::string decoded = EncodeText(text, part, true);
    if (IsValidUtf8(decoded)) {
        std::string cp932 = platform::Utf8ToCp932(decoded);
        if (platform::Cp932ToUtf8(cp932) == decoded)
            return cp932;
    }
    return EncodeText(text, part, false);
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix)
{
    if (text.size() < suffix.size())
        return false;
    const std::string_view tail = text.substr(text.size() - suffix.size());
    for (size_t i = 0; i < suffix.size(); ++i) {
        char c = tail[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != suffix[i])
            return false;
    }
    return true;
}

// FNV-1a, 64 bits, folded to 32: fixed, so that every run names a file alike.
std::string HashMark(std::string_view text)
{
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    const auto folded = static_cast<std::uint32_t>(hash ^ (hash >> 32));
    static constexpr char digits[] = "0123456789abcdef";
    std::string mark = "~";
    for (int shift = 28; shift >= 0; shift -= 4)
        mark.push_back(digits[(folded >> shift) & 0x0F]);
    return mark;
}

std::string ShortenLongName(const std::string& name)
{
    const std::string utf8 = platform::Cp932ToUtf8(name);
    if (utf8.size() <= kMaxNameBytes)
        return name;
    const size_t dot = utf8.rfind('.');
    const size_t extensionStart =
        dot != std::string::npos && utf8.size() - dot <= kMaxExtensionBytes ? dot : utf8.size();
    const std::string_view stem = std::string_view(utf8).substr(0, extensionStart);
    const std::string_view extension = std::string_view(utf8).substr(extensionStart);
    size_t cut = std::min(stem.size(), kMarkedNameBytes - kMarkBytes - extension.size());
    while (cut < stem.size() && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80)
        --cut; // not inside a character
    if (cut >= 1 && stem[cut - 1] == '%')
        cut -= 1; // not inside an escape
    else if (cut >= 2 && stem[cut - 2] == '%')
        cut -= 2;
    std::string shortened(stem.substr(0, cut));
    shortened += HashMark(name);
    shortened += extension;
    return platform::Utf8ToCp932(shortened);
}

// No component may be empty, "." or "..": the first would merge two folders,
// the others would leave the folder they stand for. "%" alone and "%2E"
// cannot come from a segment, whose "%" always starts an escape and whose
// dots are never escaped.
std::string SafeComponent(std::string name)
{
    if (name.empty())
        return "%";
    if (name == ".")
        return "%2E";
    if (name == "..")
        return "%2E%2E";
    return ShortenLongName(name);
}

std::string FileNameOf(std::string_view segment, std::string_view query, bool hasQuery, std::string_view contentType)
{
    const bool folder = segment.empty();
    std::string name = folder ? std::string("index") : NameOf(segment, Part::Path);
    if (hasQuery) {
        name.push_back('@');
        name += NameOf(query, Part::Query);
    }
    if (folder)
        name += ".html";
    else if (IsHtmlType(contentType) && !EndsWithNoCase(name, ".html") && !EndsWithNoCase(name, ".htm"))
        name += ".html";
    else if (IsCssType(contentType) && !EndsWithNoCase(name, ".css"))
        name += ".css";
    return SafeComponent(std::move(name));
}

std::string_view MediaTypeOf(std::string_view contentType)
{
    contentType = contentType.substr(0, contentType.find(';'));
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!contentType.empty() && isBlank(contentType.front()))
        contentType.remove_prefix(1);
    while (!contentType.empty() && isBlank(contentType.back()))
        contentType.remove_suffix(1);
    return contentType;
}

bool IsMediaType(std::string_view contentType, std::string_view lowerType)
{
    const std::string_view type = MediaTypeOf(contentType);
    return type.size() == lowerType.size() && EndsWithNoCase(type, lowerType);
}

} // namespace

std::string LocalRelativePath(std::string_view url, std::string_view contentType)
{
    const std::string normal = NormaliseUrl(url);
    if (normal.empty())
        return {};
    const std::string_view text = normal;
    // The normal form is "scheme://[user@]host[:port]/path[?query]".
    const size_t hostStart = text.find("://") + 3;
    const size_t pathStart = text.find('/', hostStart);
    const size_t queryStart = text.find('?', pathStart);
    const bool hasQuery = queryStart != std::string_view::npos;
    const std::string_view path = text.substr(pathStart + 1, (hasQuery ? queryStart : text.size()) - pathStart - 1);
    const std::string_view query = hasQuery ? text.substr(queryStart + 1) : std::string_view();

    std::string local = SafeComponent(HostKeyOf(normal));
    size_t start = 0;
    for (size_t slash = path.find('/'); slash != std::string_view::npos; slash = path.find('/', start)) {
        local.push_back('/');
        local += SafeComponent(NameOf(path.substr(start, slash - start), Part::Path));
        start = slash + 1;
    }
    local.push_back('/');
    local += FileNameOf(path.substr(start), query, hasQuery, contentType);
    return local;
}

bool IsHtmlType(std::string_view contentType)
{
    return IsMediaType(contentType, "text/html") || IsMediaType(contentType, "application/xhtml+xml");
}

bool IsSvgType(std::string_view contentType)
{
    return IsMediaType(contentType, "image/svg+xml");
}

bool IsCssType(std::string_view contentType)
{
    return IsMediaType(contentType, "text/css");
}

} // namespace zorone::today
