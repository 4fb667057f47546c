#pragma once
// The site-index shortcut: a freedesktop link file pointing at the local copy
// of the top page, named after the moment it was made.
#include <ctime>
#include <string>

namespace zorone::CSiteUtil {

// The user's desktop folder without a trailing "/": $XDG_DESKTOP_DIR, else the
// XDG user-dirs entry, else ~/Desktop; "" when there is no home.
std::string GetDesktopFolder();

// "<YYYYMMDDhhmmss>_SiteIndex.desktop" for the local time t.
std::string ShortcutFileName(std::time_t t = std::time(nullptr));

// Writes a launcher (Type=Link) at linkPath whose URL is the file: URL of
// target. arguments are not part of a link entry; workingFolder is recorded
// only where the format has a place for it (it has none for links). Returns
// 1 when the file was written.
int CreateSiteShortcut(const std::string& linkPath, const std::string& target, const std::string& arguments,
                       const std::string& workingFolder);

} // namespace zorone::CSiteUtil
