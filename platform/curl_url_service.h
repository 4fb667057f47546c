#pragma once
// The URL service over libcurl: http, https and ftp, fetched by a few worker
// threads, each driving one multi handle. Transfers to one host go to the
// workers that hold idle connections to it (see host_affinity.h), so
// connections are kept alive and reused from one transfer to the next, and a
// host sees no more connections than transfers ran to it at once; over https
// HTTP/2 carries them all over one connection where the server offers it,
// and TLS sessions are resumed across connections. A small body is held in
// memory until it is complete and then put on disk by the body store's
// thread (see body_store.h), so the worker goes on receiving; a larger one
// streams to its spool file as it arrives. Memory stays bounded whatever
// the bodies' sizes.
//
// A stored body takes the server's Last-Modified as its modification time
// and keeps its ETag in the extended attribute "user.zorone.etag" (where the
// file system has such attributes), which conditional requests send back.
//
// Threading: Open, Cancel and ActiveCount may be called from any thread.
// Notifications are posted to the message loop given to the constructor and
// run on the thread that dispatches it.
//
// Result codes are libcurl's CURLcode values; errorText is libcurl's message,
// or the file error when the spool file could not be created or written.
// An HTTP answer of 400 or above is reported with its status and code 0;
// its body is never stored. A complete empty body is stored as an empty
// file. Bodies of compressed files (.gz, .zip, ...) are stored as sent,
// never content-decoded.
#include "platform/message_loop.h"
#include "platform/url_service.h"

#include <chrono>
#include <memory>
#include <string>

namespace zorone::platform {

// The CA bundle named by CURL_CA_BUNDLE, else SSL_CERT_FILE (as the curl
// tool reads them), else "".
std::string CaBundleFromEnvironment();

// The cores of this machine, between 2 and 8.
int DefaultWorkerCount();

struct CurlUrlServiceOptions {
    std::chrono::milliseconds connectTimeout { std::chrono::seconds(30) };
    // A transfer that moves fewer than stallBytesPerSecond bytes per second
    // for stallTime (waiting for the response included) is aborted.
    std::chrono::seconds stallTime { 60 };
    long stallBytesPerSecond = 1;
    long maxRedirects = 20;
    // Transfers beyond this many wait in a queue, so a long list of requests
    // cannot exhaust file descriptors.
    int maxActive = 64;
    // Worker threads, each with its own connections: one per core, as more
    // only add thread switches, which cost more than they win on a busy or
    // virtual machine; at least two, so that a slow file creation on one
    // holds up only its own transfers, and at most eight.
    int workers = DefaultWorkerCount();
    std::string userAgent = "Zorone/3.21 (+Linux)";
    // Whether the usual proxy variables (http_proxy, no_proxy...) apply.
    bool useProxyEnvironment = true;
    // The certificate authorities trusted for https; empty: the system's.
    std::string caBundle = CaBundleFromEnvironment();
};

class CurlUrlService final : public UrlService {
public:
    // loop must outlive the service.
    explicit CurlUrlService(MessageLoop& loop, CurlUrlServiceOptions options = {});
    // Cancels every transfer still running and stops the worker thread.
    // Nothing is notified any more once the destructor has started, not even
    // notifications already waiting in the loop: a transfer in flight at that
    // point never gets its OnStopBinding. Destroy the service on the thread
    // that dispatches the loop, once nobody waits for stops (at exit).
    ~CurlUrlService() override;
    CurlUrlService(const CurlUrlService&) = delete;
    CurlUrlService& operator=(const CurlUrlService&) = delete;

    using UrlService::Open;
    Handle Open(const std::string& url, const std::string& spoolPath, const std::string& targetPath,
                const std::string& downloadFolder, TransferEvents* events) override;
    Handle Open(const std::string& url, const std::string& spoolPath, const std::string& targetPath,
                const std::string& downloadFolder, const OpenOptions& options, TransferEvents* events) override;
    void Cancel(Handle handle) override;
    int ActiveCount() const override;
    // Every transfer shares one cookie jar, which lives as long as the
    // service: cookies a site sets are sent with the later requests.
    std::string SetRequestOptions(const RequestOptions& options) override;
    std::string SaveCookies(const std::string& path) override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// The URL as sent on the wire: bytes outside ASCII (CP932 text) and spaces are
// percent-encoded; everything else is left as it is.
std::string EncodeUrlForTransfer(const std::string& url);

} // namespace zorone::platform
