#include "listops/list_maintenance.h"

#include "engine/output.h"
#include "listops/list_sort.h"
#include "tests/listops/list_fixture.h"

namespace zorone::test {
namespace {

using platform::MbAnswer;
using Maintenance = ListTest;

TEST_F(Maintenance, FirstRowOfEveryUrlSurvivesInOrder)
{
    const std::vector<std::string> urls = { "http://h/a", "http://h/A", "http://h/d/", "http://h/d/index.htm",
        "http://h/b", "http://h/a", "http://h/c", "http://h/b", "http://h/e", "http://h/a", "http://h/a " };
    for (size_t i = 0; i < urls.size(); ++i)
        AddRow({ i == 0 ? "" : "\x81\x9b", std::string("n").append(std::to_string(i)), "", std::to_string(i), urls[i] });
    core.m_bListModified = 0;
    RemoveDuplicateURLs(core);
    EXPECT_EQ(Urls(),
        (std::vector<std::string> { "http://h/a", "http://h/A", "http://h/d/", "http://h/d/index.htm", "http://h/b",
            "http://h/c", "http://h/e", "http://h/a " }));
    // The surviving row keeps its own texts.
    EXPECT_EQ(RowAt(0), (Row { "", "n0", "", "0", "http://h/a" }));
    EXPECT_EQ(RowAt(5)[kColSize], "6");
    EXPECT_EQ(core.m_bListModified, 0);
    EXPECT_EQ(Status(), res::kFullColon + res::kStatusDedupeDone);
}

TEST_F(Maintenance, EmptyListDoesNothingAndLongListAsks)
{
    SetStatusText(core, "x");
    RemoveDuplicateURLs(core);
    EXPECT_EQ(Status(), res::kFullColon + "x");

    for (int i = 0; i < kLongListRows; ++i)
        AddRow({ "", "", "", "", std::string("u").append(std::to_string(i % 2)) });
    RemoveDuplicateURLs(core); // unscripted: No
    EXPECT_EQ(core.list.GetItemCount(), kLongListRows);
    ui.QueueAnswer(MbAnswer::Yes);
    RemoveDuplicateURLs(core);
    EXPECT_EQ(Urls(), (std::vector<std::string> { "u0", "u1" }));
    EXPECT_EQ(Boxes().size(), 2u);
}

TEST_F(Maintenance, ListInfoCountsRows)
{
    ShowListInfo(core);
    AddRow({ "", "", "", "", "u" });
    ShowListInfo(core);
    const std::string prefix = res::kMsgListInfo.substr(0, res::kMsgListInfo.size() - 2); // without "%d"
    EXPECT_EQ(Boxes(),
        (std::vector<std::string> {
            Box(res::kCaptionListInfo, prefix + "0"), Box(res::kCaptionListInfo, prefix + "1") }));
}

TEST_F(Maintenance, ClearEmptiesListTallyAndSummary)
{
    AddRow({ "", "", "", "", "u" });
    core.tally.TallyListed("htm");
    UpdateSummary(core);
    core.m_bListModified = 1;
    core.window.folderCombo.SetEditText(dir / "typed/");
    ClearList(core);
    EXPECT_EQ(core.list.GetItemCount(), 0);
    EXPECT_EQ(core.tally.UsedCount(), 0);
    EXPECT_EQ(core.m_sSummary, "");
    EXPECT_EQ(core.window.summaryText, "");
    EXPECT_EQ(
        core.window.title, res::kTitlePrefix + "0/0 ( 0/ " + std::to_string(core.settings.m_nMultiDownloadMax) + ")");
    EXPECT_EQ(core.m_bListModified, 0);
    EXPECT_EQ(core.settings.m_sPath, dir / "typed/"); // read from the box first
    EXPECT_EQ(Status(), res::kFullColon + res::kStatusClearDone);
    EXPECT_TRUE(Boxes().empty());
}

} // namespace
} // namespace zorone::test
