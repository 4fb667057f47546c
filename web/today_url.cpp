#include "web/today_url.h"

#include "platform/code_page.h"
#include "web/percent_escape.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>

namespace zorone::today {
namespace {

using UrlHandle = std::unique_ptr<CURLU, decltype(&curl_url_cleanup)>;

UrlHandle NewHandle()
{
    return UrlHandle(curl_url(), &curl_url_cleanup);
}

// libcurl parses every scheme the same way when told to accept unknown ones,
// so the result does not depend on which protocols this libcurl was built
// with; the scheme is checked afterwards.
constexpr unsigned kParseFlags = CURLU_NON_SUPPORT_SCHEME;

bool GetPart(CURLU* url, CURLUPart part, std::string& out, unsigned flags = 0)
{
    char* text = nullptr;
    if (curl_url_get(url, part, &text, flags) != CURLUE_OK || text == nullptr)
        return false;
    out = text;
    curl_free(text);
    return true;
}

bool SetPart(CURLU* url, CURLUPart part, const std::string* value)
{
    return curl_url_set(url, part, value ? value->c_str() : nullptr, kParseFlags) == CURLUE_OK;
}

bool IsKnownScheme(std::string_view scheme)
{
    return scheme == "http" || scheme == "https" || scheme == "ftp";
}

std::string_view DefaultPortOf(std::string_view scheme)
{
    if (scheme == "http")
        return "80";
    if (scheme == "https")
        return "443";
    if (scheme == "ftp")
        return "21";
    return {};
}

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

void LowerAscii(std::string& text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
}

// Printable bytes RFC 3986 does not allow plain in a path, query or user
// name ("[" and "]" belong to IPv6 hosts only).
bool IsForbiddenPrintable(unsigned char c)
{
    static constexpr std::string_view forbidden = "\"<>\\^`{|}[]";
    return forbidden.find(static_cast<char>(c)) != std::string_view::npos;
}

// What browsers do before they parse: blanks and control bytes at either end
// go, tab, CR and LF inside go, the fragment goes (it never reaches the
// server), and "\" before the query is a "/".
std::string CleanReference(std::string_view text)
{
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    std::string clean;
    clean.reserve(text.size());
    bool inQuery = false;
    for (const char c : text) {
        if (c == '\t' || c == '\r' || c == '\n')
            continue;
        if (c == '#')
            break;
        if (c == '?')
            inQuery = true;
        clean.push_back(c == '\\' && !inQuery ? '/' : c);
    }
    return clean;
}

// Escapes what libcurl would refuse or pass on raw: blanks, control bytes,
// DEL and every non-ASCII byte, and a "%" that starts no escape. The host's
// escapes are decoded again by libcurl.
std::string EscapeRawBytes(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c <= 0x20 || c >= 0x7F || (c == '%' && EscapeValueAt(text, i) < 0))
            AppendEscape(out, c);
        else
            out.push_back(static_cast<char>(c));
    }
    return out;
}

// One escape form per byte: unreserved bytes plain, everything a URL may not
// hold plain escaped, other escapes with upper-case hex. Reserved bytes keep
// the form they came in ("%2F" and "/" mean different things to a server).
std::string NormaliseEscapes(std::string_view part)
{
    std::string out;
    out.reserve(part.size());
    for (size_t i = 0; i < part.size(); ++i) {
        const int value = EscapeValueAt(part, i);
        if (value >= 0) {
            const auto byte = static_cast<unsigned char>(value);
            if (IsUnreserved(byte))
                out.push_back(static_cast<char>(byte));
            else
                AppendEscape(out, byte);
            i += 2;
            continue;
        }
        const auto c = static_cast<unsigned char>(part[i]);
        if (c <= 0x20 || c >= 0x7F || c == '%' || IsForbiddenPrintable(c))
            AppendEscape(out, c);
        else
            out.push_back(static_cast<char>(c));
    }
    return out;
}

