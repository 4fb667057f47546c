#pragma once
// The request options as libcurl takes them: one cookie jar (libcurl's cookie
// engine behind a share handle) that every transfer of a service reads and
// updates from any worker thread, and the header list and User-Agent of the
// current crawl.
#include "platform/request_options.h"

#include <curl/curl.h>

#include <array>
#include <mutex>
#include <string>

namespace zorone::platform {

class CurlCookieJar {
public:
    CurlCookieJar();
    ~CurlCookieJar();
    CurlCookieJar(const CurlCookieJar&) = delete;
    CurlCookieJar& operator=(const CurlCookieJar&) = delete;

    CURLSH* Share() const { return m_share; }
    // Adds the cookies of a Netscape cookies.txt (CP932 path) to the jar.
    // The reason when it cannot be read, else "".
    std::string Load(const std::string& path);
    // Writes the jar as a Netscape cookies.txt, replacing path in one step.
    // The reason when it cannot be written, else "". Never says a cookie.
    std::string Save(const std::string& path);

private:
    static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* user);
    static void Unlock(CURL*, curl_lock_data data, void* user);

    CURLSH* m_share = nullptr;
    std::array<std::mutex, CURL_LOCK_DATA_LAST> m_locks;
};

// Immutable once made, so transfers of several worker threads can share one.
class CurlRequestSetup {
public:
    // options must have passed CheckRequestOptions; jar may be null.
    CurlRequestSetup(const RequestOptions& options, std::string defaultUserAgent, CURLSH* jar);
    ~CurlRequestSetup();
    CurlRequestSetup(const CurlRequestSetup&) = delete;
    CurlRequestSetup& operator=(const CurlRequestSetup&) = delete;

    // Sets the User-Agent, the headers and the jar on easy; false when
    // libcurl refused one of them.
    bool Apply(CURL* easy) const;
    // A new list of the crawl's headers followed by line, for a transfer that
    // needs one header more; the caller frees it. Null when out of memory.
    curl_slist* HeadersWith(const std::string& line) const;

private:
    std::string m_userAgent;
    curl_slist* m_headers = nullptr;
    CURLSH* m_jar;
};

} // namespace zorone::platform
