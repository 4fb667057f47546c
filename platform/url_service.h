#pragma once
// Asynchronous fetching of one URL at a time per transfer. Implementations
// may work on their own thread, but every notification reaches its
// TransferEvents on the user-interface thread, through the message loop, in
// this order: zero or more OnDataAvailable with running byte totals (the first
// one flagged kFirstDataNotification), then exactly one OnStopBinding. That
// holds for every transfer Open accepted, whatever goes wrong: a URL that
// cannot be parsed, a host that does not resolve, a refused connection, a
// timeout, a cancelled transfer.
#include "platform/request_options.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace zorone::platform {

constexpr unsigned kFirstDataNotification = 1; // BSCF_FIRSTDATANOTIFICATION

struct TransferResult {
    // 0 when the exchange ran to its end (an HTTP error status included);
    // otherwise a nonzero code of the service.
    int code = 0;
    std::string errorText;
    // The final HTTP status after redirects (0 for ftp). A failing status
    // (IsFailingStatus) is never stored.
    long httpStatus = 0;
    // Bytes written to the spool file; for an HTTP error answer, the bytes
    // of its body, which were received but not kept.
    std::uint64_t bytes = 0;
    // The complete body, an empty one included, now stands at the
    // transfer's target path (a failed transfer's never does: its spool
    // file is removed and an old target stays as it was).
    bool committed = false;
    // The address the body came from after redirects (empty when the
    // service cannot tell), and the answer's Content-Type header as sent
    // ("text/html; charset=UTF-8"), empty when there was none.
    std::string finalUrl;
    std::string contentType;
    // The answer's Last-Modified in seconds since the epoch (-1 when it had
    // none) and its ETag as sent (empty when none). A stored body takes the
    // first as its modification time and keeps the second with the file, so
    // that a later conditional request can name both.
    std::int64_t lastModified = -1;
    std::string etag;
    // A conditional request was answered "not modified" (304): nothing was
    // written and the file at the target path stands as it was.
    bool notModified = false;
};

// Whether an HTTP status leaves nothing to store: an error (400 and above,
// whose body is an error page) or "not modified" (304), which has no body
// and answers nothing unless the transfer asked conditionally (then the
// result says notModified).
inline bool IsFailingStatus(long httpStatus)
{
    return httpStatus >= 400 || httpStatus == 304;
}

// How a transfer is to be made, beyond its URL and paths.
struct OpenOptions {
    // When a file stands at the target path, ask for the body only if it
    // changed since: If-Modified-Since from the file's modification time and
    // If-None-Match from the ETag kept with it. Without a file the request
    // is an ordinary one.
    bool onlyIfChanged = false;
    // At most this many transfers to the transfer's host at the same time
    // (0: no cap), and at least this long between the starts of two requests
    // to it; the transfer waits its turn in the service.
    int perHostMax = 0;
    std::chrono::milliseconds hostPause {0};
};

class TransferEvents {
public:
    virtual ~TransferEvents() = default;
    virtual void OnDataAvailable(std::uint64_t total, unsigned flags) = 0;
    virtual void OnStopBinding(const TransferResult& result) = 0;
    virtual void OnLowResource() {}
};

class UrlService {
public:
    using Handle = std::uint64_t;

    virtual ~UrlService() = default;

    // Starts fetching url (CP932 text). The body is written to spoolPath (a
    // CP932 path), which the service creates, with its folders, only when the
    // first byte arrives; without a body no file and no folder appear.
    // When targetPath is not empty, a body that arrived complete replaces
    // targetPath (by renaming the spool file, before the stop is told) and
    // one that did not is removed; with an empty targetPath the body stays in
    // spoolPath either way. downloadFolder (CP932), when not empty, is the
    // folder targetPath lies below: the body is never written through, and
    // never replaces, a symbolic link that leads out of it; such a transfer
    // stops with a nonzero code and the reason. events must stay alive until
    // its OnStopBinding has run. Returns a handle that is never 0.
    virtual Handle Open(const std::string& url, const std::string& spoolPath, const std::string& targetPath,
                        const std::string& downloadFolder, TransferEvents* events)
        = 0;
    // The same with options; a service that knows none of them makes an
    // ordinary transfer.
    virtual Handle Open(const std::string& url, const std::string& spoolPath, const std::string& targetPath,
                        const std::string& downloadFolder, const OpenOptions& options, TransferEvents* events)
    {
        static_cast<void>(options);
        return Open(url, spoolPath, targetPath, downloadFolder, events);
    }
    // The same without a download folder: the paths are used as they are.
    Handle Open(const std::string& url, const std::string& spoolPath, const std::string& targetPath,
                TransferEvents* events)
    {
        return Open(url, spoolPath, targetPath, std::string(), events);
    }

    // Ends a transfer early; its OnStopBinding still comes, with a nonzero code.
    virtual void Cancel(Handle handle) = 0;

    // Number of transfers opened and not yet stopped.
    virtual int ActiveCount() const = 0;

    // What the transfers opened from now on send besides their URL; loads
    // options.cookieFile into the cookie jar. The reason when the options
    // cannot be used (nothing changes then), else "". A service without
    // request options takes only the defaults.
    virtual std::string SetRequestOptions(const RequestOptions& options)
    {
        return options.userAgent.empty() && options.headers.empty() && options.cookieFile.empty()
                   ? std::string()
                   : std::string("this URL service sends no request options");
    }
    // Writes the cookie jar (the loaded cookies and those the sites set) as
    // a Netscape cookies.txt to path (CP932). The reason when it cannot,
    // else "".
    virtual std::string SaveCookies(const std::string& path)
    {
        (void)path;
        return "this URL service keeps no cookies";
    }
};

} // namespace zorone::platform
