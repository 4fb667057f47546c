#include "platform/files.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <thread>

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
    EXPECT_EQ(EntriesIn(dir / "sub"), 1u); // no folder named by the lone lead byte
    // Existence is literal: a URL may hold "*" or "?", and a file merely
    // like it is not that file.
    EXPECT_TRUE(Exists(name));
    EXPECT_FALSE(Exists(dir.Path() + "/sub/*.txt"));
    EXPECT_FALSE(Exists(dir.Path() + "/sub/?.txt"));
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

mode_t ModeOf(const std::string& path)
{
    struct stat sb {};
    return ::stat(path.c_str(), &sb) == 0 ? sb.st_mode & 07777 : 0;
}

// The process's umask as the kernel reports it, read without setting it.
std::string UmaskLine()
{
    const std::string status = ReadFileBytes("/proc/self/status");
    const size_t at = status.find("Umask:");
    return at == std::string::npos ? std::string() : status.substr(at, status.find('\n', at) - at);
}

TEST(Files, AtomicWriteKeepsPermissionsAndLinksAndLeavesTheUmaskAlone)
{
    TempDir dir;
    const mode_t oldMask = ::umask(022);
    WriteFileBytes(dir / "private.csv", "old");
    ::chmod((dir / "private.csv").c_str(), 0600);
    EXPECT_TRUE(WriteFileAtomically(dir / "private.csv", "new"));
    EXPECT_EQ(ModeOf(dir / "private.csv"), 0600u);
    EXPECT_TRUE(WriteFileAtomically(dir / "fresh.csv", "new"));
    EXPECT_EQ(ModeOf(dir / "fresh.csv"), 0644u);

    // A save onto a link replaces what the link names, the link stays.
    std::filesystem::create_directories(dir / "real");
    WriteFileBytes(dir / "real/list.csv", "old");
    std::filesystem::create_symlink("real/list.csv", dir / "link.csv");
    std::filesystem::create_symlink(dir / "real/dangling.csv", dir / "dangling.csv");
    EXPECT_TRUE(WriteFileAtomically(dir / "link.csv", "through"));
    EXPECT_TRUE(WriteFileAtomically(dir / "dangling.csv", "made"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.csv"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "dangling.csv"));
    EXPECT_EQ(ReadFileBytes(dir / "real/list.csv"), "through");
    EXPECT_EQ(ReadFileBytes(dir / "real/dangling.csv"), "made");

    // Saves run while transfer workers create files: the umask they see
    // must never change, or their files would be created 0666.
    const std::string expected = UmaskLine();
    ASSERT_FALSE(expected.empty());
    std::atomic<bool> done { false };
    std::thread saver([&] {
        for (int i = 0; i < 300; ++i)
            WriteFileAtomically(dir / "busy.csv", "x");
        done = true;
    });
    int changed = 0;
    while (!done)
        changed += UmaskLine() != expected;
    saver.join();
    EXPECT_EQ(changed, 0);
    ::umask(oldMask);
}

TEST(Files, ReadingRefusesWhatIsNotARegularFile)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    File f;
    // A FIFO without a writer would block the open for ever.
    EXPECT_FALSE(f.Open(dir / "fifo", File::Mode::Read));
    EXPECT_FALSE(f.Open("/dev/zero", File::Mode::Read));
    EXPECT_FALSE(f.Open(dir.Path(), File::Mode::Read));
    WriteFileBytes(dir / "plain", "x");
    EXPECT_TRUE(f.Open(dir / "plain", File::Mode::Read));
}

} // namespace
} // namespace zorone::platform::files
