#include "web/file_text.h"

#include "platform/files.h"

#include <cstring>

namespace zorone::CSiteUtil {
namespace files = platform::files;

namespace {

constexpr std::int64_t kReadBlock = 1024;

// All bytes of the file; false when it cannot be opened or a read fails, so
// that a half-read file is never taken for the whole one.
bool ReadAll(std::string_view path, std::string& bytes)
{
    files::File file;
    if (!file.Open(path, files::File::Mode::Read))
        return false;
    std::string text;
    text.reserve(static_cast<size_t>(file.Size()));
    char block[kReadBlock];
    for (;;) {
        const std::int64_t got = file.Read(block, kReadBlock);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        text.append(block, static_cast<size_t>(got));
    }
    bytes = std::move(text);
    return true;
}

} // namespace

int ReadFileText(std::string_view path, std::string& out)
{
    std::string bytes;
    if (!ReadAll(path, bytes))
        return 0;
    bytes.resize(std::strlen(bytes.c_str()));
    out = std::move(bytes);
    return 1;
}

std::string LoadFileText(std::string_view path)
{
    std::string bytes;
    if (!ReadAll(path, bytes))
        return {};
    return bytes;
}

int ReplaceFileText(std::string_view path, std::string_view text)
{
    const files::Status st = files::GetStatus(path);
    if (st.isDirectory)
        return 0;
    if (st.exists) {
        // Opening for writing without truncation asks the file system the
        // question a plain overwrite would have asked, and changes nothing.
        files::File probe;
        if (!probe.Open(path, files::File::Mode::WriteExisting))
            return 0;
    }
    return files::WriteFileAtomically(path, text) ? 1 : 0;
}

int WriteFileText(std::string_view path, std::string_view text)
{
    if (files::GetStatus(path).exists)
        files::MakeWritable(path);
    return ReplaceFileText(path, text);
}

int RemoveFile(std::string_view path)
{
    return files::RemoveFile(path) ? 1 : 0;
}

} // namespace zorone::CSiteUtil
