#include "engine/output.h"

#include "engine/data_exchange.h"
#include "res/texts.h"

#include <cstdio>

namespace zorone {

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
    char head[96];
    std::snprintf(head, sizeof head, "%d/%d (%2d/%2d)", downloaded, listed, core.m_nActiveDownloads,
                  core.settings.m_nMultiDownloadMax);
    core.m_sSummary = "total:";
    core.m_sSummary += head;
    core.m_sSummary += lines;
    UpdateTrayAndTitle(core, res::kTitlePrefix + head);
    WriteFieldsToControls(core);
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
