#pragma once
// The status line, the progress bar, the size column, the summary box, the
// window title and the tray icon: what every long operation reports through.
#include "engine/core.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zorone {

// Shows "：" + text (or nothing for an empty text) and writes the fields back
// to the controls. Returns 0 without doing anything once the exit has begun.
int SetStatusText(Core& core, std::string_view text);
void SetProgressRange(Core& core, int low, int high);
void SetProgressPos(Core& core, int pos);
// Writes the decimal byte count into the row's サイズ column.
int SetItemSize(Core& core, int row, std::int64_t bytes);
// Rebuilds the summary text from the tally, then the title and tray icon.
void UpdateSummary(Core& core);
// The tally's sums: items done and items listed.
struct TallyTotals {
    int done = 0;
    int listed = 0;
};
TallyTotals SumTally(const Core& core);
// The summary's first line without "total:", as the title shows it:
// "done/listed (running/allowed)" from the tally.
std::string SummaryHead(const Core& core);
// Counts the whole list into the tally afresh (every row listed, "○" rows
// also done) and updates the summary, so that a list loaded from a file
// shows its own totals rather than those of the rows added before it.
void RecountSummary(Core& core);
void UpdateTrayAndTitle(Core& core, std::string_view text);

// Button 1003's caption: "ゾロネ！(&G)" or "中断(&G)".
void SetStartButtonCaption(Core& core, const std::string& caption);

// The icon (142..146) shown for an animation step.
int TrayIconForStep(int step);

constexpr size_t kTrayTipMax = 63;

} // namespace zorone
