#include "platform/host_affinity.h"

#include <curl/curl.h>

#include <algorithm>

namespace zorone::platform {

HostAffinity::HostAffinity(int workers)
    : m_load(static_cast<size_t>(std::max(workers, 1)), 0)
{
}

int HostAffinity::LeastBusy() const
{
    return static_cast<int>(std::min_element(m_load.begin(), m_load.end()) - m_load.begin());
}

int HostAffinity::Choose(const std::string& host, bool pinned)
{
    std::lock_guard lock(m_mutex);
    Host& h = m_hosts[host];
    if (h.running.empty()) {
        h.running.assign(m_load.size(), 0);
        h.connections.assign(m_load.size(), 0);
    }
    int worker = -1;
    if (pinned) {
        if (h.pinnedWorker < 0) {
            // A host that ran spread out keeps the worker with the most
            // connections to it.
            const auto most = std::max_element(h.connections.begin(), h.connections.end());
            h.pinnedWorker = *most > 0 ? static_cast<int>(most - h.connections.begin()) : LeastBusy();
        }
        worker = h.pinnedWorker;
    } else if (h.pinnedWorker >= 0) {
        worker = h.pinnedWorker;
    } else {
        for (size_t w = 0; w < m_load.size() && worker < 0; ++w)
            if (h.running[w] < h.connections[w])
                worker = static_cast<int>(w);
        if (worker < 0)
            worker = LeastBusy();
    }
    const auto w = static_cast<size_t>(worker);
    ++h.running[w];
    h.connections[w] = std::max(h.connections[w], h.running[w]);
    ++m_load[w];
    return worker;
}

void HostAffinity::Release(const std::string& host, int worker)
{
    std::lock_guard lock(m_mutex);
    const auto it = m_hosts.find(host);
    const auto w = static_cast<size_t>(worker);
    if (it == m_hosts.end() || w >= m_load.size() || it->second.running[w] == 0)
        return;
    --it->second.running[w];
    --m_load[w];
}

std::string HostKeyOf(const std::string& url)
{
    CURLU* u = curl_url();
    if (!u)
        return {};
    std::string key;
    // Non-ASCII bytes would be refused; the host part is ASCII anyway.
    if (curl_url_set(u, CURLUPART_URL, url.c_str(), CURLU_NON_SUPPORT_SCHEME | CURLU_ALLOW_SPACE | CURLU_URLENCODE)
        == CURLUE_OK) {
        char* scheme = nullptr;
        char* host = nullptr;
        char* port = nullptr;
        curl_url_get(u, CURLUPART_SCHEME, &scheme, 0);
        curl_url_get(u, CURLUPART_HOST, &host, 0);
        curl_url_get(u, CURLUPART_PORT, &port, CURLU_DEFAULT_PORT);
        if (scheme && host) {
            key = std::string(scheme) + "://" + host;
            // Host names ignore case; this libcurl keeps it as written.
            std::transform(key.begin(), key.end(), key.begin(),
                           [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
            key += ':';
            if (port)
                key += port;
        }
        curl_free(scheme);
        curl_free(host);
        curl_free(port);
    }
    curl_url_cleanup(u);
    return key;
}

} // namespace zorone::platform
