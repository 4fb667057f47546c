#include "engine/add_url.h"
#include "res/texts.h"
#include "tests/engine/engine_fixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace zorone::test {
namespace {

using AddUrl = EngineTest;

std::vector<std::string> Urls(const Core& core)
{
    std::vector<std::string> out;
    for (int i = 0; i < core.list.GetItemCount(); ++i)
        out.push_back(core.list.GetItemText(i, kColUrl));
    return out;
}

TEST_F(AddUrl, DepthRulesFollowTheWorkedExample)
{
    struct Case {
        int kind;
        int depth;
        std::vector<int> accepted; // per URL below
    };
    const std::vector<std::string> urls = {"http://host/a.html", "http://host/dir/b.html",
                                           "http://host/dir/sub/c.html", "http://host/dir/sub/deep/d.html"};
    const Case cases[] = {{1, 1, {1, 1, 1, 0}}, {2, 3, {1, 1, 0, 0}}, {0, 0, {1, 1, 1, 1}}, {3, 9, {0, 0, 0, 0}}};
    for (const Case& c : cases) {
        core.list.DeleteAllItems();
        core.settings.m_sTopURL = "http://host/dir/top.html";
        core.settings.m_nOtherSite = 1;
        core.settings.m_nKaisouKind = c.kind;
        core.settings.m_nKaisou = c.depth;
        for (size_t i = 0; i < urls.size(); ++i)
            EXPECT_EQ(AddURL(core, urls[i]), c.accepted[i]) << "kind " << c.kind << " " << urls[i];
    }
}

TEST_F(AddUrl, RowTextsStripQueryAndLowerTheExtension)
{
    core.settings.m_sTopURL = "http://host/";
    ASSERT_EQ(AddURL(core, "http://host/page.cgi?id=3#top"), 1);
    ASSERT_EQ(AddURL(core, "http://host/Photo.JPG"), 1);
    EXPECT_EQ(core.list.GetItemText(0, kColMark), res::kMarkWaiting);
    EXPECT_EQ(core.list.GetItemText(0, kColFileName), "page.cgi");
    EXPECT_EQ(core.list.GetItemText(0, kColExtension), "cgi");
    EXPECT_EQ(core.list.GetItemText(0, kColSize), "");
    EXPECT_EQ(core.list.GetItemText(0, kColUrl), "http://host/page.cgi");
    EXPECT_EQ(core.list.GetItemText(1, kColFileName), "Photo.JPG");
    EXPECT_EQ(core.list.GetItemText(1, kColExtension), "jpg");
    EXPECT_EQ(core.tally.At(1).extension, "jpg");
    EXPECT_EQ(core.m_bListModified, 1);
}

TEST_F(AddUrl, FolderUrlExpandsIntoFourIndexCandidatesInOrder)
{
    core.settings.m_sTopURL = "http://host/dir/";
    EXPECT_EQ(AddURL(core, "http://host/dir/"), 1);
    EXPECT_EQ(Urls(core), (std::vector<std::string> {"http://host/dir/index.shtml", "http://host/dir/index.shtm",
                                                      "http://host/dir/index.html", "http://host/dir/index.htm"}));
    EXPECT_EQ(core.list.GetItemText(0, kColExtension), "shtml");

    core.list.DeleteAllItems();
    core.settings.m_nPriorityEx = 1;
    AddURL(core, "http://host/dir/");
    EXPECT_EQ(Urls(core), (std::vector<std::string> {"http://host/dir/index.htm", "http://host/dir/index.html",
                                                      "http://host/dir/index.shtml", "http://host/dir/index.shtm"}));
    // A text without any separator is refused rather than expanded forever.
    EXPECT_EQ(AddURL(core, "nothing"), 0);
}

TEST_F(AddUrl, SiteRuleIsAByteExactPrefixOfTheTopFolder)
{
    core.settings.m_sTopURL = "http://Host/dir/top.html";
    EXPECT_EQ(AddURL(core, "http://host/dir/x.html"), 0); // case-sensitive
    EXPECT_EQ(AddURL(core, "http://Host/dir/x.html"), 1);
    core.settings.m_nOtherSite = 2;
    core.settings.m_sOtherSiteEx = "JPG, Gif";
    EXPECT_EQ(AddURL(core, "http://other/p.gif"), 1);
    EXPECT_EQ(AddURL(core, "http://other/p.png"), 0);
    EXPECT_EQ(core.settings.m_sOtherSiteEx, "jpg, gif"); // lowered in place

    // Several top URLs: a URL under the folder of any of them is on the site.
    core.list.DeleteAllItems();
    core.settings.m_nOtherSite = 0;
    core.settings.m_sTopURL = "http://a/x.htm\r\nhttp://b/y.htm";
    EXPECT_EQ(AddURL(core, "http://a/x.htm"), 1);
    EXPECT_EQ(AddURL(core, "http://b/y.htm"), 1);
    EXPECT_EQ(AddURL(core, "http://c/z.htm"), 0);
    // An empty top URL puts every URL on the site.
    core.settings.m_sTopURL.clear();
    EXPECT_EQ(AddURL(core, "ftp://anywhere/f.zip"), 1);
}

TEST_F(AddUrl, RelativeDepthCountsFromTheDeepestMatchingTopFolder)
{
    // Two top folders of 4 and 5 separators; depth 1 below each.
    core.settings.m_sTopURL = "http://h/a/top.htm\r\nhttp://h/a/b/top.htm\r\n";
    core.settings.m_nKaisouKind = 1;
    core.settings.m_nKaisou = 1;
    core.settings.m_nOtherSite = 1;
    const std::pair<const char*, int> cases[] = {
        {"http://h/a/x/y.htm", 1},      // under a/ only: 5 <= 1 + 4
        {"http://h/a/x/y/z.htm", 0},    // under a/ only: 6 > 1 + 4
        {"http://h/a/b/x/y.htm", 1},    // under a/b/: 6 <= 1 + 5
        {"http://h/a/b/x/y/z.htm", 0},  // 7 > 1 + 5
        // From another site, depth counts from the first top URL (a/):
        {"http://other/p/q/r.htm", 1},   // 5 <= 1 + 4
        {"http://other/p/q/r/s.htm", 0}, // 6 > 1 + 4 (from a/b/ it would pass)
    };
    for (const auto& [url, accepted] : cases)
        EXPECT_EQ(AddURL(core, url), accepted) << url;
}

TEST_F(AddUrl, DuplicateRuleCoversEveryStateAndCanBeSwitchedOff)
{
    core.settings.m_sTopURL = "http://h/";
    EXPECT_EQ(AddURL(core, "http://h/a.htm"), 1);
    core.list.SetItemText(0, kColMark, res::kMarkDone);
    EXPECT_EQ(AddURL(core, "http://h/a.htm#frag"), 0);
    core.settings.m_bDoubleDownloadItem = 0;
    EXPECT_EQ(AddURL(core, "http://h/a.htm"), 1);
    EXPECT_EQ(AddURL(core, "http://h/a.htm"), 1);
    EXPECT_EQ(core.list.GetItemCount(), 3);
}

TEST_F(AddUrl, LongListsShowTheDuplicateCheck)
{
    core.settings.m_sTopURL = "http://h/";
    for (int i = 0; i < 10001; ++i) {
        const int r = core.list.InsertItem(i, res::kMarkDone);
        core.list.SetItemText(r, kColUrl, "http://h/" + std::to_string(i) + ".x");
    }
    EXPECT_EQ(AddURL(core, "http://h/5000.x"), 0);
    EXPECT_EQ(core.window.statusText, res::kFullColon + res::kStatusDuplicateCheck);
    EXPECT_EQ(core.window.progressHigh, 10001);
    EXPECT_EQ(core.window.progressPos, 0);
}

} // namespace
} // namespace zorone::test
