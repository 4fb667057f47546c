#include "web/file_text.h"

#include "tests/support/file_size_limit.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

namespace zorone::CSiteUtil {
namespace {

using test::ReadFileBytes;
using test::WriteFileBytes;

std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    return names;
}

TEST(FileText, ReadStopsAtFirstZeroByteLoadKeepsEveryByte)
{
    test::TempDir dir;
    const std::string bytes("ab\0cd", 5);
    WriteFileBytes(dir / "z.txt", bytes);
    std::string out = "old";
    EXPECT_EQ(ReadFileText(dir / "z.txt", out), 1);
    EXPECT_EQ(out, "ab");
    EXPECT_EQ(LoadFileText(dir / "z.txt"), bytes);
}

TEST(FileText, MissingFileOrFolderGivesZeroAndLeavesOutUntouched)
{
    test::TempDir dir;
    std::string out = "kept";
    EXPECT_EQ(ReadFileText(dir / "missing", out), 0);
    EXPECT_EQ(ReadFileText(dir.Path(), out), 0);
    EXPECT_EQ(out, "kept");
    EXPECT_EQ(LoadFileText(dir / "missing"), "");
}

TEST(FileText, WriteReplacesContentExactly)
{
    test::TempDir dir;
    const std::string path = dir / "f.txt";
    WriteFileBytes(path, "a much longer old content");
    EXPECT_EQ(WriteFileText(path, ""), 1);
    EXPECT_EQ(std::filesystem::file_size(path), 0u);

    const std::string block(1024, 'q');
    EXPECT_EQ(WriteFileText(path, block), 1);
    EXPECT_EQ(ReadFileBytes(path), block);
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string> { "f.txt" }); // no temporary files left
}

TEST(FileText, WriteClearsReadOnlyReplaceRespectsIt)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes read-only files anyway";
    test::TempDir dir;
    const std::string path = dir / "ro.txt";
    WriteFileBytes(path, "old");
    ::chmod(path.c_str(), 0444);
    EXPECT_EQ(ReplaceFileText(path, "new"), 0);
    EXPECT_EQ(ReadFileBytes(path), "old");
    EXPECT_EQ(WriteFileText(path, "new"), 1);
    EXPECT_EQ(ReadFileBytes(path), "new");
}

TEST(FileText, FailedWriteKeepsOldFileAndLeavesNoTemporary)
{
    test::TempDir dir;
    const std::string path = dir / "Zorone.sav";
    WriteFileBytes(path, "old content");
    {
        test::FileSizeLimit limit(64);
        EXPECT_EQ(WriteFileText(path, std::string(4096, 'n')), 0);
    }
    EXPECT_EQ(ReadFileBytes(path), "old content");
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string> { "Zorone.sav" });

    // A folder where the file should be is never replaced.
    std::filesystem::create_directory(dir / "sub");
    EXPECT_EQ(WriteFileText(dir / "sub", "x"), 0);
    EXPECT_EQ(ReplaceFileText(dir / "sub", "x"), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "sub"));
    // No folder to write into.
    EXPECT_EQ(WriteFileText(dir / "none/f.txt", "x"), 0);
}

} // namespace
} // namespace zorone::CSiteUtil
