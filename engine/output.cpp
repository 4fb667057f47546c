#include "engine/output.h"

#include "engine/data_exchange.h"
#include "res/texts.h"

#include <cstdio>

namespace zorone {
namespace {

std::string FormatHead(const Core& core, int downloaded, int listed)
{
    char head[96];
    std::snprintf(head, sizeof head, "%d/%d (%2d/%2d)", downloaded, listed, core.m_nActiveDownloads,
                  core.settings.m_nMultiDownloadMax);
    return head;
}

} // namespace

int SetStatusText(Core& core, std::string_view text)
{
    if (core.m_bClosing == 1)
        return 0;
    std::string line;
    if (!text.empty()) {
        line.reserve(res::kFullColon.size() + text.size());
        line = res::kFullColon;
        line += text;
    }
    if (line != core.window.statusText) {
        core.window.statusText = std::move(line);
        core.window.Notify(WindowPart::Status);
    }
    WriteFieldsToControls(core);
    return 1;
}

void SetProgressRange(Core& core, int low, int high)
{
    if (core.m_bClosing == 1)
        return;
    core.window.progressLow = low;
    core.window.progressHigh = high;
    core.window.Notify(WindowPart::Progress);
}

void SetProgressPos(Core& core, int pos)
{
    if (core.m_bClosing == 1)
        return;
    core.window.progressPos = pos;
    core.window.Notify(WindowPart::Progress);
}

int SetItemSize(Core& core, int row, std::int64_t bytes)
{
    core.list.SetItemText(row, kColSize, std::to_string(bytes));
    WriteFieldsToControls(core);
    return 1;
}

void UpdateSummary(Core& core)
{
    std::string lines;
    int downloaded = 0;
    int listed = 0;
    const int used = core.tally.UsedCount();
    for (int i = 0; i < used; ++i) {
        const ExtensionTally::Entry& e = core.tally.At(i);
        char counts[32];
        std::snprintf(counts, sizeof counts, "%d/%d", e.downloaded, e.listed);
        lines += "\r\n";
        lines += e.extension;
        lines += ':';
        lines += counts;
        downloaded += e.downloaded;
        listed += e.listed;
    }
    const std::string head = FormatHead(core, downloaded, listed);
    core.m_sSummary = "total:";
    core.m_sSummary += head;
    core.m_sSummary += lines;
    UpdateTrayAndTitle(core, res::kTitlePrefix + head);
    WriteFieldsToControls(core);
}

TallyTotals SumTally(const Core& core)
{
    TallyTotals totals;
    for (int i = 0; i < core.tally.UsedCount(); ++i) {
        totals.done += core.tally.At(i).downloaded;
        totals.listed += core.tally.At(i).listed;
    }
    return totals;
}

std::string SummaryHead(const Core& core)
{
    const TallyTotals totals = SumTally(core);
    return FormatHead(core, totals.done, totals.listed);
}

void RecountSummary(Core& core)
{
    core.tally.Reset();
    const int n = core.list.GetItemCount();
    for (int row = 0; row < n; ++row) {
        const std::string& ext = core.list.GetItemText(row, kColExtension);
        // Rows without an extension are in no count, as when they are added.
        if (ext.empty())
            continue;
        core.tally.TallyListed(ext);
        if (core.list.GetItemText(row, kColMark) == res::kMarkDone)
            core.tally.TallyDownloaded(ext);
    }
    UpdateSummary(core);
}

void SetStartButtonCaption(Core& core, const std::string& caption)
{
    if (core.window.startCaption == caption)
        return;
    core.window.startCaption = caption;
    core.window.Notify(WindowPart::StartCaption);
}

int TrayIconForStep(int step)
{
    static constexpr int kIcons[5] = {142, 143, 144, 146, 145};
    return kIcons[step % 5];
}

void UpdateTrayAndTitle(Core& core, std::string_view text)
{
    core.window.trayTip = std::string(text.substr(0, kTrayTipMax));
    core.iconStep = core.iconStep + 1 > 99 ? 0 : core.iconStep + 1;
    core.window.trayIcon = TrayIconForStep(core.iconStep);
    core.window.Notify(WindowPart::Tray);
    core.window.title = std::string(text);
    core.window.Notify(WindowPart::Title);
}

} // namespace zorone
