#include "tests/support/fake_url_service.h"

#include "platform/files.h"

#include <gtest/gtest.h>

namespace zorone::test {

platform::UrlService::Handle FakeUrlService::Open(const std::string& url, const std::string& spoolPath,
                                                  const std::string& targetPath, const std::string& downloadFolder,
                                                  platform::TransferEvents* events)
{
    Transfer t;
    t.handle = m_transfers.size() + 1;
    t.url = url;
    t.spoolPath = spoolPath;
    t.targetPath = targetPath;
    t.downloadFolder = downloadFolder;
    t.events = events;
    m_transfers.push_back(t);
    return t.handle;
}

platform::UrlService::Handle FakeUrlService::Open(const std::string& url, const std::string& spoolPath,
                                                  const std::string& targetPath, const std::string& downloadFolder,
                                                  const platform::OpenOptions& options,
                                                  platform::TransferEvents* events)
{
    const Handle handle = Open(url, spoolPath, targetPath, downloadFolder, events);
    m_transfers.back().options = options;
    return handle;
}

void FakeUrlService::StopNotModified(Handle handle)
{
    Transfer* t = Find(handle);
    ASSERT_TRUE(t && !t->stopped);
    t->stopped = true;
    platform::TransferResult r;
    r.httpStatus = 304;
    r.notModified = true;
    r.finalUrl = t->url;
    platform::TransferEvents* events = t->events;
    m_loop.PostTask([this, events, r] {
        ++m_stopsDelivered;
        events->OnStopBinding(r);
    });
}

void FakeUrlService::Cancel(Handle handle)
{
    Stop(handle, 42);
}

int FakeUrlService::ActiveCount() const
{
    int n = 0;
    for (const Transfer& t : m_transfers)
        n += t.stopped ? 0 : 1;
    return n;
}

FakeUrlService::Transfer* FakeUrlService::Find(Handle handle)
{
    return handle >= 1 && handle <= m_transfers.size() ? &m_transfers[handle - 1] : nullptr;
}

FakeUrlService::Transfer* FakeUrlService::FindOpen(const std::string& url)
{
    for (Transfer& t : m_transfers)
        if (!t.stopped && t.url == url)
            return &t;
    return nullptr;
}

std::vector<platform::UrlService::Handle> FakeUrlService::OpenHandles() const
{
    std::vector<Handle> out;
    for (const Transfer& t : m_transfers)
        if (!t.stopped)
            out.push_back(t.handle);
    return out;
}

void FakeUrlService::Deliver(Handle handle, const std::string& bytes)
{
    Transfer* t = Find(handle);
    ASSERT_TRUE(t && !t->stopped);
    if (t->written == 0)
        platform::files::CreateFolders(t->spoolPath);
    platform::files::File f;
    ASSERT_TRUE(f.Open(t->spoolPath, t->written == 0 ? platform::files::File::Mode::CreateTruncate
                                                      : platform::files::File::Mode::WriteExisting));
    f.SeekToEnd();
    f.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    const bool first = t->written == 0;
    t->written += bytes.size();
    const std::uint64_t total = t->written;
    platform::TransferEvents* events = t->events;
    m_loop.PostTask([events, total, first] { events->OnDataAvailable(total, first ? platform::kFirstDataNotification : 0); });
}

void FakeUrlService::Stop(Handle handle, int code, long httpStatus)
{
    Transfer* t = Find(handle);
    ASSERT_TRUE(t && !t->stopped);
    t->stopped = true;
    platform::TransferResult r;
    r.code = code;
    r.httpStatus = httpStatus;
    r.bytes = t->written;
    r.finalUrl = t->finalUrl.empty() ? t->url : t->finalUrl;
    r.contentType = t->contentType;
    // An error status or a broken transfer stores nothing; a complete body,
    // an empty one included, replaces the target.
    const bool complete = code == 0 && httpStatus < 400;
    if (complete && t->written == 0 && !t->targetPath.empty()) {
        platform::files::CreateFolders(t->targetPath);
        platform::files::File f;
        r.committed = f.Open(t->targetPath, platform::files::File::Mode::CreateTruncate);
    } else if (t->written > 0 && !t->targetPath.empty()) {
        if (complete && platform::files::Rename(t->spoolPath, t->targetPath))
            r.committed = true;
        else
            platform::files::RemoveFile(t->spoolPath);
    }
    platform::TransferEvents* events = t->events;
    m_loop.PostTask([this, events, r] {
        ++m_stopsDelivered;
        events->OnStopBinding(r);
    });
}

void FakeUrlService::Complete(Handle handle, const std::string& body, int code)
{
    if (!body.empty())
        Deliver(handle, body);
    Stop(handle, code);
}

} // namespace zorone::test
