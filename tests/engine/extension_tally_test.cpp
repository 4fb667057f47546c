#include "engine/extension_tally.h"

#include <gtest/gtest.h>

namespace zorone {
namespace {

TEST(ExtensionTally, CountsInOrderOfFirstAppearance)
{
    ExtensionTally t;
    t.TallyListed("html");
    t.TallyListed("gif");
    t.TallyListed("html");
    t.TallyDownloaded("html");
    // First met at completion: starts at 1/1.
    t.TallyDownloaded("jpg");
    ASSERT_EQ(t.UsedCount(), 3);
    EXPECT_EQ(t.At(0).extension, "html");
    EXPECT_EQ(t.At(0).listed, 2);
    EXPECT_EQ(t.At(0).downloaded, 1);
    EXPECT_EQ(t.At(1).extension, "gif");
    EXPECT_EQ(t.At(2).extension, "jpg");
    EXPECT_EQ(t.At(2).listed, 1);
    EXPECT_EQ(t.At(2).downloaded, 1);
}

TEST(ExtensionTally, EmptyExtensionNeverOccupiesAnEntry)
{
    ExtensionTally t;
    t.TallyListed("");
    EXPECT_EQ(t.UsedCount(), 0);
    t.TallyListed("htm");
    t.TallyListed("");
    t.TallyDownloaded("");
    EXPECT_EQ(t.UsedCount(), 1);
    EXPECT_EQ(t.At(0).listed, 1);
}

TEST(ExtensionTally, FullTableKeepsOverwritingTheLandingEntry)
{
    ExtensionTally t;
    for (int i = 0; i < 1000; ++i)
        t.TallyListed(std::string("e").append(std::to_string(i)));
    EXPECT_EQ(t.UsedCount(), 1000);
    t.TallyListed("new1");
    EXPECT_EQ(t.At(1000).extension, "new1");
    t.TallyListed("new1"); // entry 1000 is never searched: replaced again
    EXPECT_EQ(t.At(1000).listed, 1);
    t.TallyDownloaded("new2");
    EXPECT_EQ(t.At(1000).extension, "new2");
    EXPECT_EQ(t.At(1000).downloaded, 1);
    t.TallyListed("e999"); // the first 1000 keep counting
    EXPECT_EQ(t.At(999).listed, 2);

    t.Reset();
    EXPECT_EQ(t.UsedCount(), 0);
    t.TallyListed("x");
    EXPECT_EQ(t.At(0).extension, "x");
}

} // namespace
} // namespace zorone
