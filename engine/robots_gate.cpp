#include "engine/robots_gate.h"

#include "engine/core.h"
#include "engine/crawl_control.h"
#include "engine/download_file.h"
#include "engine/output.h"
#include "engine/skipped_links.h"
#include "platform/code_page.h"
#include "platform/files.h"
#include "res/texts.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace zorone {
namespace {

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Where the authority ("host:port", userinfo included) of url ends.
size_t AuthorityEnd(const std::string& url, size_t start)
{
    const size_t end = url.find_first_of("/?#", start);
    return end == std::string::npos ? url.size() : end;
}

// The first kRobotsMaxBytes of a file; "" when it cannot be read.
std::string ReadHead(const std::string& path)
{
    std::FILE* f = std::fopen(platform::ToFsPath(path).c_str(), "rb");
    if (!f)
        return {};
    std::string text(kRobotsMaxBytes, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), f));
    std::fclose(f);
    return text;
}

// One host's robots.txt on its way: a transfer that holds a download slot
// until it stops and then makes the host's rules known.
class RobotsFetch final : public platform::TransferEvents {
public:
    RobotsFetch(Core& core, std::string hostKey)
        : m_core(core)
        , m_hostKey(std::move(hostKey))
    {
    }

    void Start(const std::string& robotsUrl)
    {
        m_spool = SpoolPathFor(m_core.settings.m_sPath + "robots.txt");
        m_handle = m_core.urls->Open(robotsUrl, m_spool, std::string(), this);
    }

    void OnDataAvailable(std::uint64_t total, unsigned) override
    {
        // What lies beyond the part that is read is not worth fetching.
        if (total > kRobotsMaxBytes && !m_cut) {
            m_cut = true;
            m_core.urls->Cancel(m_handle);
        }
    }

    void OnStopBinding(const platform::TransferResult& result) override
    {
        RobotsRules rules;
        if (result.httpStatus >= 500)
            rules = DisallowEverything();
        else if (result.httpStatus < 400 && (result.code == 0 || m_cut))
            rules = ParseRobots(ReadHead(m_spool));
        platform::files::RemoveFile(m_spool);
        // A robots.txt redirected to another host's (http to https, most
        // often) is that host's answer too: it need not be asked again.
        const std::string movedKey = result.finalUrl.ends_with("/robots.txt") ? RobotsHostKey(result.finalUrl) : "";
        if (!movedKey.empty() && movedKey != m_hostKey) {
            RobotsGate::Host* moved = m_core.robots.Find(movedKey);
            if (!moved) {
                RobotsGate::Host& added = m_core.robots.Add(movedKey);
                added.rules = rules;
                added.known = true;
            }
        }
        RobotsGate::Host& host = m_core.robots.Add(m_hostKey);
        host.rules = std::move(rules);
        host.known = true;
        --m_core.m_nActiveDownloads;
        KickDispatch(m_core);
        // Destroys this object: nothing of it may be touched afterwards.
        m_core.transfers.erase(this);
    }

private:
    Core& m_core;
    std::string m_hostKey;
    std::string m_spool;
    platform::UrlService::Handle m_handle = 0;
    bool m_cut = false;
};

void StartRobotsFetch(Core& core, const std::string& url, const std::string& hostKey)
{
    core.robots.Add(hostKey);
    const size_t start = url.find("://") + 3;
    const std::string robotsUrl = url.substr(0, AuthorityEnd(url, start)) + "/robots.txt";
    auto fetch = std::make_unique<RobotsFetch>(core, hostKey);
    RobotsFetch* raw = fetch.get();
    core.transfers.emplace(raw, std::move(fetch));
    ++core.m_nActiveDownloads;
    raw->Start(robotsUrl);
}

std::chrono::milliseconds DelayOf(const RobotsRules& rules)
{
    return std::chrono::milliseconds(static_cast<long long>(rules.crawlDelay * 1000.0));
}

} // namespace

