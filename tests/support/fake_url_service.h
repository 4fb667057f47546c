#pragma once
// A URL service the test drives by hand: it records every Open and lets the
// test deliver data and the stop through the message loop, in the order the
// real service guarantees.
#include "platform/message_loop.h"
#include "platform/url_service.h"

#include <map>
#include <string>
#include <vector>

namespace zorone::test {

class FakeUrlService final : public platform::UrlService {
public:
    struct Transfer {
        Handle handle = 0;
        std::string url;
        std::string spoolPath;
        std::string targetPath;
        std::string downloadFolder;
        platform::TransferEvents* events = nullptr;
        std::uint64_t written = 0;
        bool stopped = false;
        // What the stop reports as the answer's address and type; a test
        // sets them before the stop (the address defaults to url).
        std::string finalUrl;
        std::string contentType;
        platform::OpenOptions options;
    };

    explicit FakeUrlService(platform::MessageLoop& loop)
        : m_loop(loop)
    {
    }

    using UrlService::Open;
    Handle Open(const std::string& url, const std::string& spoolPath, const std::string& targetPath,
                const std::string& downloadFolder, platform::TransferEvents* events) override;
    Handle Open(const std::string& url, const std::string& spoolPath, const std::string& targetPath,
                const std::string& downloadFolder, const platform::OpenOptions& options,
                platform::TransferEvents* events) override;
    void Cancel(Handle handle) override;
    int ActiveCount() const override;

    // Appends bytes to the spool file and posts a data notification.
    void Deliver(Handle handle, const std::string& bytes);
    // Posts the stop; code 0 with a status below 400 means the body is
    // complete. Like the real service, a complete body (an empty one too) is
    // moved to the target first, any other removed.
    void Stop(Handle handle, int code = 0, long httpStatus = 200);
    // Posts the stop of a conditional request the server answered 304: the
    // target stays as it is.
    void StopNotModified(Handle handle);
    // Deliver (when body is not empty) and Stop in one go.
    void Complete(Handle handle, const std::string& body, int code = 0);

    const std::vector<Transfer>& Transfers() const { return m_transfers; }
    Transfer* Find(Handle handle);
    // The open transfer for url, or nullptr.
    Transfer* FindOpen(const std::string& url);
    std::vector<Handle> OpenHandles() const;
    int StopsDelivered() const { return m_stopsDelivered; }

private:
    platform::MessageLoop& m_loop;
    std::vector<Transfer> m_transfers;
    int m_stopsDelivered = 0;
};

} // namespace zorone::test
