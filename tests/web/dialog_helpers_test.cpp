#include "web/dialog_helpers.h"

#include "platform/headless_ui.h"
#include "res/texts.h"

#include <gtest/gtest.h>

namespace zorone::CSiteUtil {
namespace {

TEST(DialogHelpers, BrowseForFolderEndsInOneSeparatorOrIsEmpty)
{
    platform::HeadlessUi ui;
    const struct {
        std::string picked, expected;
    } cases[] = {
        { "/data", "/data/" }, { "/data/", "/data/" }, { "/", "/" }, { "", "" }, // cancelled
    };
    for (const auto& c : cases) {
        ui.QueuePick(c.picked);
        EXPECT_EQ(BrowseForFolder(ui, "/ignored/"), c.expected) << c.picked;
    }
    ASSERT_EQ(ui.CallsOf("PickFolder").size(), 4u);
    EXPECT_EQ(ui.CallsOf("PickFolder")[0].text, res::kTitleBrowseFolder);
}

TEST(DialogHelpers, FilePickersGiveTheDefaultWhenCancelled)
{
    platform::HeadlessUi ui;
    EXPECT_EQ(AskOpenFileName(ui, "list.csv", "CSV|*.csv|"), "list.csv");
    EXPECT_EQ(AskSaveFileName(ui, "", "CSV|*.csv|"), "");
    ui.QueuePick("/home/u/a.csv");
    EXPECT_EQ(AskSaveFileName(ui, "", "CSV|*.csv|"), "/home/u/a.csv");
}

} // namespace
} // namespace zorone::CSiteUtil
