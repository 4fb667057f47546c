#include "platform/files.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace zorone::platform::files {
namespace {

using test::PathExists;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

size_t EntriesIn(const std::string& folder)
{
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST(Files, UnnamedFileAppearsOnlyWhenLinkedAndNeverOverAnExistingFile)
{
    TempDir dir;
    {
        File f;
        ASSERT_TRUE(f.OpenUnnamed(dir.Path() + "/"));
        ASSERT_TRUE(f.Write("gone", 4));
        EXPECT_EQ(EntriesIn(dir.Path()), 0u);
    }
    EXPECT_EQ(EntriesIn(dir.Path()), 0u); // closed without a name: nothing left

    File f;
    ASSERT_TRUE(f.OpenUnnamed(dir.Path()));
    ASSERT_TRUE(f.Write("body", 4));
    WriteFileBytes(dir / "taken", "old");
    errno = 0;
    EXPECT_FALSE(f.LinkAs(dir / "taken"));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(ReadFileBytes(dir / "taken"), "old");
    EXPECT_TRUE(f.LinkAs(dir / "new"));
    EXPECT_TRUE(f.Close());
    EXPECT_EQ(ReadFileBytes(dir / "new"), "body");
    EXPECT_FALSE(File().OpenUnnamed(dir / "missing/"));
}

TEST(Files, BackslashesAndCp932NamesReachTheFileSystemAsUtf8Paths)
{
    TempDir dir;
    // "表" is 95 5C in CP932: its trail byte is not a separator.
    const std::string name = dir.Path() + "\\sub\\\x95\x5c.txt";
    CreateFolders(name);
    File f;
    ASSERT_TRUE(f.Open(name, File::Mode::CreateTruncate));
    ASSERT_TRUE(f.Write("x", 1));
    f.Close();
    EXPECT_EQ(ReadFileBytes(dir / "sub/表.txt"), "x");
    EXPECT_TRUE(FindFirst(dir.Path() + "/sub/*.txt"));
    EXPECT_FALSE(FindFirst(dir.Path() + "/sub/*.htm"));
    EXPECT_EQ(GetStatus(name).size, 1);
    EXPECT_TRUE(GetStatus(dir.Path() + "/sub").isDirectory);
}

TEST(Files, AtomicWriteKeepsTheOldFileWhenItCannotFinish)
{
    TempDir dir;
    WriteFileBytes(dir / "a.sav", "old");
    EXPECT_TRUE(WriteFileAtomically(dir / "a.sav", "new"));
    EXPECT_EQ(ReadFileBytes(dir / "a.sav"), "new");
    std::filesystem::create_directories(dir / "folder");
    EXPECT_FALSE(WriteFileAtomically(dir / "folder", "x")); // a folder in the way
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder"));
    EXPECT_FALSE(WriteFileAtomically(dir / "no/such/a.sav", "x"));
    EXPECT_EQ(EntriesIn(dir.Path()), 2u); // no temporary file left behind
}

} // namespace
} // namespace zorone::platform::files
