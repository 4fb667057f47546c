#include "settings/sav_profile.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace zorone {
namespace {

using Items = std::vector<std::string>;

TEST(History, SavedAsItemsJoinedByCrLfWithoutFinalLineEnd)
{
    test::TempDir dir;
    const CSavProfile sav(dir.Path() + "/");
    EXPECT_EQ(sav.SaveComboList(kSavSection, kHistoryUrlKey, { "http://b/", "http://a/" }), 1);
    EXPECT_EQ(test::ReadFileBytes(dir / "Zorone-m_sTopURL.sav"), "http://b/\r\nhttp://a/");
    EXPECT_EQ(sav.SaveComboList(kSavSection, kHistoryFolderKey, {}), 1);
    EXPECT_EQ(test::ReadFileBytes(dir / "Zorone-m_sPath.sav"), "");
}

TEST(History, LoadedInFileOrderSkippingEmptyLines)
{
    test::TempDir dir;
    const CSavProfile sav(dir.Path() + "/");
    const struct {
        std::string file;
        Items expected;
    } cases[] = {
        { "z\r\n\r\ny", { "z", "y" } },
        { "z\n\ny\r\n", { "z", "y" } },
        { "only", { "only" } },
        { "\r\n\r\n", {} },
        { "", {} },
        { std::string("a\r\nb\0c\r\nd", 9), { "a", "b" } },
    };
    for (const auto& c : cases) {
        test::WriteFileBytes(dir / "Zorone-m_sPath.sav", c.file);
        Items items;
        EXPECT_EQ(sav.LoadComboList(kSavSection, kHistoryFolderKey, items), 1);
        EXPECT_EQ(items, c.expected) << c.file;
    }
}

TEST(History, MissingFileLeavesTheListAsItWas)
{
    test::TempDir dir;
    const CSavProfile sav(dir.Path() + "/");
    Items items { "kept" };
    EXPECT_EQ(sav.LoadComboList(kSavSection, kHistoryUrlKey, items), 0);
    EXPECT_EQ(items, Items { "kept" });
}

} // namespace
} // namespace zorone
