#include "web/program_folder.h"

#include "platform/code_page.h"
#include "platform/files.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace zorone::CSiteUtil {
namespace {

// An environment value, or "" when it is unset.
std::string Env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::string WithoutTrailingSeparators(std::string folder)
{
    while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    return folder;
}

std::string HomeFolder()
{
    std::string home = Env("HOME");
    if (home.empty()) {
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
            home = pw->pw_dir;
    }
    return WithoutTrailingSeparators(home);
}

// An XDG base folder: the variable when it holds an absolute path (relative
// values are to be ignored), else the fallback below the home folder.
std::string XdgFolder(const char* variable, const char* fallbackBelowHome)
{
    const std::string value = Env(variable);
    if (!value.empty() && value.front() == '/')
        return WithoutTrailingSeparators(value);
    return HomeFolder() + fallbackBelowHome;
}

// A copy of the program unpacked with its settings beside it. A writable
// folder alone is no such sign: an installed program in a prefix the user
// owns would otherwise fill bin/ with download/ and the settings.
bool IsPortableFolder(const std::string& utf8Folder)
{
    const std::string sav = utf8Folder + "/Zorone.sav";
    struct stat sb {};
    return ::stat(sav.c_str(), &sb) == 0 && S_ISREG(sb.st_mode)
        && ::access(utf8Folder.empty() ? "/" : utf8Folder.c_str(), W_OK | X_OK) == 0;
}

// The program folder as a file-system (UTF-8) path without trailing "/".
std::string ProgramFolderFs()
{
    const std::string home = Env("ZORONE_HOME");
    if (!home.empty())
        return WithoutTrailingSeparators(home);
    const std::string exe = platform::ToFsPath(platform::files::ExecutablePath());
    const size_t slash = exe.rfind('/');
    if (slash != std::string::npos) {
        const std::string folder = exe.substr(0, slash);
        if (IsPortableFolder(folder))
            return folder;
    }
    return XdgFolder("XDG_DATA_HOME", "/.local/share") + "/zorone";
}

} // namespace

std::string GetModuleFolderPrefix()
{
    const std::string prefix = platform::Utf8ToCp932(ProgramFolderFs()) + "/";
    platform::files::CreateFolders(prefix);
    return prefix;
}

std::string GetModuleFolder()
{
    std::string prefix = GetModuleFolderPrefix();
    prefix.pop_back();
    return prefix;
}

std::string ProfilePath()
{
    const std::string home = Env("ZORONE_HOME");
    const std::string folder
        = home.empty() ? XdgFolder("XDG_CONFIG_HOME", "/.config") + "/zorone" : WithoutTrailingSeparators(home);
    return platform::Utf8ToCp932(folder) + "/zorone.ini";
}

} // namespace zorone::CSiteUtil
