#pragma once
// Driving a crawl: the start command with its checks, seeding from the URL
// field, the dispatcher that keeps up to m_nMultiDownloadMax transfers
// running, local detection, and the abort command.
#include "engine/core.h"

namespace zorone {

void StartCrawl(Core& core);
void AbortCrawl(Core& core);
void AddTopURLs(Core& core);
// Makes sure one dispatch request is pending.
void KickDispatch(Core& core);
// The handler of the dispatch request.
void FillDownloadSlots(Core& core);
// 1 when it started a transfer or completed an item locally, else 0.
int StartNextDownload(Core& core);
// Marks the topmost waiting row "◇" and returns its position, or -1.
int SelectNextItem(Core& core);

} // namespace zorone
