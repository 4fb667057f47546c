#include "web/site_util.h"

namespace zorone::CSiteUtil {
namespace {

constexpr bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

// Index of the last separator, or npos.
size_t LastSeparator(std::string_view text)
{
    return text.find_last_of("/\\");
}

// The bytes a relative link may hold; everything else (a colon aside) makes
// the link unusable.
constexpr bool IsLinkByte(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '*' ||
           c == '+' || c == '-' || c == '.' || c == '/' || c == '_' || c == '~';
}

} // namespace

std::string GetUrlFolder(std::string_view url)
{
    const size_t sep = LastSeparator(url);
    return sep == std::string_view::npos ? std::string() : std::string(url.substr(0, sep + 1));
}

std::string GetFileName(std::string_view url)
{
    const size_t sep = LastSeparator(url);
    return sep == std::string_view::npos ? std::string() : std::string(url.substr(sep + 1));
}

std::string GetFolderName(std::string_view url)
{
    if (!url.empty() && IsSeparator(url.back()))
        url.remove_suffix(1);
    return GetFileName(url);
}

std::string GetExtension(std::string_view name)
{
    // Index 0 is never looked at, so ".htaccess" has no extension; the walk
    // does not stop at separators, so "host.name/file" gives "name/file".
    for (size_t i = name.size(); i-- > 1;) {
        if (name[i] == '.')
            return std::string(name.substr(i + 1));
    }
    return {};
}

int IsAbsoluteUrl(std::string_view text)
{
    return text.starts_with("http://") || text.starts_with("https://") || text.starts_with("ftp://") ? 1 : 0;
}

int IsValidUrlText(std::string_view text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        // A colon may only end a scheme: "ftp:" (index 3), "http:" (index 4)
        // or "https:" (index 5).
        if (!IsLinkByte(c) && !(c == ':' && i >= 3 && i <= 5))
            return 0;
    }
    return 1;
}

int CountSeparators(std::string_view text)
{
    int n = 0;
    for (const char c : text)
        n += IsSeparator(c) ? 1 : 0;
    return n;
}

} // namespace zorone::CSiteUtil
