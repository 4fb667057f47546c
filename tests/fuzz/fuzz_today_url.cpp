// Today's URL model and local names. The input is up to three lines: a URL
// to normalise (and use as the base when it is one) and two links found in
// its page. Normal forms must be stable and ASCII, resolved links normal,
// local paths safe, and two URLs may share a file only where sharing is
// meant (same host under another scheme, a folder URL and its index.html).
#include "platform/code_page.h"
#include "tests/fuzz/fuzz_core.h"
#include "web/today_local_name.h"
#include "web/today_url.h"

#include <array>
#include <string>
#include <vector>

namespace {

using namespace zorone;

bool IsAscii(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

void RequireSafePath(const std::string& path)
{
    if (path.empty())
        return;
    fuzz::Require(path.front() != '/' && path.find('\0') == std::string::npos);
    // Checked as the file system sees it, after "\" and CP932 are converted.
    const std::string fsPath = platform::ToFsPath(path);
    size_t start = 0;
    while (start <= fsPath.size()) {
        const size_t slash = std::min(fsPath.find('/', start), fsPath.size());
        const std::string_view part = std::string_view(fsPath).substr(start, slash - start);
        fuzz::Require(!part.empty() && part != "." && part != "..");
        start = slash + 1;
    }
}

// What a file is keyed by: the host key, and a folder URL read as its
// index.html.
std::string SharingKey(const std::string& url)
{
    const size_t pathStart = url.find('/', url.find("://") + 3);
    std::string rest = url.substr(pathStart);
    const size_t query = rest.find('?');
    const size_t pathEnd = query == std::string::npos ? rest.size() : query;
    if (rest[pathEnd - 1] == '/') {
        rest.insert(pathEnd, "index");
        rest += ".html";
    }
    return today::HostKeyOf(url) + rest;
}

// Variants of a URL that come close to colliding in the name mapping.
std::vector<std::string> NearVariants(const std::string& url)
{
    static const std::array<std::pair<std::string, std::string>, 7> swaps = {{
        {"?", "@"}, {"@", "%40"}, {"%40", "%2540"}, {"%2F", "/"}, {"/", "//"}, {"%25", "%2525"}, {"%", "%25"},
    }};
    std::vector<std::string> variants;
    for (const auto& [from, to] : swaps) {
        const size_t at = url.rfind(from);
        if (at != std::string::npos && at > url.find("://") + 2)
            variants.push_back(url.substr(0, at) + to + url.substr(at + from.size()));
    }
    variants.push_back(url + "/");
    return variants;
}

void RequireOwnFile(const std::string& a, const std::string& b)
{
    if (a.empty() || b.empty() || a == b || SharingKey(a) == SharingKey(b))
        return;
    fuzz::Require(today::LocalRelativePath(a, "") != today::LocalRelativePath(b, ""));
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
    fuzz::Require(IsAscii(normal) && today::NormaliseUrl(normal) == normal);
    const std::string base = normal.empty() ? "http://example.test/dir/page.html?q" : normal;

    std::vector<std::string> urls = {normal};
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string resolved = today::ResolveLink(base, lines[i]);
        fuzz::Require(resolved.empty() || today::NormaliseUrl(resolved) == resolved);
        urls.push_back(resolved);
    }
    for (const auto& type : {"", "text/html", "text/css"})
        RequireSafePath(today::LocalRelativePath(lines[0], type));
    for (const auto& url : urls) {
        RequireSafePath(today::LocalRelativePath(url, ""));
        for (const auto& variant : NearVariants(url))
            RequireOwnFile(url, today::NormaliseUrl(variant));
    }
    for (size_t i = 0; i < urls.size(); ++i)
        for (size_t k = i + 1; k < urls.size(); ++k)
            RequireOwnFile(urls[i], urls[k]);
    return 0;
}
