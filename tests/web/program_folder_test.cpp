#include "web/program_folder.h"

#include "platform/files.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace zorone::CSiteUtil {
namespace {

// Sets (or, with nullopt, unsets) an environment variable for one test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value)
        : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(ProgramFolder, ZoroneHomeMovesEverythingAndIsCreated)
{
    test::TempDir dir;
    const std::string home = dir / "a/b";
    ScopedEnv env("ZORONE_HOME", home + "/");
    EXPECT_EQ(GetModuleFolder(), home);
    EXPECT_EQ(GetModuleFolderPrefix(), home + "/");
    EXPECT_TRUE(std::filesystem::is_directory(home));
    EXPECT_EQ(ProfilePath(), home + "/zorone.ini");
}

TEST(ProgramFolder, WithoutZoroneHomeTheXdgFolderUnlessTheProgramFolderIsPortable)
{
    test::TempDir dir;
    ScopedEnv home("ZORONE_HOME", std::nullopt);
    ScopedEnv data("XDG_DATA_HOME", dir / "data");
    ScopedEnv config("XDG_CONFIG_HOME", dir / "cfg");
    // The test program's build folder is writable, as an installed program's
    // bin/ in a prefix the user owns is: that alone does not make it home.
    const std::string exe = platform::files::ExecutablePath();
    const std::string exeFolder = exe.substr(0, exe.rfind('/'));
    ASSERT_FALSE(std::filesystem::exists(exeFolder + "/Zorone.sav"));
    EXPECT_EQ(GetModuleFolderPrefix(), dir / "data/zorone/");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "data/zorone"));
    EXPECT_EQ(ProfilePath(), dir / "cfg/zorone/zorone.ini");

    // A Zorone.sav beside the program marks a portable copy.
    {
        struct Sav {
            std::string path;
            ~Sav() { std::filesystem::remove(path); }
        } sav { exeFolder + "/Zorone.sav" };
        test::WriteFileBytes(sav.path, "");
        EXPECT_EQ(GetModuleFolderPrefix(), exeFolder + "/");
        EXPECT_EQ(GetModuleFolder(), exeFolder);
    }

    // A relative XDG value is not a base folder; the default takes over.
    ScopedEnv relative("XDG_CONFIG_HOME", "relative/cfg");
    ScopedEnv user("HOME", dir / "user");
    EXPECT_EQ(ProfilePath(), dir / "user/.config/zorone/zorone.ini");
}

} // namespace
} // namespace zorone::CSiteUtil
