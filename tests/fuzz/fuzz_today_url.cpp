// Today's URL model and local names. The input is up to three lines: a URL
// to normalise (the base when it is one) and two links found in its page.
// Normal forms must be stable and ASCII, resolved links normal, local paths
// safe, and two URLs may share a file only where that is meant (one host
// under another scheme, a folder URL and its index.html).
#include "platform/code_page.h"
#include "tests/fuzz/fuzz_core.h"
#include "web/today_local_name.h"
#include "web/today_url.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace zorone;

// Checked as the file system sees the path, after "\" and CP932 are
// converted.
void RequireSafePath(const std::string& path)
{
    fuzz::Require(path.empty() || (path.front() != '/' && path.find('\0') == std::string::npos));
    const std::string fsPath = platform::ToFsPath(path);
    for (size_t start = 0; !path.empty() && start <= fsPath.size();) {
        const size_t slash = std::min(fsPath.find('/', start), fsPath.size());
        const std::string_view part = std::string_view(fsPath).substr(start, slash - start);
        fuzz::Require(!part.empty() && part != "." && part != "..");
        start = slash + 1;
    }
}

// What a file is meant to be shared by: the host key, and a folder URL read
// as its index.html.
std::string SharingKey(const std::string& url)
{
    std::string rest = url.substr(url.find('/', url.find("://") + 3));
    const size_t pathEnd = std::min(rest.find('?'), rest.size());
    if (rest[pathEnd - 1] == '/')
        rest.insert(pathEnd, "index").append(".html");
    return today::HostKeyOf(url) + rest;
}

void RequireOwnFile(const std::string& a, const std::string& b)
{
    if (!a.empty() && !b.empty() && a != b && SharingKey(a) != SharingKey(b))
        fuzz::Require(today::LocalRelativePath(a, "") != today::LocalRelativePath(b, ""));
}

// Variants of a URL that come close to colliding with it in the mapping.
void RequireOwnFileAmongVariants(const std::string& url)
{
    static const std::vector<std::pair<std::string, std::string>> swaps = {
        {"?", "@"}, {"@", "%40"}, {"%40", "%2540"}, {"%2F", "/"}, {"/", "//"}, {"%25", "%2525"}, {"/", "/?"}};
    for (const auto& [from, to] : swaps)
        if (const size_t at = url.rfind(from); at != std::string::npos && at > url.find("://") + 2)
            RequireOwnFile(url, today::NormaliseUrl(url.substr(0, at) + to + url.substr(at + from.size())));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input = fuzz::AsText(data, size);
    std::vector<std::string_view> lines;
    for (size_t start = 0; lines.size() < 3 && start <= input.size();) {
        const size_t end = std::min(input.find('\n', start), input.size());
        lines.push_back(input.substr(start, end - start));
        start = end + 1;
    }
    const std::string normal = today::NormaliseUrl(lines[0]);
    fuzz::Require(today::NormaliseUrl(normal) == normal &&
                  std::all_of(normal.begin(), normal.end(), [](char c) { return (c & 0x80) == 0; }));
    for (const auto* type : {"", "text/html", "text/css"})
        RequireSafePath(today::LocalRelativePath(lines[0], type));

    const std::string base = normal.empty() ? "http://example.test/dir/page.html?q" : normal;
    std::vector<std::string> urls = {normal};
    for (size_t i = 1; i < lines.size(); ++i) {
        urls.push_back(today::ResolveLink(base, lines[i]));
        fuzz::Require(urls.back().empty() || today::NormaliseUrl(urls.back()) == urls.back());
        RequireSafePath(today::LocalRelativePath(urls.back(), ""));
    }
    for (size_t i = 0; i < urls.size(); ++i) {
        RequireOwnFileAmongVariants(urls[i]);
        for (size_t k = i + 1; k < urls.size(); ++k)
            RequireOwnFile(urls[i], urls[k]);
    }
    return 0;
}
