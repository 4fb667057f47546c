#include "engine/crawl_control.h"

#include "engine/completion.h"
#include "engine/data_exchange.h"
#include "engine/download_file.h"
#include "engine/output.h"
#include "engine/web_rules.h"
#include "engine/request_settings.h"
#include "engine/robots_gate.h"
#include "res/texts.h"
#include "web/local_path.h"
#include "web/url_util.h"

#include <memory>

namespace zorone {
namespace {

constexpr int kHistoryMax = 10;

// Puts value at the top of a history unless it is there already.
void UpdateHistory(ComboModel& combo, const std::string& value)
{
    // An empty field is no entry worth remembering.
    if (value.empty() || combo.FindStringExact(value) >= 0)
        return;
    combo.InsertString(0, value);
    while (combo.GetCount() > kHistoryMax)
        combo.DeleteString(kHistoryMax);
}

} // namespace

void StartCrawl(Core& core)
{
    Settings& s = core.settings;
    UpdateHistory(core.window.folderCombo, s.m_sPath);
    UpdateHistory(core.window.urlCombo, s.m_sTopURL);
    core.window.Notify(WindowPart::Combos);

    if (s.m_sPath.size() > 1 && s.m_sPath.back() != '/') {
        s.m_sPath += '/';
        WriteFieldsToControls(core);
    }
    // A crawl whose end still rewrites links is not over yet.
    if (core.m_bConverting == 1)
        return;
    if (s.m_sTopURL.empty() && core.list.GetItemCount() == 0) {
        core.ui.MessageBox(res::kMsgEnterUrl, res::kCaptionCrawlError, platform::MbButtons::Ok);
        return;
    }
    if (s.m_sPath.empty()) {
        core.ui.MessageBox(res::kMsgEnterFolder, res::kCaptionCrawlError, platform::MbButtons::Ok);
        return;
    }
    // A crawl that should carry a login must not run without it.
    if (const std::string why = ApplyRequestSettings(core); !why.empty()) {
        core.ui.MessageBox(res::kMsgRequestSettings + "\n" + why, res::kCaptionCrawlError, platform::MbButtons::Ok);
        return;
    }
    SetStartButtonCaption(core, res::kCaptionAbort);
    SetStatusText(core, res::kStatusCrawlStarted);
    core.m_nCrawlCount = 0;
    core.m_nUpToDateCount = 0;
    core.m_nFailedCount = 0;
    core.m_bAborted = 0;
    core.storedThisCrawl.clear();
    core.skipped.Clear();
    core.robots.Reset();
    core.list.ReleaseFailedRows();
    core.m_bRunning = 1;
    AddTopURLs(core);
    KickDispatch(core);
}

void AddTopURLs(Core& core)
{
    ReadFieldsFromControls(core);
    RulesOf(core).AddTopUrls(core);
}

void KickDispatch(Core& core)
{
    if (core.loop.IsPending(platform::kWmCrawlNext))
        return;
    core.loop.Post({platform::kWmCrawlNext, 0, 0, {}});
}

void FillDownloadSlots(Core& core)
{
    bool started = false;
    for (int i = core.m_nActiveDownloads; i < core.settings.m_nMultiDownloadMax; ++i) {
        if (StartNextDownload(core) != 1)
            // Nothing changed since this call found nothing to start, so the
            // remaining calls would find nothing either; with a huge slot
            // count they would only spin.
            break;
        started = true;
    }
    if (started)
        return;
    if (core.m_nActiveDownloads < 1 && !RobotsHoldsCrawl(core) &&
        (core.settings.m_bDownloadFileExist == 0 || core.m_nLocalChecks < 1))
        FinishCrawl(core);
}

int StartNextDownload(Core& core)
{
    SetStatusText(core, res::kStatusDownloading);
    constexpr int kNone = -2;
    int row = kNone;
    if (core.m_bRunning == 1)
        row = SelectNextItem(core);
    const std::string url = core.list.GetItemText(row, kColUrl);
    const std::string local = LocalPathOf(core, url);

    // Update mode asks the server about a file on disk instead of taking it
    // as it is.
    const bool update = core.settings.m_bUpdateExisting == 1;
    if (!update && core.settings.m_bDownloadFileExist == 1
        && CSiteUtil::FileExistsBeneath(core.settings.m_sPath, local)) {
        if (row == -1)
            return 0;
        if (core.m_bRunning == 1) {
            CompleteLocally(core, row, url, local);
            return 1;
        }
    }
    if (row < 0 || core.m_bRunning != 1)
        return 0;
    if (const RobotsVerdict robots = AdmitByRobots(core, row, url); robots != RobotsVerdict::Go)
        return robots == RobotsVerdict::Refused ? 1 : 0;

    WriteFieldsToControls(core);
    SetStatusText(core, res::kStatusDownloading);
    auto transfer = std::make_unique<CDownloadFile>(core);
    CDownloadFile* raw = transfer.get();
    core.transfers.emplace(raw, std::move(transfer));
    ++core.m_nActiveDownloads;
    raw->StartDownload(core.list.GetItemId(row), local, url, update);
    return 1;
}

int SelectNextItem(Core& core)
{
    SetStatusText(core, res::kStatusSelecting);
    const int row = core.list.FirstWaitingRow();
    if (row >= 0)
        core.list.SetItemText(row, kColMark, res::kMarkActive);
    return row;
}

void AbortCrawl(Core& core)
{
    if (core.m_bRunning != 1)
        return;
    core.m_bRunning = 0;
    core.m_bAborted = 1;
    SetStartButtonCaption(core, res::kCaptionStart);
    SetStatusText(core, res::kStatusAborted);
    OnDownloadComplete(core, 0, nullptr);
}

} // namespace zorone
