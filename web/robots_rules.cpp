#include "web/robots_rules.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace zorone {
namespace {

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

std::string_view Trim(std::string_view s)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Bytes outside printable ASCII percent-encoded, existing escapes in upper
// case: the one form both patterns and paths are compared in.
void AppendNormalised(std::string& out, std::string_view s)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    out.reserve(out.size() + s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b == '%' && i + 2 < s.size() && IsHexDigit(s[i + 1]) && IsHexDigit(s[i + 2])) {
            out.push_back('%');
            out.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(s[i + 1]))));
            out.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(s[i + 2]))));
            i += 2;
        } else if (b <= 0x20 || b >= 0x7f) {
            out.push_back('%');
            out.push_back(kHex[b >> 4]);
            out.push_back(kHex[b & 15]);
        } else {
            out.push_back(static_cast<char>(b));
        }
    }
}

std::string NormalisePath(std::string_view s)
{
    std::string out;
    AppendNormalised(out, s);
    return out;
}

// Whether the user-agent line's value names this crawler: its product token
// (the value up to a "/" or blank) equals ours, ignoring case.
bool NamesProduct(std::string_view value, std::string_view product)
{
    const size_t end = value.find_first_of("/ \t");
    return EqualsNoCase(value.substr(0, end), product);
}

// Matches pattern from the start of path: "*" stands for any run of bytes,
// a final "$" for the end of the path; without it any rest of the path may
// follow. Backtracks only to the last "*", so the work stays within
// path × pattern bytes.
bool PatternMatches(std::string_view pattern, std::string_view path)
{
    const bool anchored = !pattern.empty() && pattern.back() == '$';
    if (anchored)
        pattern.remove_suffix(1);
    size_t p = 0;
    size_t t = 0;
    size_t starAt = std::string_view::npos;
    size_t starText = 0;
    for (;;) {
        if (p == pattern.size()) {
            if (!anchored || t == path.size())
                return true;
        } else if (pattern[p] == '*') {
            starAt = p++;
            starText = t;
            continue;
        } else if (t < path.size() && pattern[p] == path[t]) {
            ++p;
            ++t;
            continue;
        }
        if (starAt == std::string_view::npos || starText >= path.size())
            return false;
        p = starAt + 1;
        t = ++starText;
    }
}

struct Group {
    bool namesUs = false;
    bool namesAll = false;
    std::vector<RobotsRule> rules;
    double crawlDelay = -1;
};

struct Line {
    std::string_view key;
    std::string_view value;
};

// "key: value" with its comment cut; an empty key for any other line.
Line SplitLine(std::string_view line)
{
    line = line.substr(0, line.find('#'));
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos)
        return {};
    return {Trim(line.substr(0, colon)), Trim(line.substr(colon + 1))};
}

std::vector<Group> ReadGroups(std::string_view text, std::string_view product)
{
    std::vector<Group> groups;
    bool inAgentLines = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        const Line line = SplitLine(text.substr(start, end - start));
        start = end + 1;
        if (EqualsNoCase(line.key, "user-agent")) {
            if (!inAgentLines)
                groups.emplace_back();
            inAgentLines = true;
            groups.back().namesAll |= line.value == "*";
            groups.back().namesUs |= NamesProduct(line.value, product);
            continue;
        }
        const bool allow = EqualsNoCase(line.key, "allow");
        const bool disallow = EqualsNoCase(line.key, "disallow");
        const bool delay = EqualsNoCase(line.key, "crawl-delay");
        if (!allow && !disallow && !delay)
            continue; // sitemap lines, unknown keys, blank lines: no group change
        inAgentLines = false;
        if (groups.empty())
            continue; // rules before any user-agent line belong to nobody
        if (delay) {
            char* parsedEnd = nullptr;
            const std::string value(line.value);
            const double seconds = std::strtod(value.c_str(), &parsedEnd);
            if (parsedEnd != value.c_str() && seconds >= 0)
                groups.back().crawlDelay = seconds;
        } else if (!line.value.empty()) {
            // An empty Disallow allows everything: it is no rule at all.
            groups.back().rules.push_back({NormalisePath(line.value), allow});
        }
    }
    return groups;
}

} // namespace

RobotsRules ParseRobots(std::string_view text, std::string_view productToken)
{
    text = text.substr(0, kRobotsMaxBytes);
    const std::vector<Group> groups = ReadGroups(text, productToken);
    const bool named = std::any_of(groups.begin(), groups.end(), [](const Group& g) { return g.namesUs; });
    RobotsRules out;
    for (const Group& g : groups) {
        if (named ? !g.namesUs : !g.namesAll)
            continue;
        out.rules.insert(out.rules.end(), g.rules.begin(), g.rules.end());
        out.crawlDelay = std::max(out.crawlDelay, g.crawlDelay);
    }
    out.crawlDelay = std::min(out.crawlDelay, kRobotsMaxCrawlDelaySeconds);
    return out;
}

std::string RobotsPathOf(std::string_view url)
{
    url = url.substr(0, url.find('#'));
    const size_t scheme = url.find("://");
    const size_t authority = scheme == std::string_view::npos ? 0 : scheme + 3;
    const size_t path = url.find_first_of("/?", authority);
    if (path == std::string_view::npos)
        return "/";
    std::string out;
    // A query right after the host asks for the root.
    if (url[path] == '?')
        out.push_back('/');
    AppendNormalised(out, url.substr(path));
    return out;
}

bool RobotsAllows(const RobotsRules& rules, std::string_view path)
{
    if (path == "/robots.txt")
        return true;
    if (rules.disallowAll)
        return false;
    size_t bestLength = 0;
    bool allowed = true;
    for (const RobotsRule& rule : rules.rules) {
        if (rule.pattern.size() < bestLength || !PatternMatches(rule.pattern, path))
            continue;
        if (rule.pattern.size() > bestLength || rule.allow)
            allowed = rule.allow;
        bestLength = rule.pattern.size();
    }
    return allowed;
}

} // namespace zorone
