#pragma once
// One transfer: fetches an item's URL through the URL service, follows the
// byte count in the item's サイズ column and, when the transfer stops, puts
// the body in place as the item's local file and completes the item.
//
// The body never sits in memory: the service spools it to a temporary file
// beside the target and, once it is complete, renames that file over the
// target before the stop arrives, so an existing file is replaced only by a
// complete new body, and sizes count in 64 bits.
#include "engine/download_item.h"
#include "engine/web_rules.h"
#include "platform/url_service.h"

#include <cstdint>
#include <string>

namespace zorone {

struct Core;

class CDownloadFile final : public platform::TransferEvents {
public:
    explicit CDownloadFile(Core& core);
    ~CDownloadFile() override;

    // Opens url for the item; the body goes to localPath when complete.
    // Every started transfer reaches OnDownloadComplete, OnDownloadUpToDate
    // or OnDownloadFailed exactly once, also when the URL cannot be opened at
    // all. onlyIfChanged: a file at localPath is fetched again only when the
    // server has a newer one.
    int StartDownload(ItemId item, std::string localPath, std::string url, bool onlyIfChanged = false);

    void OnDataAvailable(std::uint64_t total, unsigned flags) override;
    void OnStopBinding(const platform::TransferResult& result) override;
    void OnLowResource() override;

    ItemId m_nItem = 0;
    std::string m_sLocalPath;
    std::string m_sUrl;
    std::uint64_t m_dwReceived = 0;
    // What the answer said about the body, once the transfer stopped.
    StoredAnswer m_answer;
    platform::UrlService::Handle m_handle = 0;

private:
    Core& m_core;
    std::string m_sSpoolPath;
    bool m_bOnlyIfChanged = false;
};

// Why a stopped transfer did not give the item its file: an HTTP status of
// 400 or above, a transfer error, or a body that could not be stored; the
// empty text when the file is in place (an empty body counts).
std::string TransferFailure(const platform::TransferResult& result);

// The temporary file a transfer spools its body to: beside localPath, hidden,
// unique within the process.
std::string SpoolPathFor(const std::string& localPath);

} // namespace zorone
