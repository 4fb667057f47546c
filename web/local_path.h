#pragma once
// Where a URL's file lives under the download folder, and the file operations
// built on that place. The mirror is literal (host, folders, separators and
// file name as they are) with one exception: a component "." or ".." is
// written "%2E" or "%2E%2E", so that no URL can name a place outside the
// download folder.
#include <cstdint>
#include <string>
#include <string_view>

namespace zorone::CSiteUtil {

// The URL's host and folders, each followed by the separator that follows it
// in the URL; the scheme (everything up to the second separator) and the
// file name are left out.
// 'http://host/dir/sub/a.htm' gives 'host/dir/sub/', 'http://host' gives "",
// 'http://host//x/a.htm' gives 'host//x/'.
std::string UrlToLocalFolder(std::string_view url);
// The local file name: GetFolderName(url), with "." and ".." neutralised.
std::string LocalFileName(std::string_view url);
// downloadFolder + UrlToLocalFolder(url) + LocalFileName(url). downloadFolder
// is expected to end in a separator; nothing is inserted.
std::string LocalPathOf(std::string_view downloadFolder, std::string_view url);

// Creates every folder along path except its last component; failures
// (existing folders included) are ignored. Always 1.
int CreateFolders(std::string_view path);
// 1 when path names an existing file or folder; 0 otherwise and for "".
// "*" and "?" are bytes of the name like any other: a URL may hold them, and
// a file merely like it is not that file.
int FileExists(std::string_view path);
// Like FileExists for a path below downloadFolder, but a file reached only
// through a symbolic link that leads out of downloadFolder does not count:
// the crawl must not take it for its own copy and read it.
int FileExistsBeneath(std::string_view downloadFolder, std::string_view path);
// The size of a file; 0 when it is missing or a folder.
std::int64_t GetFileSize(std::string_view path);

struct AppendResult {
    bool opened = false;  // the file was opened or created
    bool written = false; // every byte reached the file and it closed cleanly
};
// Appends bytes at the end of path, creating the file when it is missing.
AppendResult AppendFile(std::string_view path, std::string_view bytes);
// AppendFile(...).opened as 1 or 0; for callers that go on whatever the
// write did.
int AppendFileText(std::string_view path, std::string_view bytes);

} // namespace zorone::CSiteUtil
