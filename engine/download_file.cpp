#include "engine/download_file.h"

#include "engine/completion.h"
#include "engine/core.h"
#include "engine/output.h"
#include "res/texts.h"
#include "web/site_util.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>

namespace zorone {

namespace {

// Asked once: the process never changes its id, and asking costs a system
// call for every file.
pid_t ProcessId()
{
    static const pid_t id = ::getpid();
    return id;
}

} // namespace

std::string SpoolPathFor(const std::string& localPath)
{
    static std::atomic<unsigned long> counter {0};
    return CSiteUtil::GetUrlFolder(localPath) + ".zorone-" + std::to_string(ProcessId()) + "-" +
           std::to_string(++counter) + ".part";
}

CDownloadFile::CDownloadFile(Core& core)
    : m_core(core)
{
}

CDownloadFile::~CDownloadFile() = default;

int CDownloadFile::StartDownload(ItemId item, std::string localPath, std::string url, bool onlyIfChanged)
{
    m_bOnlyIfChanged = onlyIfChanged;
    m_nItem = item;
    m_sLocalPath = std::move(localPath);
    m_sUrl = std::move(url);
    m_dwReceived = 0;
    m_sSpoolPath = SpoolPathFor(m_sLocalPath);
    if (!m_core.urls) {
        // Nothing can fetch here; the transfer still ends with its one stop.
        m_core.loop.PostTask([this] {
            platform::TransferResult r;
            r.code = -1;
            r.errorText = "no URL service";
            OnStopBinding(r);
        });
        return 0;
    }
    platform::OpenOptions options;
    options.onlyIfChanged = onlyIfChanged;
    options.perHostMax = std::max(m_core.settings.m_nPerHostMax, 0);
    options.hostPause = std::chrono::milliseconds(std::max(m_core.settings.m_nHostWaitMs, 0));
    m_handle = m_core.urls->Open(m_sUrl, m_sSpoolPath, m_sLocalPath, m_core.settings.m_sPath, options, this);
    return 1;
}

void CDownloadFile::OnDataAvailable(std::uint64_t total, unsigned flags)
{
    if (flags & platform::kFirstDataNotification)
        m_dwReceived = 0;
    if (total == m_dwReceived)
        return;
    m_dwReceived = total;
    const int row = m_core.list.FindItem(m_nItem);
    if (row >= 0)
        SetItemSize(m_core, row, static_cast<std::int64_t>(total));
}

std::string TransferFailure(const platform::TransferResult& result)
{
    // A 304 here answered no condition of the update mode's.
    if (platform::IsFailingStatus(result.httpStatus))
        return "HTTP " + std::to_string(result.httpStatus);
    if (result.code != 0)
        return result.errorText.empty() ? "transfer error " + std::to_string(result.code) : result.errorText;
    if (!result.committed)
        return result.errorText.empty() ? "not stored" : result.errorText;
    return {};
}

void CDownloadFile::OnStopBinding(const platform::TransferResult& result)
{
    if (result.bytes > 0) {
        const int row = m_core.list.FindItem(m_nItem);
        if (row >= 0)
            SetItemSize(m_core, row, static_cast<std::int64_t>(result.bytes));
    }
    m_answer.finalUrl = result.finalUrl;
    m_answer.contentType = result.contentType;
    // Each destroys this object: nothing of it may be touched afterwards.
    if (result.notModified && m_bOnlyIfChanged) {
        OnDownloadUpToDate(m_core, this);
        return;
    }
    if (std::string reason = TransferFailure(result); !reason.empty()) {
        SetStatusText(m_core, res::kStatusTransferBroken + m_sUrl + " (" + reason + ")");
        OnDownloadFailed(m_core, this, reason);
        return;
    }
    OnDownloadComplete(m_core, 1, this);
}

void CDownloadFile::OnLowResource()
{
    m_core.ui.MessageBox(res::kMsgLowResource, res::kAppTitle, platform::MbButtons::Ok);
}

} // namespace zorone
