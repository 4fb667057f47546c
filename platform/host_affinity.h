#pragma once
// Which worker of the URL service runs a transfer, chosen so that transfers
// to one host share connections. Each worker keeps its own connections, so a
// host reaches as many connections as its transfers ever ran at the same
// time on all workers together: a new transfer goes to a worker that holds
// an idle connection to its host, and only when none does to the least busy
// worker, which then opens one more. One transfer after the other thus uses
// one connection, and eight at a time at most eight.
//
// A pinned host keeps all its transfers on one worker: HTTP/2 multiplexes
// only the transfers of one worker's connections, and the per-host cap and
// pause are kept by the worker that runs them.
//
// Thread-safe: Choose runs where transfers are opened, Release on workers.
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace zorone::platform {

class HostAffinity {
public:
    explicit HostAffinity(int workers);

    // The worker (0..workers-1) for one more transfer to host.
    int Choose(const std::string& host, bool pinned);
    // The transfer Choose placed on worker has ended; its connection is idle.
    void Release(const std::string& host, int worker);

private:
    struct Host {
        std::vector<int> running;     // transfers now, per worker
        std::vector<int> connections; // the most ever at once, per worker
        int pinnedWorker = -1;
    };
    int LeastBusy() const;

    std::mutex m_mutex;
    std::unordered_map<std::string, Host> m_hosts;
    std::vector<int> m_load; // transfers now, per worker, all hosts
};

// "scheme://host:port" of url (CP932 or ASCII), the key transfers share
// connections by; empty when url cannot be parsed.
std::string HostKeyOf(const std::string& url);

} // namespace zorone::platform
