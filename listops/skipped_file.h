#pragma once
// The skipped-links file: every link the last crawl refused, as CSV with a
// header line "url,reason,found_on" and CR LF line ends, fields quoted as
// the list files quote them. Texts stay CP932 bytes, as in the list.
#include "engine/skipped_links.h"

#include <string>

namespace zorone {

struct Core;

std::string BuildSkippedCsv(const SkippedLinks& skipped);

// Writes the file, replacing path in one step. 1 when it now holds the
// records, 0 when it could not be written.
int WriteSkippedFile(Core& core, const std::string& path);

// The list menu's command: asks for a CSV file name and writes the last
// crawl's skipped links to it, saying in the status line how it went.
void SaveSkippedCommand(Core& core);

} // namespace zorone
