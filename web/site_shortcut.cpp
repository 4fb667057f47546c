#include "web/site_shortcut.h"

#include "platform/code_page.h"
#include "platform/files.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace zorone::CSiteUtil {
namespace {

std::string EnvOr(const char* name, const std::string& fallback)
{
    const char* v = std::getenv(name);
    return (v && *v) ? std::string(v) : fallback;
}

// The value of XDG_DESKTOP_DIR in user-dirs.dirs ("$HOME/Desktop" form).
std::string DesktopFromUserDirs(const std::string& home)
{
    const std::string config = EnvOr("XDG_CONFIG_HOME", home + "/.config");
    std::ifstream in(config + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DESKTOP_DIR=";
    while (std::getline(in, line)) {
        if (line.compare(0, key.size(), key) != 0)
            continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.compare(0, 5, "$HOME") == 0)
            value = home + value.substr(5);
        return value;
    }
    return {};
}

std::string PercentEncodePath(const std::string& fsPath)
{
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : fsPath) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
        if (plain) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back('%');
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
        }
    }
    return out;
}

} // namespace

std::string GetDesktopFolder()
{
    const std::string home = EnvOr("HOME", "");
    std::string desktop = EnvOr("XDG_DESKTOP_DIR", "");
    if (desktop.empty() && !home.empty())
        desktop = DesktopFromUserDirs(home);
    if (desktop.empty() && !home.empty())
        desktop = home + "/Desktop";
    while (desktop.size() > 1 && desktop.back() == '/')
        desktop.pop_back();
    return platform::Utf8ToCp932(desktop);
}

std::string ShortcutFileName(std::time_t t)
{
    std::tm local {};
    localtime_r(&t, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d%H%M%S", &local);
    return std::string(stamp) + "_SiteIndex.desktop";
}

int CreateSiteShortcut(const std::string& linkPath, const std::string& target, const std::string&,
                       const std::string&)
{
    std::string fsTarget = platform::ToFsPath(target);
    if (!fsTarget.empty() && fsTarget.front() != '/') {
        // A launcher needs an absolute address; a relative download folder
        // is relative to where Zorone runs.
        char cwd[4096];
        if (::getcwd(cwd, sizeof cwd))
            fsTarget = std::string(cwd) + "/" + fsTarget;
    }
    std::string name = platform::Cp932ToUtf8(linkPath);
    const size_t slash = name.find_last_of('/');
    if (slash != std::string::npos)
        name = name.substr(slash + 1);
    const size_t dot = name.rfind(".desktop");
    if (dot != std::string::npos)
        name.resize(dot);

    std::ostringstream entry;
    entry << "[Desktop Entry]\n"
          << "Type=Link\n"
          << "Name=" << name << "\n"
          << "URL=file://" << PercentEncodePath(fsTarget) << "\n"
          << "Icon=text-html\n";
    return platform::files::WriteFileAtomically(linkPath, entry.str()) ? 1 : 0;
}

} // namespace zorone::CSiteUtil
