#include "web/site_shortcut.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace zorone::test {
namespace {

TEST(SiteShortcut, FileNameIsTheLocalTimeStamp)
{
    std::tm t {};
    t.tm_year = 2003 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 24;
    t.tm_hour = 9;
    t.tm_min = 30;
    t.tm_sec = 5;
    t.tm_isdst = -1;
    EXPECT_EQ(CSiteUtil::ShortcutFileName(std::mktime(&t)), "20031224093005_SiteIndex.desktop");
}

TEST(SiteShortcut, LauncherPointsAtTheLocalTopPage)
{
    TempDir dir;
    const std::string link = dir / "20031224093005_SiteIndex.desktop";
    // "ダウンロード" in CP932, and a blank: both must be escaped in the URL.
    const std::string target = dir.Path() + "/\x83\x5f\x83\x45\x83\x93\x83\x8d\x81\x5b\x83\x68 x/host/top.html";
    ASSERT_EQ(CSiteUtil::CreateSiteShortcut(link, target, "", dir.Path() + "/"), 1);
    const std::string text = ReadFileBytes(link);
    EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_NE(text.find("Type=Link\n"), std::string::npos);
    EXPECT_NE(text.find("Name=20031224093005_SiteIndex\n"), std::string::npos);
    EXPECT_NE(text.find("URL=file://" + dir.Path() +
                        "/%E3%83%80%E3%82%A6%E3%83%B3%E3%83%AD%E3%83%BC%E3%83%89%20x/host/top.html\n"),
              std::string::npos)
        << text;
    // A folder that does not exist: nothing is written, nothing reported.
    EXPECT_EQ(CSiteUtil::CreateSiteShortcut(dir / "missing/x.desktop", target, "", ""), 0);
}

TEST(SiteShortcut, DesktopFolderFollowsXdgSettings)
{
    TempDir dir;
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    ::setenv("HOME", dir.Path().c_str(), 1);
    ::unsetenv("XDG_DESKTOP_DIR");
    ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    EXPECT_EQ(CSiteUtil::GetDesktopFolder(), dir / "Desktop");
    WriteFileBytes(dir / "config/user-dirs.dirs", "# comment\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    EXPECT_EQ(CSiteUtil::GetDesktopFolder(), dir / "Schreibtisch");
    ::setenv("XDG_DESKTOP_DIR", "/elsewhere/", 1);
    EXPECT_EQ(CSiteUtil::GetDesktopFolder(), "/elsewhere");
    ::unsetenv("XDG_DESKTOP_DIR");
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", savedHome.c_str(), 1);
}

} // namespace
} // namespace zorone::test
