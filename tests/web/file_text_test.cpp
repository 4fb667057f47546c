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

    // Longer than one 1024-byte block, no zero byte: nothing is lost at the
    // block boundary.
    std::string big(3000, 'x');
    big[1023] = 'A';
    big[1024] = 'B';
    WriteFileBytes(dir / "big.txt", big);
    EXPECT_EQ(ReadFileText(dir / "big.txt", out), 1);
    EXPECT_EQ(out, big);
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

    for (const size_t n : {size_t {1024}, size_t {1025}, size_t {2048}}) {
        const std::string text(n, 'q');
        EXPECT_EQ(WriteFileText(path, text), 1);
        EXPECT_EQ(ReadFileBytes(path), text) << n;
    }
    const std::string binary("\x82\xa0\r\n\0x", 6);
    EXPECT_EQ(WriteFileText(dir / "new.txt", binary), 1);
    EXPECT_EQ(ReadFileBytes(dir / "new.txt"), binary);
    EXPECT_EQ(FolderEntries(dir.Path()).size(), 2u); // no temporary files left
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
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string> {"Zorone.sav"});

    // A folder where the file should be is never replaced.
    std::filesystem::create_directory(dir / "sub");
    EXPECT_EQ(WriteFileText(dir / "sub", "x"), 0);
    EXPECT_EQ(ReplaceFileText(dir / "sub", "x"), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "sub"));
    // No folder to write into.
    EXPECT_EQ(WriteFileText(dir / "none/f.txt", "x"), 0);
}

TEST(FileText, RemoveFileReportsWhetherItDeleted)
{
    test::TempDir dir;
    WriteFileBytes(dir / "f", "x");
    EXPECT_EQ(RemoveFile(dir / "f"), 1);
    EXPECT_FALSE(test::PathExists(dir / "f"));
    EXPECT_EQ(RemoveFile(dir / "f"), 0);
}

} // namespace
} // namespace zorone::CSiteUtil
