// The URL-to-disk mapping and the file operations built on it. The hostile
// URLs below must never produce a file or folder outside the download folder.
#include "web/local_path.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace zorone {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

struct TextCase {
    std::string input;
    std::string expected;
};

TEST(LocalPath, UrlToLocalFolderMirrorsHostAndFolders)
{
    const std::vector<TextCase> cases = {
        {"http://host/dir/sub/a.htm", "host/dir/sub/"},
        {"ftp://host/pub/f.zip", "host/pub/"},
        {"http://host/", "host/"},
        {"http://host", ""},
        {"http://host//x/a.htm", "host//x/"},
        {"http://host:8080/a.htm", "host:8080/"},
        {"http://host/a.cgi?x=/y", "host/a.cgi?x=/"},
        {"http:\\\\host\\dir\\a.htm", "host\\dir\\"},
        // A double-byte character whose second byte is "\" (0x95 0x5C) keeps
        // its byte.
        {"http://host/\x95\x5C/a.htm", "host/\x95\x5C/"},
        {"", ""},
        {"a/b", ""},
        // Names that merely contain dots stay as they are.
        {"http://host/.../x", "host/.../"},
        {"http://host/..a/.b/x", "host/..a/.b/"},
        {"http://host/%2E%2E/x", "host/%2E%2E/"},
        // Only "." and ".." are rewritten.
        {"http://host/a/../../../../../etc/x", "host/a/%2E%2E/%2E%2E/%2E%2E/%2E%2E/%2E%2E/etc/"},
        {"http://../x", "%2E%2E/"},
        {"http://./x", "%2E/"},
        {"http://host/./x", "host/%2E/"},
        {"a/b/../c", "%2E%2E/"},
        {"http:\\\\..\\..\\x", "%2E%2E\\%2E%2E\\"},
        // The file layer stops at a zero byte, so ".." followed by one is
        // rewritten as well.
        {"http://..\0z/x"s, "%2E%2E\0z/"s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("url '" + c.input + "'");
        EXPECT_EQ(CSiteUtil::UrlToLocalFolder(c.input), c.expected);
    }
}

TEST(LocalPath, LocalFileNameIsTheLastComponent)
{
    const std::vector<TextCase> cases = {
        {"http://host/dir/a.htm", "a.htm"},
        {"http://host/dir/", "dir"},
        {"http://host", "host"},
        {"http://host/..", "%2E%2E"},
        {"http://host/../", "%2E%2E"},
        {"http://..", "%2E%2E"},
        {"http://host/.", "%2E"},
        {"http://host/...", "..."},
        {"http://host/..\0"s, "%2E%2E\0"s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("url '" + c.input + "'");
        EXPECT_EQ(CSiteUtil::LocalFileName(c.input), c.expected);
    }
}

TEST(LocalPath, LocalPathOfJoinsFolderLocalFolderAndName)
{
    EXPECT_EQ(CSiteUtil::LocalPathOf("dl/", "http://host/dir/a.htm"), "dl/host/dir/a.htm");
    EXPECT_EQ(CSiteUtil::LocalPathOf("C:\\dl\\", "http://host/a.htm"), "C:\\dl\\host/a.htm");
    EXPECT_EQ(CSiteUtil::LocalPathOf("dl/", "http://host"), "dl/host");
    EXPECT_EQ(CSiteUtil::LocalPathOf("dl/", "http://host/dir/"), "dl/host/dir/dir");
    EXPECT_EQ(CSiteUtil::LocalPathOf("dl/", "http://host/a/../b/.."), "dl/host/a/%2E%2E/b/%2E%2E");
}

class LocalFiles : public ::testing::Test {
protected:
    test::TempDir m_dir;
    // The download folder, with its trailing separator.
    std::string Folder() const { return m_dir.Path() + "/"; }
};

TEST_F(LocalFiles, CreateFoldersMakesEveryFolderButTheLastComponent)
{
    EXPECT_EQ(CSiteUtil::CreateFolders(m_dir / "host/dir/a.htm"), 1);
    EXPECT_TRUE(fs::is_directory(m_dir / "host/dir"));
    EXPECT_FALSE(test::PathExists(m_dir / "host/dir/a.htm"));
    EXPECT_EQ(CSiteUtil::CreateFolders(m_dir / "host\\x\\b.htm"), 1);
    EXPECT_TRUE(fs::is_directory(m_dir / "host/x"));
    // Existing folders and impossible ones are not failures.
    EXPECT_EQ(CSiteUtil::CreateFolders(m_dir / "host/dir/a.htm"), 1);
    test::WriteFileBytes(m_dir / "file", "x");
    EXPECT_EQ(CSiteUtil::CreateFolders(m_dir / "file/sub/a.htm"), 1);
}

TEST_F(LocalFiles, FileExistsSeesFilesAndFoldersByTheirExactName)
{
    test::WriteFileBytes(m_dir / "a.htm", "x");
    EXPECT_EQ(CSiteUtil::FileExists(""), 0);
    EXPECT_EQ(CSiteUtil::FileExists(m_dir / "a.htm"), 1);
    EXPECT_EQ(CSiteUtil::FileExists(m_dir.Path()), 1);
    EXPECT_EQ(CSiteUtil::FileExists(m_dir / "b.htm"), 0);
    // 'http://h/a*.htm' is a file of its own, not any 'a….htm'.
    EXPECT_EQ(CSiteUtil::FileExists(m_dir / "*.htm"), 0);
    EXPECT_EQ(CSiteUtil::FileExists(m_dir / "?.htm"), 0);
    test::WriteFileBytes(m_dir / "*.htm", "x");
    EXPECT_EQ(CSiteUtil::FileExists(m_dir / "*.htm"), 1);
}

TEST_F(LocalFiles, GetFileSizeIsSixtyFourBitAndZeroWhenMissing)
{
    EXPECT_EQ(CSiteUtil::GetFileSize(m_dir / "missing"), 0);
    EXPECT_EQ(CSiteUtil::GetFileSize(m_dir.Path()), 0);
    test::WriteFileBytes(m_dir / "empty", "");
    EXPECT_EQ(CSiteUtil::GetFileSize(m_dir / "empty"), 0);
    test::WriteFileBytes(m_dir / "five", "12345");
    EXPECT_EQ(CSiteUtil::GetFileSize(m_dir / "five"), 5);
    // A sparse file beyond 4 GiB takes no room on disk.
    const std::int64_t big = (std::int64_t {5} << 30) + 7;
    test::WriteFileBytes(m_dir / "big", "");
    std::error_code ec;
    fs::resize_file(m_dir / "big", static_cast<std::uintmax_t>(big), ec);
    if (ec)
        GTEST_SKIP() << "no sparse files here: " << ec.message();
    EXPECT_EQ(CSiteUtil::GetFileSize(m_dir / "big"), big);
}

TEST_F(LocalFiles, AppendFileTextAddsAtTheEndOrCreates)
{
    test::WriteFileBytes(m_dir / "a.htm", "abc");
    EXPECT_EQ(CSiteUtil::AppendFileText(m_dir / "a.htm", "def"), 1);
    EXPECT_EQ(test::ReadFileBytes(m_dir / "a.htm"), "abcdef");

    EXPECT_EQ(CSiteUtil::AppendFileText(m_dir / "new.htm", "x\0y"s), 1);
    EXPECT_EQ(test::ReadFileBytes(m_dir / "new.htm"), "x\0y"s);

    const CSiteUtil::AppendResult empty = CSiteUtil::AppendFile(m_dir / "empty.htm", "");
    EXPECT_TRUE(empty.opened);
    EXPECT_TRUE(empty.written);
    EXPECT_TRUE(test::PathExists(m_dir / "empty.htm"));
}

TEST_F(LocalFiles, AppendFileReportsWhatFailed)
{
    const CSiteUtil::AppendResult noFolder = CSiteUtil::AppendFile(m_dir / "nofolder/a.htm", "x");
    EXPECT_FALSE(noFolder.opened);
    EXPECT_FALSE(noFolder.written);
    EXPECT_EQ(CSiteUtil::AppendFileText(m_dir / "nofolder/a.htm", "x"), 0);
    EXPECT_EQ(CSiteUtil::AppendFileText(m_dir.Path(), "x"), 0);

    // A device that is always full: opened, but the write fails.
    if (::access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "no /dev/full";
    const CSiteUtil::AppendResult full = CSiteUtil::AppendFile("/dev/full", "x");
    EXPECT_TRUE(full.opened);
    EXPECT_FALSE(full.written);
    EXPECT_EQ(CSiteUtil::AppendFileText("/dev/full", "x"), 1);
}

TEST_F(LocalFiles, DoubleByteNamesSurviveTheMapping)
{
    // "表" is 0x95 0x5C in CP932 and E8 A1 A8 in UTF-8.
    const std::string path = CSiteUtil::LocalPathOf(Folder(), "http://host/\x95\x5C/\x95\x5C.htm");
    CSiteUtil::CreateFolders(path);
    EXPECT_TRUE(CSiteUtil::AppendFile(path, "x").written);
    EXPECT_TRUE(fs::is_regular_file(m_dir / "host/\xE8\xA1\xA8/\xE8\xA1\xA8.htm"));
}

// Hostile URLs, each written as a crawl writes a file: folders, then bytes.
// The download folder sits deeper in the test folder than any URL climbs, so
// even a broken mapping writes nothing outside the test folder.
TEST_F(LocalFiles, NoUrlWritesOutsideTheDownloadFolder)
{
    const std::string climb = "../../../../../../../../../../../../../../../../";
    const std::vector<std::string> urls = {
        "http://host/a/../../../../../etc/passwd",
        "http://host/" + climb + "escaped",
        "http://host/" + climb + "etc/escaped",
        "http://host/../escaped",
        "http://../escaped",
        "http://../../escaped",
        "http://./../escaped",
        "http://host/..",
        "http://host/../",
        "http://..",
        "http://../",
        "http://.",
        "http://host/.",
        "http:\\\\..\\..\\escaped",
        "http://host\\..\\..\\escaped",
        "http://host/a/..\\..\\/../escaped",
        "http:///escaped",
        "http:////../escaped",
        "ftp://../../escaped",
        "../../../../escaped",
        "..\\..\\..\\..\\escaped",
        "/../../escaped",
        "../..",
        "..",
        // The file layer ends a path at a zero byte.
        "http://..\0/escaped"s,
        "http://host/..\0/../escaped"s,
        "http://host/a/..\0"s,
        // A lead byte takes the next "\" as its second byte.
        "http://host/\x95\\..\\..\\escaped",
        "http://\x95\\..\\..\\escaped",
        "http://host/%2E%2E/%2E%2E/escaped",
    };
    fs::path dl = m_dir.Path();
    for (int level = 0; level < 24; ++level)
        dl /= std::string("d").append(std::to_string(level));
    fs::create_directories(dl);
    const std::string download = dl.string() + "/";

    for (const std::string& url : urls) {
        const std::string path = CSiteUtil::LocalPathOf(download, url);
        CSiteUtil::CreateFolders(path);
        CSiteUtil::AppendFileText(path, "hostile");
    }

    for (const auto& entry : fs::recursive_directory_iterator(m_dir.Path())) {
        const fs::path rel = entry.path().lexically_relative(dl);
        const bool inside = !rel.empty() && *rel.begin() != "..";
        const bool aboveDownload = entry.is_directory() && dl.string().starts_with(entry.path().string() + "/");
        EXPECT_TRUE(inside || aboveDownload) << entry.path();
    }
    // The files did get written, inside.
    EXPECT_TRUE(fs::is_regular_file(download + "host/a/%2E%2E/%2E%2E/%2E%2E/%2E%2E/%2E%2E/etc/passwd"));
    EXPECT_TRUE(fs::is_regular_file(download + "%2E%2E/%2E%2E/escaped"));
    EXPECT_TRUE(fs::is_regular_file(download + "host/%2E"));
}

} // namespace
} // namespace zorone
