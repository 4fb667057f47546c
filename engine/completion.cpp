#include "engine/completion.h"

#include "engine/crawl_control.h"
#include "engine/download_file.h"
#include "engine/link_conversion.h"
#include "engine/output.h"
#include "engine/skipped_links.h"
#include "engine/web_rules.h"
#include "res/texts.h"
#include "web/site_shortcut.h"
#include "web/site_util.h"
#include "web/text_case.h"
#include "web/today_converter.h"
#include "web/url_util.h"

#include <cstdint>

namespace zorone {
namespace {

std::string LowerExtensionOf(const std::string& local)
{
    return ToLowerCp932(CSiteUtil::GetExtension(local));
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
    return RulesOf(core).LocalPathOf(core, url);
}

int OnDownloadComplete(Core& core, int result, CDownloadFile* transfer)
{
    SetStatusText(core, res::kStatusDownloadEnded);
    if (result == 1 && transfer) {
        const ItemId item = transfer->m_nItem;
        const int row = core.list.FindItem(item);
        // A row the user deleted, or whose list was cleared, still had its
        // file written and still counts; only its row is gone.
        const std::string asked = row >= 0 ? core.list.GetItemText(row, kColUrl) : transfer->m_sUrl;
        WebRules& rules = RulesOf(core);
        const std::string local = rules.PlaceStored(core, item, asked, transfer->m_sLocalPath, transfer->m_answer);
        // Placing may have given the row the address the body came from:
        // its links are read against that one.
        const int placedRow = core.list.FindItem(item);
        const std::string url = placedRow >= 0 ? core.list.GetItemText(placedRow, kColUrl) : asked;
        MakeShortcutIfTop(core, asked, local);
        if (placedRow >= 0)
            core.list.SetItemText(placedRow, kColMark, res::kMarkDone);
        rules.Analyse(core, url, local, transfer->m_answer.contentType);
        // Kept only while conversion is on: a list of every page of a large
        // site would otherwise hold memory for nothing.
        if (ConvertsLinks(core.settings) && today::DocumentKindOf(transfer->m_answer.contentType, local))
            core.storedThisCrawl.push_back({url, local, transfer->m_answer.contentType});
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
    RulesOf(core).Analyse(core, url, local, {});
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
    RulesOf(core).Analyse(core, url, local, {});
    CountCompleted(core, local);
    RemoveIfWanted(core, item);
    KickDispatch(core);
    --core.m_nLocalChecks;
}

void FinishCrawl(Core& core)
{
    // Links are rewritten before the report: the copy the report offers to
    // open must be the finished one.
    if (core.m_bConverting == 1)
        return;
    if (LinkConversionPending(core)) {
        StartLinkConversion(core);
        return;
    }
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
    if (core.crawlEnd.countSkipped && core.skipped.Size() > 0)
        report.append("\n").append(SkippedCountsText(core.skipped));
    core.ui.MessageBox(report, res::kCaptionReport, platform::MbButtons::Ok);
    if (core.crawlEnd.offerToOpen &&
        core.ui.MessageBox(res::kMsgOpenDownloaded, res::kCaptionQuestionNote, platform::MbButtons::YesNo) ==
            platform::MbAnswer::Yes)
        core.ui.ShellOpen(LocalPathOf(core, FirstTopUrl(core.settings.m_sTopURL)));
    ++core.finishedCrawls;
}

} // namespace zorone
