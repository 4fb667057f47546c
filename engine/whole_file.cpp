#include "engine/whole_file.h"

#include "engine/dispatch.h"
#include "engine/output.h"
#include "platform/files.h"
#include "res/texts.h"
#include "web/file_text.h"

#include <algorithm>
#include <climits>
#include <iterator>

namespace zorone {
namespace files = platform::files;

namespace {

int ProgressHigh(std::int64_t value)
{
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

} // namespace

int WriteWholeFile(Core& core, const std::string& path, std::string_view text)
{
    SetStatusText(core, res::kStatusSaving);
    const size_t blocks = text.size() / kWholeFileWriteBlock;
    SetProgressRange(core, 0, ProgressHigh(static_cast<std::int64_t>(blocks)));
    // The bytes reach the disk in one replacement below; the bar still steps
    // through the blocks as a long save always showed it.
    for (size_t k = 0; k < blocks; ++k)
        SetProgressPos(core, ProgressHigh(static_cast<std::int64_t>(k)));
    const int written = CSiteUtil::ReplaceFileText(path, text);
    SetProgressPos(core, 0);
    if (!written) {
        SetStatusText(core, res::kStatusWriteFailed + path);
        return 0;
    }
    SetStatusText(core, res::kStatusSaveDone);
    return 1;
}

bool ReadWholeFile(Core& core, const std::string& path, std::string& out)
{
    out.clear();
    files::File file;
    if (!file.Open(path, files::File::Mode::Read)) {
        return false;
    }
    const std::int64_t size = file.Size();
    SetProgressRange(core, 0, ProgressHigh(size / 1025));
    // One allocation of the right size instead of doubling: a large document
    // would otherwise briefly need twice its size.
    out.reserve(static_cast<size_t>(size));
    char block[kWholeFileReadBlock];
    for (int index = 0;; ++index) {
        const std::int64_t got = file.Read(block, kWholeFileReadBlock);
        if (got < 0) {
            out.clear();
            out.shrink_to_fit();
            SetProgressPos(core, 0);
            return false;
        }
        if (got == 0)
            break;
        std::copy_if(block, block + got, std::back_inserter(out), [](char b) { return b != '\0'; });
        SetProgressPos(core, index);
        DispatchOnePending(core);
    }
    file.Close();
    SetProgressPos(core, 0);
    return true;
}

std::string ReadWholeFile(Core& core, const std::string& path)
{
    std::string text;
    ReadWholeFile(core, path, text);
    return text;
}

} // namespace zorone