RobotsGate::RobotsGate(std::function<void()> wake)
    : m_timer(std::move(wake))
{
}

void RobotsGate::Reset()
{
    m_hosts.clear();
    m_waitUntil = {};
}

RobotsGate::Host* RobotsGate::Find(const std::string& hostKey)
{
    const auto it = m_hosts.find(hostKey);
    return it == m_hosts.end() ? nullptr : &it->second;
}

RobotsGate::Host& RobotsGate::Add(const std::string& hostKey)
{
    return m_hosts[hostKey];
}

void RobotsGate::WaitUntil(Clock::time_point when)
{
    m_waitUntil = std::max(m_waitUntil, when);
    m_timer.WakeAt(when);
}

std::string RobotsHostKey(const std::string& url)
{
    const size_t sep = url.find("://");
    if (sep == std::string::npos)
        return {};
    std::string scheme = url.substr(0, sep);
    for (char& c : scheme)
        c = LowerAscii(c);
    if (scheme != "http" && scheme != "https")
        return {};
    std::string authority = url.substr(sep + 3, AuthorityEnd(url, sep + 3) - sep - 3);
    if (const size_t at = authority.rfind('@'); at != std::string::npos)
        authority.erase(0, at + 1);
    // The port follows the last ":" outside an IPv6 literal's brackets.
    const size_t bracket = authority.rfind(']');
    const size_t colon = authority.rfind(':');
    std::string host = authority;
    std::string port = scheme == "http" ? "80" : "443";
    if (colon != std::string::npos && (bracket == std::string::npos || colon > bracket)) {
        host = authority.substr(0, colon);
        if (colon + 1 < authority.size())
            port = authority.substr(colon + 1);
    }
    for (char& c : host)
        c = LowerAscii(c);
    return scheme + "://" + host + ":" + port;
}

bool RobotsWanted(const Core& core)
{
    // 0 leaves it to the rules: today's follow robots.txt, classic ones do not.
    return core.settings.m_nRobots == 1 || (core.settings.m_nRobots == 0 && core.settings.m_nWebRules == 1);
}

RobotsVerdict AdmitByRobots(Core& core, int row, const std::string& url)
{
    const std::string key = RobotsWanted(core) && core.urls ? RobotsHostKey(url) : std::string();
    if (key.empty())
        return RobotsVerdict::Go;
    RobotsGate::Host* host = core.robots.Find(key);
    if (!host || !host->known) {
        if (!host)
            StartRobotsFetch(core, url, key);
        core.list.SetItemText(row, kColMark, res::kMarkWaiting);
        return RobotsVerdict::Wait;
    }
    if (!RobotsAllows(host->rules, RobotsPathOf(url))) {
        core.skipped.Note(SkipReason::Robots, url, {});
        core.list.DeleteItem(row);
        RecountSummary(core);
        core.m_bListModified = 1;
        // The dispatcher stops once nothing starts; the next row still waits.
        KickDispatch(core);
        return RobotsVerdict::Refused;
    }
    const RobotsGate::Clock::time_point now = RobotsGate::Clock::now();
    if (now < host->nextRequest) {
        core.robots.WaitUntil(host->nextRequest);
        core.list.SetItemText(row, kColMark, res::kMarkWaiting);
        return RobotsVerdict::Wait;
    }
    host->nextRequest = now + DelayOf(host->rules);
    return RobotsVerdict::Go;
}

bool RobotsRefuses(Core& core, const std::string& url)
{
    if (!RobotsWanted(core))
        return false;
    const RobotsGate::Host* host = core.robots.Find(RobotsHostKey(url));
    if (!host || !host->known || RobotsAllows(host->rules, RobotsPathOf(url)))
        return false;
    NoteSkipped(core, SkipReason::Robots, url);
    return true;
}

bool RobotsHoldsCrawl(const Core& core)
{
    return core.m_bRunning == 1 && core.robots.Waiting();
}

} // namespace zorone
