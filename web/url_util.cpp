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

// Every "../" found in the link, scanning from its end, takes base one folder
// up and cuts three bytes from the front of the link (not from where the
// "../" was). Returns false when the step up reaches the "/" at index 0.
bool ApplyParentReferences(std::string& base, std::string& link)
{
    for (long j = static_cast<long>(link.size()) - 2; j >= 0; --j) {
        const auto at = static_cast<size_t>(j);
        if (at + 3 > link.size() || link.compare(at, 3, "../") != 0)
            continue;
        if (base.size() < 2)
            continue;
        const size_t k = base.rfind('/', base.size() - 2);
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

} // namespace

std::string ResolveUrl(std::string_view documentUrl, std::string_view link)
{
    std::string base = CSiteUtil::GetUrlFolder(documentUrl);
    if (std::string home = ResolveHomeLink(base, link); !home.empty())
        return home;
    std::string rest(link);
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

std::string ExtractUrlsFromText(std::string_view text)
{
    // States: 0 idle; 1..6 inside "http://"; 20..24 inside "ftp://"; 90 in a
    // URL. A URL byte that is not the expected one leaves the state alone, so
    // "https://" is read as "http://".
    struct Step {
        int from;
        char byte;
        int to;
    };
    static constexpr Step kSteps[] = {
        {0, 'h', 1},   {1, 't', 2},   {2, 't', 3},   {3, 'p', 4},   {4, ':', 5},   {5, '/', 6},  {6, '/', 90},
        {0, 'f', 20},  {20, 't', 21}, {21, 'p', 22}, {22, ':', 23}, {23, '/', 24}, {24, '/', 90},
    };
    std::string out;
    int state = 0;
    for (const char b : text) {
        if (!IsUrlTextByte(static_cast<unsigned char>(b))) {
            if (state == 90)
                out += "\r\n";
            state = 0;
            continue;
        }
        if (state == 90) {
            out.push_back(b);
            continue;
        }
        for (const Step& step : kSteps) {
            if (step.from == state && step.byte == b) {
                state = step.to;
                if (state == 90)
                    out += step.from == 6 ? "http://" : "ftp://";
                break;
            }
        }
    }
    return out;
}

} // namespace zorone::CUrlUtil
