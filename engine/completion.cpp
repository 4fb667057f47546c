#include "engine/completion.h"

#include "engine/crawl_control.h"
#include "engine/download_file.h"
#include "engine/extract_links.h"
#include "engine/output.h"
#include "engine/whole_file.h"
#include "res/texts.h"
#include "web/list_util.h"
#include "web/local_path.h"
#include "web/site_shortcut.h"
#include "web/site_util.h"
#include "web/text_case.h"
#include "web/url_util.h"

#include <cstdint>

namespace zorone {
namespace {

std::string LowerExtensionOf(const std::string& local)
{
    return ToLowerCp932(CSiteUtil::GetExtension(local));
}

// Reads the document for links when its type is analysed and it is small
// enough; a missing file counts as size 0 and reads as the empty text.
void AnalyseIfWanted(Core& core, const std::string& url, const std::string& local)
{
    const std::string ext = LowerExtensionOf(local);
    if (CListUtil::IsInList(ext, core.settings.m_sAnalsysFileEx) != 1)
        return;
    if (static_cast<std::int64_t>(core.settings.m_nBytes) < CSiteUtil::GetFileSize(local))
        return;
    const std::string text = ReadWholeFile(core, local);
    ExtractLinks(core, url, text);
}

void CountCompleted(Core& core, const std::string& local)
{
    ++core.m_nCrawlCount;
    ++core.settings.m_nTotalDownloadCount;
    core.tally.TallyDownloaded(LowerExtensionOf(local));
    UpdateSummary(core);
    core.m_bListModified = 1;
}

void RemoveIfWanted(Core& core, ItemId item)
{
    if (core.settings.m_bDownloadedDelete != 1)
        return;
    const int row = core.list.FindItem(item);
    if (row >= 0)
        core.list.DeleteItem(row);
}

void MakeShortcutIfTop(Core& core, const std::string& url, const std::string& local)
{
    if (url != core.settings.m_sTopURL || core.settings.m_bShortCut != 1)
        return;
    std::string folder = core.settings.m_nShortCutKind == 0 ? CSiteUtil::GetDesktopFolder()
                                                             : core.settings.m_sShortCutPath;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    CSiteUtil::CreateSiteShortcut(folder + CSiteUtil::ShortcutFileName(), local, "", folder);
}

std::string FormatCount(const std::string& format, int n)
{
    std::string text = format;
    const size_t at = text.find("%d");
    if (at != std::string::npos)
        text.replace(at, 2, std::to_string(n));
    return text;
}

// Frees the transfer's slot and asks for the next item.
void ReleaseSlot(Core& core, CDownloadFile* transfer)
{
    --core.m_nActiveDownloads;
    if (transfer)
        core.transfers.erase(transfer);
    KickDispatch(core);
}

// The first top URL: the page a finished crawl offers to open.
std::string FirstTopUrl(const std::string& topUrls)
{
    const std::vector<std::string_view> lines = CUrlUtil::UrlLines(topUrls);
    return lines.empty() ? std::string() : std::string(lines.front());
}

} // namespace

std::string LocalPathOf(const Core& core, const std::string& url)
{
    return CSiteUtil::LocalPathOf(core.settings.m_sPath, url);
}

int OnDownloadComplete(Core& core, int result, CDownloadFile* transfer)
{
    SetStatusText(core, res::kStatusDownloadEnded);
    if (result == 1 && transfer) {
        const ItemId item = transfer->m_nItem;
        const int row = core.list.FindItem(item);
        // A row the user deleted, or whose list was cleared, still had its
        // file written and still counts; only its row is gone.
        const std::string url = row >= 0 ? core.list.GetItemText(row, kColUrl) : transfer->m_sUrl;
        const std::string local = transfer->m_sLocalPath;
        MakeShortcutIfTop(core, url, local);
        if (row >= 0)
            core.list.SetItemText(row, kColMark, res::kMarkDone);
        AnalyseIfWanted(core, url, local);
        CountCompleted(core, local);
        RemoveIfWanted(core, item);
    }
    if (result != 0)
        ReleaseSlot(core, transfer);
    return 1;
}

void OnDownloadFailed(Core& core, CDownloadFile* transfer, const std::string& reason)
{
    // Nothing of a failed item counts: no analysis, no tally, no lifetime
    // count, and its row stays for the user to see (and to retry).
    const int row = core.list.FindItem(transfer->m_nItem);
    const std::string url = row >= 0 ? core.list.GetItemText(row, kColUrl) : transfer->m_sUrl;
    if (row >= 0)
        core.list.MarkFailed(row);
    ++core.m_nFailedCount;
    core.m_bListModified = 1;
    if (core.failureObserver)
        core.failureObserver->OnTransferFailed(url, reason);
    ReleaseSlot(core, transfer);
}

void OnDownloadUpToDate(Core& core, CDownloadFile* transfer)
{
    SetStatusText(core, res::kStatusFoundLocally);
    const ItemId item = transfer->m_nItem;
    const int row = core.list.FindItem(item);
    const std::string url = row >= 0 ? core.list.GetItemText(row, kColUrl) : transfer->m_sUrl;
    const std::string local = transfer->m_sLocalPath;
    MakeShortcutIfTop(core, url, local);
    if (row >= 0)
        core.list.SetItemText(row, kColMark, res::kMarkDone);
    AnalyseIfWanted(core, url, local);
    // Nothing was downloaded: neither this crawl's count nor the lifetime
    // counter grows. The row is finished all the same, so the per-extension
    // tally and the progress the window shows count it as done.
    ++core.m_nUpToDateCount;
    core.tally.TallyDownloaded(LowerExtensionOf(local));
    UpdateSummary(core);
    core.m_bListModified = 1;
    RemoveIfWanted(core, item);
    ReleaseSlot(core, transfer);
}

void CompleteLocally(Core& core, int row, const std::string& url, const std::string& local)
{
    ++core.m_nLocalChecks;
    SetStatusText(core, res::kStatusFoundLocally);
    const ItemId item = core.list.GetItemId(row);
    core.list.SetItemText(row, kColMark, res::kMarkDone);
    AnalyseIfWanted(core, url, local);
    CountCompleted(core, local);
    RemoveIfWanted(core, item);
    KickDispatch(core);
    --core.m_nLocalChecks;
}

void FinishCrawl(Core& core)
{
    const bool aborted = core.crawlEnd.sayWhenAborted && core.m_bAborted == 1;
    SetStatusText(core, aborted ? res::kStatusAborted : res::kStatusCrawlDone);
    core.m_bRunning = 0;
    SetStartButtonCaption(core, res::kCaptionStart);
    UpdateSummary(core);
    std::string report = FormatCount(res::kMsgCrawlReport, core.m_nCrawlCount);
    if (core.m_nUpToDateCount > 0)
        report.append("\n").append(FormatCount(res::kMsgCrawlUpToDate, core.m_nUpToDateCount));
    if (core.crawlEnd.countFailures && core.m_nFailedCount > 0)
        report.append("\n").append(FormatCount(res::kMsgCrawlFailures, core.m_nFailedCount));
    core.ui.MessageBox(report, res::kCaptionReport, platform::MbButtons::Ok);
    if (core.crawlEnd.offerToOpen &&
        core.ui.MessageBox(res::kMsgOpenDownloaded, res::kCaptionQuestionNote, platform::MbButtons::YesNo) ==
            platform::MbAnswer::Yes)
        core.ui.ShellOpen(LocalPathOf(core, FirstTopUrl(core.settings.m_sTopURL)));
    ++core.finishedCrawls;
}

} // namespace zorone
