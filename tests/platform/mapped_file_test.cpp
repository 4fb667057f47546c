#include "platform/mapped_file.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zorone::platform::files {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WriteFileBytes;

TEST(MappedFile, MapsTheBytesOfARegularFileAndSaysWhyItCannot)
{
    TempDir dir;
    const std::string bytes("<html>\0\xFF tail", 13);
    WriteFileBytes(dir / "page.html", bytes);
    WriteFileBytes(dir / "empty.html", "");
    fs::create_directory(dir / "folder");

    MappedFile file;
    ASSERT_TRUE(file.Open(dir / "page.html")) << file.Error();
    EXPECT_EQ(file.data(), bytes);
    EXPECT_EQ(file.size(), bytes.size());

    MappedFile moved = std::move(file);
    EXPECT_EQ(moved.data(), bytes);
    EXPECT_TRUE(file.data().empty());

    ASSERT_TRUE(file.Open(dir / "empty.html")) << file.Error();
    EXPECT_TRUE(file.data().empty());
    EXPECT_TRUE(file.Error().empty());

    EXPECT_FALSE(file.Open(dir / "missing.html"));
    EXPECT_NE(file.Error().find("No such file"), std::string::npos) << file.Error();
    EXPECT_FALSE(file.Open(dir / "folder"));
    EXPECT_NE(file.Error().find("directory"), std::string::npos) << file.Error();
    EXPECT_TRUE(file.data().empty());
}

TEST(MappedFile, BelowADownloadFolderALinkLeadingOutIsNotRead)
{
    TempDir dir;
    const std::string root = dir / "dl";
    fs::create_directories(root + "/host/css");
    fs::create_directories(dir / "private");
    WriteFileBytes(root + "/host/css/site.css", "a{}");
    WriteFileBytes(dir / "private/secret.txt", "secret");
    fs::create_symlink(dir / "private/secret.txt", root + "/host/css/evil.css");
    fs::create_directory_symlink(dir / "private", root + "/host/away");
    const std::string folder = root + "/";

    MappedFile file;
    ASSERT_TRUE(file.OpenBeneath(folder, folder + "host/css/site.css")) << file.Error();
    EXPECT_EQ(file.data(), "a{}");
    for (const char* path : {"host/css/evil.css", "host/away/secret.txt"}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(file.OpenBeneath(folder, folder + path));
        EXPECT_TRUE(file.data().empty());
        EXPECT_NE(file.Error().find("leads out"), std::string::npos) << file.Error();
    }
    EXPECT_FALSE(file.OpenBeneath(folder, dir / "private/secret.txt"));
}

} // namespace
} // namespace zorone::platform::files
