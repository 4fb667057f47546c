#include "web/url_util.h"

#include "web/site_util.h"

namespace zorone::CUrlUtil {
namespace {

// "/~user" links go to the host's root: the first k bytes of base, where k is
// the index of base's third "/", followed by the link. Empty when base is too
// short or does not start with a known scheme.
std::string ResolveHomeLink(std::string_view base, std::string_view link)
{
    if (!link.starts_with("/~") || base.size() <= 8)
        return {};
    int slashes = 0;
    for (size_t k = 0; k < base.size(); ++k) {
        if (base[k] != '/' || ++slashes < 3)
            continue;
        if (base.starts_with("http://") || base.starts_with("https://") || base.starts_with("ftp://"))
            return std::string(base.substr(0, k)) + std::string(link);
        break;
    }
    return {};
}

// Index of the "/" that ends the host part of an "http://", "https://" or
// "ftp://" base (its third "/"), or npos for any other base.
size_t HostRootSlash(std::string_view base)
{
    if (!base.starts_with("http://") && !base.starts_with("https://") && !base.starts_with("ftp://"))
        return std::string_view::npos;
    return base.find('/', base.find("//") + 2);
}

// Every "../" found in the link, scanning from its end, takes base one folder
// up and cuts three bytes from the front of the link (not from where the
// "../" was). A step up stops at the host's root: above it there is nothing
// but the scheme, and a request for "http://a.htm" would go to another host.
// Returns false when the step up reaches the "/" at index 0.
bool ApplyParentReferences(std::string& base, std::string& link)
{
    const size_t root = HostRootSlash(base);
    for (long j = static_cast<long>(link.size()) - 2; j >= 0; --j) {
        const auto at = static_cast<size_t>(j);
        if (at + 3 > link.size() || link.compare(at, 3, "../") != 0)
            continue;
        if (base.size() < 2)
            continue;
        size_t k = base.rfind('/', base.size() - 2);
        if (root != std::string::npos && (k == std::string::npos || k < root))
            k = root;
        if (k == std::string::npos)
            continue;
        if (k == 0)
            return false;
        base.resize(k + 1);
        link.erase(0, 3);
        j -= 2;
    }
    return true;
}

// A link of a single "/" (not "//", not "/~") names a path from the host's
// root, not from the document's folder.
bool IsRootRelative(std::string_view link)
{
    return link.starts_with('/') && !link.starts_with("//") && !link.starts_with("/~");
}

// Drops, in place, pairs equal to pair that start at positions from `from`
// up to the last but one; keep is how many bytes of such a pair stay. The
// last byte is never the start of a pair.
void DropPairs(std::string& s, std::string_view pair, size_t from, size_t keep)
{
    size_t w = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (i >= from && i + 1 < s.size() && s[i] == pair[0] && s[i + 1] == pair[1]) {
            for (size_t k = 0; k < keep; ++k)
                s[w++] = pair[k];
            ++i;
        } else {
            s[w++] = s[i];
        }
    }
    s.resize(w);
}

constexpr bool IsUrlTextByte(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' ||
           c == '.' || c == '/' || c == ':' || c == '@' || c == '_' || c == '~';
}

constexpr bool IsSchemeByte(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '+' || c == '-' ||
           c == '.';
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

} // namespace

std::string ResolveUrl(std::string_view documentUrl, std::string_view link)
{
    std::string base = CSiteUtil::GetUrlFolder(documentUrl);
    if (std::string home = ResolveHomeLink(base, link); !home.empty())
        return home;
    std::string rest(link);
    if (const size_t root = HostRootSlash(base); root != std::string::npos && IsRootRelative(rest)) {
        base.resize(root + 1);
        rest.erase(0, 1);
    }
    if (!ApplyParentReferences(base, rest))
        return {};
    base += rest;
    // "./" is dropped anywhere; "//" is collapsed only after the first nine
    // bytes, which keeps the scheme's "//" of "http://", "https://", "ftp://".
    DropPairs(base, "./", 0, 0);
    DropPairs(base, "//", 9, 1);
    return base;
}

std::string StripQueryAndFragment(std::string_view url)
{
    return std::string(url.substr(0, url.find_first_of("#?")));
}

bool HasOtherScheme(std::string_view link)
{
    // RFC 3986: a scheme is a letter followed by letters, digits, "+", "-"
    // and ".", ended by ":"; a "/" before the colon makes it a path.
    if (link.empty() || !((link[0] >= 'a' && link[0] <= 'z') || (link[0] >= 'A' && link[0] <= 'Z')))
        return false;
    size_t i = 1;
    while (i < link.size() && IsSchemeByte(static_cast<unsigned char>(link[i])))
        ++i;
    if (i >= link.size() || link[i] != ':')
        return false;
    const std::string_view scheme = link.substr(0, i);
    return !EqualsNoCase(scheme, "http") && !EqualsNoCase(scheme, "https") && !EqualsNoCase(scheme, "ftp");
}

std::string WithRootPath(std::string_view url)
{
    const size_t scheme = url.find("://");
    if (scheme == std::string_view::npos || url.find('/', scheme + 3) != std::string_view::npos)
        return std::string(url);
    return std::string(url) + "/";
}

std::vector<std::string_view> UrlLines(std::string_view field)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i <= field.size(); ++i) {
        if (i < field.size() && field[i] != '\r' && field[i] != '\n')
            continue;
        if (i > start)
            lines.push_back(field.substr(start, i - start));
        start = i + 1;
    }
    return lines;
}

std::string ExtractUrlsFromText(std::string_view text)
{
    // States: 0 idle; 1..6 inside "http://", 7..9 inside the "s://" of
    // "https://"; 20..24 inside "ftp://"; 90 in a URL. A URL byte that is not
    // the expected one leaves the state alone.
    struct Step {
        int from;
        char byte;
        int to;
        const char* scheme;
    };
    static constexpr Step kSteps[] = {
        {0, 'h', 1, nullptr},  {1, 't', 2, nullptr},  {2, 't', 3, nullptr},  {3, 'p', 4, nullptr},
        {4, ':', 5, nullptr},  {5, '/', 6, nullptr},  {6, '/', 90, "http://"}, {4, 's', 7, nullptr},
        {7, ':', 8, nullptr},  {8, '/', 9, nullptr},  {9, '/', 90, "https://"}, {0, 'f', 20, nullptr},
        {20, 't', 21, nullptr}, {21, 'p', 22, nullptr}, {22, ':', 23, nullptr}, {23, '/', 24, nullptr},
        {24, '/', 90, "ftp://"},
    };
    std::string out;
    int state = 0;
    // An IPv6 literal host ("[::1]") is part of the URL: "[" right after
    // the scheme opens it and "]" closes it; elsewhere both end the URL.
    bool inBrackets = false;
    for (const char b : text) {
        const bool opensHost = state == 90 && b == '[' && out.ends_with("://");
        const bool closesHost = state == 90 && b == ']' && inBrackets;
        if (opensHost || closesHost) {
            inBrackets = opensHost;
            out.push_back(b);
            continue;
        }
        if (!IsUrlTextByte(static_cast<unsigned char>(b))) {
            if (state == 90)
                out += "\r\n";
            state = 0;
            inBrackets = false;
            continue;
        }
        if (state == 90) {
            out.push_back(b);
            continue;
        }
        for (const Step& step : kSteps) {
            if (step.from == state && step.byte == b) {
                state = step.to;
                if (step.scheme)
                    out += step.scheme;
                break;
            }
        }
    }
    return out;
}

} // namespace zorone::CUrlUtil
