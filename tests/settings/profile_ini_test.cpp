#include "settings/profile_ini.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace zorone {
namespace {

constexpr const char* kSection = "Zorone";
constexpr const char* kKey = "m_nTotalDownloadCount";

TEST(ProfileIni, ReadFindsTheKeyInItsSectionOnly)
{
    test::TempDir dir;
    const std::string path = dir / "zorone.ini";
    EXPECT_EQ(ReadProfileInt(path, kSection, kKey, 0), 0);
    const struct {
        std::string file;
        int expected;
    } cases[] = {
        { "[Zorone]\nm_nTotalDownloadCount=42\n", 42 },
        { "[zorone]\r\n M_nTotalDownloadCount = 42 \r\n", 42 },
        { "[Other]\nm_nTotalDownloadCount=5\n[Zorone]\nx=1\n", -1 },
        { "[Zorone]\nm_nTotalDownloadCount=12abc", 12 },
    };
    for (const auto& c : cases) {
        test::WriteFileBytes(path, c.file);
        EXPECT_EQ(ReadProfileInt(path, kSection, kKey, -1), c.expected) << c.file;
    }
}

TEST(ProfileIni, WriteChangesOnlyTheKeyAndCreatesWhatIsMissing)
{
    test::TempDir dir;
    const std::string path = dir / "cfg/zorone/zorone.ini";
    EXPECT_EQ(WriteProfileInt(path, kSection, kKey, 3), 1);
    EXPECT_EQ(test::ReadFileBytes(path), "[Zorone]\nm_nTotalDownloadCount=3\n");

    const struct {
        std::string before, after;
    } cases[] = {
        { "; note\r\n[Zorone]\r\nm_nTotalDownloadCount=1\r\nx=2\r\n",
            "; note\r\n[Zorone]\r\nm_nTotalDownloadCount=-7\r\nx=2\r\n" },
        { "[Zorone]\nx=2\n\n[Other]\nm_nTotalDownloadCount=1\n",
            "[Zorone]\nx=2\nm_nTotalDownloadCount=-7\n\n[Other]\nm_nTotalDownloadCount=1\n" },
        { "[Other]\na=b\n", "[Other]\na=b\n[Zorone]\nm_nTotalDownloadCount=-7\n" },
    };
    for (const auto& c : cases) {
        test::WriteFileBytes(path, c.before);
        EXPECT_EQ(WriteProfileInt(path, kSection, kKey, -7), 1);
        EXPECT_EQ(test::ReadFileBytes(path), c.after) << c.before;
        EXPECT_EQ(ReadProfileInt(path, kSection, kKey, 0), -7);
    }
}

} // namespace
} // namespace zorone
