#pragma once
// Completion of an item (transferred or found on disk) and the end of a crawl.
#include "engine/core.h"

#include <string>

namespace zorone {

class CDownloadFile;

// result 1: transfer stopped; 0: nothing complete (status text only).
// Destroys the transfer. Returns 1.
int OnDownloadComplete(Core& core, int result, CDownloadFile* transfer);
// Ends a transfer that failed for reason: the row is marked "×" and held
// back for the rest of the crawl, the failure counted and reported, the slot
// freed. Destroys the transfer.
void OnDownloadFailed(Core& core, CDownloadFile* transfer, const std::string& reason);
// Ends a transfer the server answered "not modified": the stored file is
// current. The row ends "○" and the file is read for links as one found on
// disk is; it counts as up to date, not as downloaded (the per-extension
// tally counts it as done, as it does any finished row). Destroys the
// transfer.
void OnDownloadUpToDate(Core& core, CDownloadFile* transfer);
// Completes an item whose local file already exists.
void CompleteLocally(Core& core, int row, const std::string& url, const std::string& local);
// The end of a crawl: report and the question whether to open the top page.
void FinishCrawl(Core& core);

// Where url's file lives under the download folder m_sPath.
std::string LocalPathOf(const Core& core, const std::string& url);

} // namespace zorone