// libcurl writes the escapes of a part it is given with lower-case hex; the
// normal form has upper-case.
void UppercaseEscapes(std::string& text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        if (EscapeValueAt(text, i) < 0)
            continue;
        for (size_t k = i + 1; k <= i + 2; ++k)
            if (text[k] >= 'a' && text[k] <= 'f')
                text[k] = static_cast<char>(text[k] - 'a' + 'A');
        i += 2;
    }
}

// Rewrites an optional part with normalised escapes; an empty part is
// removed.
bool NormalisePart(CURLU* url, CURLUPart part)
{
    std::string value;
    if (!GetPart(url, part, value))
        return true;
    const std::string normal = NormaliseEscapes(value);
    if (normal == value && !normal.empty())
        return true;
    return SetPart(url, part, normal.empty() ? nullptr : &normal);
}

bool NormaliseAuthority(CURLU* url, const std::string& scheme)
{
    std::string host;
    if (!GetPart(url, CURLUPART_HOST, host) || host.empty() || !IsAscii(host))
        return false;
    std::string lower = host;
    LowerAscii(lower);
    if (lower != host && !SetPart(url, CURLUPART_HOST, &lower))
        return false;
    std::string port;
    if (GetPart(url, CURLUPART_PORT, port) && port == DefaultPortOf(scheme) &&
        !SetPart(url, CURLUPART_PORT, nullptr))
        return false;
    if (!NormalisePart(url, CURLUPART_PASSWORD) || !NormalisePart(url, CURLUPART_USER))
        return false;
    std::string user;
    std::string password;
    if (GetPart(url, CURLUPART_PASSWORD, password) && !GetPart(url, CURLUPART_USER, user)) {
        // "http://:secret@h/": keep the password behind an empty user name.
        const std::string empty;
        return SetPart(url, CURLUPART_USER, &empty);
    }
    return true;
}

// The normal form of what the handle holds, or "".
std::string NormalFormOf(CURLU* url)
{
    std::string scheme;
    if (!GetPart(url, CURLUPART_SCHEME, scheme) || !IsKnownScheme(scheme))
        return {};
    std::string path;
    if (!NormaliseAuthority(url, scheme) || !SetPart(url, CURLUPART_FRAGMENT, nullptr) ||
        !GetPart(url, CURLUPART_PATH, path) || !NormalisePart(url, CURLUPART_QUERY))
        return {};
    const std::string normalPath = NormaliseEscapes(path.empty() ? "/" : path);
    std::string text;
    if ((normalPath != path && !SetPart(url, CURLUPART_PATH, &normalPath)) || !GetPart(url, CURLUPART_URL, text))
        return {};
    // Decoding "%2E" may have made dot segments; libcurl removes them when it
    // parses a whole URL.
    if (normalPath.find("/.") != std::string::npos) {
        if (!SetPart(url, CURLUPART_URL, &text) || !GetPart(url, CURLUPART_URL, text))
            return {};
    }
    UppercaseEscapes(text);
    if (text.size() > kMaxUrlBytes || !IsAscii(text))
        return {};
    return text;
}

// Non-UTF-8 text that reads cleanly as CP932 is taken for CP932: that is
// what the window and the list files hand over.
std::string AsUtf8(std::string text)
{
    if (IsValidUtf8(text))
        return text;
    std::string utf8 = platform::Cp932ToUtf8(text);
    if (IsValidUtf8(utf8) && platform::Utf8ToCp932(utf8) == text)
        return utf8;
    return text;
}

struct Authority {
    std::string_view scheme;
    std::string_view hostPort; // without user and password
    size_t pathStart = 0;      // index of the path's first "/", or the end
};

