#pragma once
// A site's robots.txt as the rules that apply to Zorone: the groups naming
// Zorone when there are any, otherwise the "*" groups. Paths are matched
// with "*" (any run of bytes) and "$" (end of path); the longest matching
// pattern decides and Allow wins a tie. Pure text work: fetching and timing
// belong to the caller.
#include <string>
#include <string_view>
#include <vector>

namespace zorone {

// The product token robots.txt groups name Zorone by.
constexpr std::string_view kRobotsProductToken = "zorone";

// Only this much of a robots.txt is read; rules beyond it are ignored.
constexpr size_t kRobotsMaxBytes = 512 * 1024;

// A Crawl-delay above this is cut to it: a site cannot stall a crawl for
// hours with one line.
constexpr double kRobotsMaxCrawlDelaySeconds = 60.0;

struct RobotsRule {
    std::string pattern; // normalised as RobotsPathOf normalises paths
    bool allow = false;
};

struct RobotsRules {
    std::vector<RobotsRule> rules;
    // Seconds between two requests to the host; 0 for none.
    double crawlDelay = 0;
    // Every path is refused (a server error answered for robots.txt).
    bool disallowAll = false;
};

RobotsRules ParseRobots(std::string_view text, std::string_view productToken = kRobotsProductToken);

// The rules of a robots.txt that says nothing: everything is allowed.
inline RobotsRules AllowEverything() { return {}; }
inline RobotsRules DisallowEverything()
{
    RobotsRules r;
    r.disallowAll = true;
    return r;
}

// The path and query of url ("/" when it has none), in the form patterns are
// kept in: bytes outside printable ASCII percent-encoded and every "%xx"
// in upper case, so "/caf%c3%a9" and a raw "/café" compare equal.
std::string RobotsPathOf(std::string_view url);

// Whether the rules let path (from RobotsPathOf) be fetched. "/robots.txt"
// itself is always allowed.
bool RobotsAllows(const RobotsRules& rules, std::string_view path);

} // namespace zorone
