#include "platform/curl_request_setup.h"

#include "platform/code_page.h"
#include "platform/files.h"

#include <unistd.h>

#include <fstream>

namespace zorone::platform {

CurlCookieJar::CurlCookieJar()
{
    m_share = curl_share_init();
    if (!m_share)
        return;
    curl_share_setopt(m_share, CURLSHOPT_LOCKFUNC, &CurlCookieJar::Lock);
    curl_share_setopt(m_share, CURLSHOPT_UNLOCKFUNC, &CurlCookieJar::Unlock);
    curl_share_setopt(m_share, CURLSHOPT_USERDATA, this);
    curl_share_setopt(m_share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    // The same share carries what else all workers have in common: TLS
    // sessions (a new connection to a host resumes one instead of a full
    // handshake) and resolved names. Connections stay per worker: libcurl
    // does not share them between threads that run at the same time.
    curl_share_setopt(m_share, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
    curl_share_setopt(m_share, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
}

CurlCookieJar::~CurlCookieJar()
{
    if (m_share)
        curl_share_cleanup(m_share);
}

void CurlCookieJar::Lock(CURL*, curl_lock_data data, curl_lock_access, void* user)
{
    static_cast<CurlCookieJar*>(user)->m_locks[static_cast<size_t>(data)].lock();
}

void CurlCookieJar::Unlock(CURL*, curl_lock_data data, void* user)
{
    static_cast<CurlCookieJar*>(user)->m_locks[static_cast<size_t>(data)].unlock();
}

std::string CurlCookieJar::Load(const std::string& path)
{
    if (std::string why = CheckCookieFile(path); !why.empty())
        return why;
    CURL* easy = curl_easy_init();
    if (!easy || !m_share) {
        if (easy)
            curl_easy_cleanup(easy);
        return "cannot start the cookie engine";
    }
    // Each line goes to libcurl's own cookies.txt parser (CURLOPT_COOKIELIST
    // takes Netscape lines and skips comments). Loading the file through
    // CURLOPT_COOKIEFILE would wait for a transfer of this very handle.
    std::ifstream in(ToFsPath(path), std::ios::binary);
    bool ok = in.is_open() && curl_easy_setopt(easy, CURLOPT_SHARE, m_share) == CURLE_OK;
    for (std::string line; ok && std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.find('\0') == std::string::npos)
            ok = curl_easy_setopt(easy, CURLOPT_COOKIELIST, line.c_str()) == CURLE_OK;
    }
    curl_easy_cleanup(easy);
    return ok ? std::string() : "cannot load the cookies file '" + path + "'";
}

std::string CurlCookieJar::Save(const std::string& path)
{
    CURL* easy = curl_easy_init();
    if (!easy || !m_share) {
        if (easy)
            curl_easy_cleanup(easy);
        return "cannot start the cookie engine";
    }
    // libcurl says nothing when it cannot write the jar; writing beside the
    // file and renaming shows whether it did, and never leaves a half file.
    files::CreateFolders(path);
    const std::string temp = path + ".zorone-" + std::to_string(::getpid()) + ".tmp";
    files::RemoveFile(temp);
    const std::string fsTemp = ToFsPath(temp);
    bool ok = curl_easy_setopt(easy, CURLOPT_SHARE, m_share) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_COOKIEJAR, fsTemp.c_str()) == CURLE_OK;
    ok = ok && curl_easy_setopt(easy, CURLOPT_COOKIELIST, "FLUSH") == CURLE_OK;
    // Cleaning up writes the jar once more, to the same file.
    curl_easy_cleanup(easy);
    if (!ok || !files::Exists(temp) || !files::Rename(temp, path)) {
        files::RemoveFile(temp);
        return "cannot write the cookies file '" + path + "'";
    }
    return {};
}

CurlRequestSetup::CurlRequestSetup(const RequestOptions& options, std::string defaultUserAgent, CURLSH* jar)
    : m_userAgent(options.userAgent.empty() ? std::move(defaultUserAgent) : options.userAgent)
    , m_jar(jar)
{
    for (const std::string& line : options.headers) {
        // "Name:" with nothing after it would remove libcurl's own header of
        // that name; "Name;" is how libcurl sends a header with an empty value.
        std::string sent = line;
        if (sent.find_first_not_of(" \t", sent.find(':') + 1) == std::string::npos)
            sent = sent.substr(0, sent.find(':')) + ";";
        if (curl_slist* grown = curl_slist_append(m_headers, sent.c_str()))
            m_headers = grown;
    }
}

CurlRequestSetup::~CurlRequestSetup()
{
    curl_slist_free_all(m_headers);
}

curl_slist* CurlRequestSetup::HeadersWith(const std::string& line) const
{
    curl_slist* copy = nullptr;
    for (const curl_slist* h = m_headers; h; h = h->next) {
        curl_slist* grown = curl_slist_append(copy, h->data);
        if (!grown) {
            curl_slist_free_all(copy);
            return nullptr;
        }
        copy = grown;
    }
    curl_slist* grown = curl_slist_append(copy, line.c_str());
    if (!grown)
        curl_slist_free_all(copy);
    return grown;
}

bool CurlRequestSetup::Apply(CURL* easy) const
{
    bool ok = curl_easy_setopt(easy, CURLOPT_USERAGENT, m_userAgent.c_str()) == CURLE_OK;
    if (m_headers)
        ok = ok && curl_easy_setopt(easy, CURLOPT_HTTPHEADER, m_headers) == CURLE_OK;
    // A share alone does not switch the cookie engine on; an empty cookie
    // file name does, without reading anything.
    if (m_jar)
        ok = ok && curl_easy_setopt(easy, CURLOPT_SHARE, m_jar) == CURLE_OK &&
             curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "") == CURLE_OK;
    return ok;
}

} // namespace zorone::platform
