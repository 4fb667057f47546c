#pragma once
// robots.txt between the list and the network: before the first request to
// a host (scheme, host and port) its robots.txt is fetched once through the
// URL service; paths it disallows are never requested and count as skipped
// links; its Crawl-delay spaces the requests to that host, waited for with a
// timer, never by blocking.
//
// A robots.txt that cannot be fetched (no answer, a network error) or that
// answers 4xx restricts nothing. A 5xx answer disallows the whole host for
// this crawl: the server is in trouble, and taking everything from it then
// is what the robots exclusion standard asks crawlers not to do.
#include "platform/wake_timer.h"
#include "web/robots_rules.h"

#include <chrono>
#include <string>
#include <unordered_map>

namespace zorone {

struct Core;

class RobotsGate {
public:
    using Clock = platform::WakeTimer::Clock;

    // wake runs on a timer thread when a Crawl-delay has passed.
    explicit RobotsGate(std::function<void()> wake);

    // Forgets every host: each crawl reads robots.txt afresh.
    void Reset();

    struct Host {
        bool known = false; // false while its robots.txt is being fetched
        RobotsRules rules;
        Clock::time_point nextRequest {};
    };
    // The host of url, or null when robots.txt does not apply (ftp) or has
    // not been asked for yet.
    Host* Find(const std::string& hostKey);
    Host& Add(const std::string& hostKey);

    // Keeps the crawl from ending while it waits for a Crawl-delay.
    void WaitUntil(Clock::time_point when);
    bool Waiting() const { return Clock::now() < m_waitUntil; }

private:
    std::unordered_map<std::string, Host> m_hosts;
    Clock::time_point m_waitUntil {};
    platform::WakeTimer m_timer;
};

// "scheme://host:port" of an http or https URL (scheme and host in lower
// case, the port always written), or "" for any other URL.
std::string RobotsHostKey(const std::string& url);

// Whether this crawl follows robots.txt: m_nRobots 1 always, 2 never, 0 as
// the rule set decides (classic rules: no).
bool RobotsWanted(const Core& core);

enum class RobotsVerdict {
    Go,      // request it now
    Wait,    // not yet: robots.txt is being fetched or a Crawl-delay runs
    Refused, // disallowed: the row was removed and noted as skipped
};
// Asked for the row about to be requested (url is its URL).
RobotsVerdict AdmitByRobots(Core& core, int row, const std::string& url);

// Whether the host's robots.txt, when already known, disallows url; a
// refused url is noted as skipped. Used by the add step, so that a link
// refused there never enters the list.
bool RobotsRefuses(Core& core, const std::string& url);

// Whether the crawl must not end yet although nothing is in flight.
bool RobotsHoldsCrawl(const Core& core);

} // namespace zorone