Authority SplitAuthority(std::string_view url)
{
    Authority parts;
    const size_t separator = url.find("://");
    if (separator == std::string_view::npos)
        return parts;
    parts.scheme = url.substr(0, separator);
    const size_t start = separator + 3;
    parts.pathStart = std::min(url.find_first_of("/?#", start), url.size());
    std::string_view authority = url.substr(start, parts.pathStart - start);
    const size_t at = authority.rfind('@');
    if (at != std::string_view::npos)
        authority.remove_prefix(at + 1);
    parts.hostPort = authority;
    return parts;
}

} // namespace

std::string SchemeOf(std::string_view reference)
{
    const size_t colon = reference.find_first_of(":/?#");
    if (colon == std::string_view::npos || colon == 0 || reference[colon] != ':')
        return {};
    std::string scheme(reference.substr(0, colon));
    const auto isSchemeByte = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' || c == '-' ||
               c == '.';
    };
    const bool letterFirst = (scheme[0] >= 'a' && scheme[0] <= 'z') || (scheme[0] >= 'A' && scheme[0] <= 'Z');
    if (!letterFirst || !std::all_of(scheme.begin(), scheme.end(), isSchemeByte))
        return {};
    LowerAscii(scheme);
    return scheme;
}

std::string NormaliseUrl(std::string_view url)
{
    if (url.size() > kMaxUrlBytes)
        return {};
    const std::string text = EscapeRawBytes(AsUtf8(CleanReference(url)));
    UrlHandle handle = NewHandle();
    if (!handle || text.empty() || curl_url_set(handle.get(), CURLUPART_URL, text.c_str(), kParseFlags) != CURLUE_OK)
        return {};
    return NormalFormOf(handle.get());
}

std::string ResolveLink(std::string_view baseUrl, std::string_view link)
{
    if (link.size() > kMaxUrlBytes)
        return {};
    const std::string clean = CleanReference(link);
    if (clean.empty()) // empty, blank, or a fragment of this very page
        return {};
    const std::string scheme = SchemeOf(clean);
    if (!scheme.empty() && !IsKnownScheme(scheme))
        return {};
    const std::string base(baseUrl);
    const std::string reference = EscapeRawBytes(clean);
    UrlHandle handle = NewHandle();
    if (!handle || curl_url_set(handle.get(), CURLUPART_URL, base.c_str(), kParseFlags) != CURLUE_OK ||
        curl_url_set(handle.get(), CURLUPART_URL, reference.c_str(), kParseFlags) != CURLUE_OK)
        return {};
    return NormalFormOf(handle.get());
}

std::string PathFolderOf(std::string_view normalisedUrl)
{
    const Authority parts = SplitAuthority(normalisedUrl);
    if (parts.scheme.empty())
        return {};
    const size_t pathEnd = std::min(normalisedUrl.find_first_of("?#", parts.pathStart), normalisedUrl.size());
    const size_t lastSlash = normalisedUrl.substr(0, pathEnd).rfind('/');
    if (lastSlash == std::string_view::npos || lastSlash < parts.pathStart)
        return std::string(normalisedUrl.substr(0, parts.pathStart)) + "/";
    return std::string(normalisedUrl.substr(0, lastSlash + 1));
}

std::string HostKeyOf(std::string_view normalisedUrl)
{
    const Authority parts = SplitAuthority(normalisedUrl);
    std::string key(parts.hostPort);
    LowerAscii(key);
    std::string scheme(parts.scheme);
    LowerAscii(scheme);
    // The port follows the last ":" unless that ":" is inside an IPv6 host.
    const size_t colon = key.rfind(':');
    if (colon != std::string::npos && key.find(']', colon) == std::string::npos &&
        std::string_view(key).substr(colon + 1) == DefaultPortOf(scheme))
        key.erase(colon);
    return key;
}

int PathSeparators(std::string_view normalisedUrl)
{
    const std::string_view beforeQuery = normalisedUrl.substr(0, normalisedUrl.find_first_of("?#"));
    return static_cast<int>(std::count(beforeQuery.begin(), beforeQuery.end(), '/'));
}

} // namespace zorone::today
