#include "listops/skipped_file.h"

#include "engine/output.h"
#include "engine/whole_file.h"
#include "res/texts.h"
#include "listops/list_files.h"

namespace zorone {

std::string BuildSkippedCsv(const SkippedLinks& skipped)
{
    std::string out = "url,reason,found_on\r\n";
    skipped.ForEach([&out](std::string_view url, SkipReason reason, std::string_view page) {
        AppendCsvField(out, url);
        out += ',';
        out += SkipReasonName(reason);
        out += ',';
        AppendCsvField(out, page);
        out += "\r\n";
    });
    return out;
}

int WriteSkippedFile(Core& core, const std::string& path)
{
    return WriteWholeFile(core, path, BuildSkippedCsv(core.skipped));
}

void SaveSkippedCommand(Core& core)
{
    const std::string path = core.ui.PickSaveFile("csv", res::kFilterSkippedSave);
    if (path.empty())
        return;
    const bool saved = WriteSkippedFile(core, path) == 1;
    SetStatusText(core, saved ? res::kStatusSkippedSaved : res::kStatusSkippedNotSaved);
}

} // namespace zorone
