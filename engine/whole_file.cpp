#include "engine/whole_file.h"

#include "engine/dispatch.h"
#include "engine/output.h"
#include "platform/files.h"
#include "res/texts.h"
#include "web/file_text.h"

#include <climits>
#include <cstring>

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

std::string ReadWholeFile(Core& core, const std::string& path)
{
    files::File file;
    if (!file.Open(path, files::File::Mode::Read))
        return {};
    const std::int64_t size = file.Size();
    SetProgressRange(core, 0, ProgressHigh(size / 1025));
    std::string text;
    // One allocation of the right size instead of doubling: a large document
    // would otherwise briefly need twice its size.
    text.reserve(static_cast<size_t>(size));
    char block[kWholeFileReadBlock];
    for (int index = 0;; ++index) {
        const std::int64_t got = file.Read(block, kWholeFileReadBlock);
        if (got < 0) {
            text.clear();
            text.shrink_to_fit();
            break;
        }
        if (got == 0)
            break;
        text.append(block, ::strnlen(block, static_cast<size_t>(got)));
        SetProgressPos(core, index);
        DispatchOnePending(core);
    }
    file.Close();
    SetProgressPos(core, 0);
    return text;
}

} // namespace zorone
