#include "web/local_path.h"

#include "platform/files.h"
#include "platform/folder_beneath.h"
#include "web/site_util.h"

namespace zorone::CSiteUtil {
namespace {

namespace files = platform::files;

constexpr bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

// Appends one path component, writing "." as "%2E" and ".." as "%2E%2E":
// joined under the download folder those two are the only components that
// could climb out of it. The percent form is the same name in URL terms, so
// the only URL that shares the folder is the one spelling it "%2E%2E".
// The file-system layer ends a path at a zero byte, so what counts is the
// component up to its first zero byte.
void AppendComponent(std::string& out, std::string_view component)
{
    const size_t visible = component.find('\0');
    const std::string_view head = component.substr(0, visible);
    if (head == "." || head == "..") {
        for (size_t i = 0; i < head.size(); ++i)
            out += "%2E";
        component.remove_prefix(head.size());
    }
    out.append(component);
}

} // namespace

std::string UrlToLocalFolder(std::string_view url)
{
    std::string result;
    int separators = 0;
    size_t start = 0;
    for (size_t i = 0; i < url.size(); ++i) {
        if (!IsSeparator(url[i]))
            continue;
        if (separators < 2) {
            ++separators;
        } else {
            AppendComponent(result, url.substr(start, i - start));
            // The URL's own separator byte: a "\" may be the second byte of
            // a double-byte character ending the component, which the file
            // layer then reads as that character.
            result.push_back(url[i]);
        }
        start = i + 1;
    }
    return result;
}

std::string LocalFileName(std::string_view url)
{
    std::string name;
    AppendComponent(name, GetFolderName(url));
    return name;
}

std::string LocalPathOf(std::string_view downloadFolder, std::string_view url)
{
    std::string path(downloadFolder);
    path += UrlToLocalFolder(url);
    path += LocalFileName(url);
    return path;
}

int CreateFolders(std::string_view path)
{
    files::CreateFolders(path);
    return 1;
}

int FileExists(std::string_view path)
{
    return files::Exists(path) ? 1 : 0;
}

int FileExistsBeneath(std::string_view downloadFolder, std::string_view path)
{
    std::string root;
    std::string relative;
    if (!files::SplitBeneath(downloadFolder, path, root, relative))
        return 0;
    return files::ExistsBeneath(root, relative) ? 1 : 0;
}

std::int64_t GetFileSize(std::string_view path)
{
    const files::Status st = files::GetStatus(path);
    return st.exists && !st.isDirectory ? st.size : 0;
}

AppendResult AppendFile(std::string_view path, std::string_view bytes)
{
    AppendResult result;
    files::File file;
    if (!file.Open(path, files::File::Mode::WriteExisting) && !file.Open(path, files::File::Mode::CreateTruncate))
        return result;
    result.opened = true;
    bool ok = file.SeekToEnd();
    ok = ok && file.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    ok = file.Close() && ok;
    result.written = ok;
    return result;
}

int AppendFileText(std::string_view path, std::string_view bytes)
{
    return AppendFile(path, bytes).opened ? 1 : 0;
}

} // namespace zorone::CSiteUtil
