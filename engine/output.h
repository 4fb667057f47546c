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
void UpdateTrayAndTitle(Core& core, std::string_view text);

// Button 1003's caption: "ゾロネ！(&G)" or "中断(&G)".
void SetStartButtonCaption(Core& core, const std::string& caption);

// The icon (142..146) shown for an animation step.
int TrayIconForStep(int step);

constexpr size_t kTrayTipMax = 63;

} // namespace zorone
