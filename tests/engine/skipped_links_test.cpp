#include "engine/add_url.h"
#include "engine/extract_links.h"
#include "engine/skipped_links.h"
#include "tests/engine/engine_fixture.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace zorone::test {
namespace {

using Record = std::tuple<std::string, SkipReason, std::string>;

std::vector<Record> Records(const SkippedLinks& skipped)
{
    std::vector<Record> out;
    skipped.ForEach([&out](std::string_view url, SkipReason reason, std::string_view page) {
        out.emplace_back(std::string(url), reason, std::string(page));
    });
    return out;
}

TEST(SkippedLinks, KeepsOneRecordPerUrlWithItsFirstReasonAndPage)
{
    SkippedLinks s;
    EXPECT_TRUE(s.Note(SkipReason::TooDeep, "http://h/a/b/c.html", "http://h/top.html"));
    EXPECT_FALSE(s.Note(SkipReason::Duplicate, "http://h/a/b/c.html", "http://h/other.html"));
    EXPECT_TRUE(s.Note(SkipReason::Duplicate, "http://h/x.html", "http://h/top.html"));
    EXPECT_TRUE(s.Note(SkipReason::TooLarge, "http://h/big.html", ""));
    // Enough distinct URLs to grow the table and the text store several times.
    for (int i = 0; i < 50000; ++i)
        s.Note(SkipReason::OutsideSite, "http://other/" + std::to_string(i) + std::string(40, 'p'), "http://h/p2.html");
    EXPECT_FALSE(s.Note(SkipReason::Robots, "http://other/49999" + std::string(40, 'p'), ""));
    EXPECT_EQ(s.Size(), 50003u);
    EXPECT_EQ(s.Count(SkipReason::OutsideSite), 50000u);
    EXPECT_EQ(s.Count(SkipReason::Duplicate), 1u);
    EXPECT_EQ(s.Count(SkipReason::Robots), 0u);

    const std::vector<Record> records = Records(s);
    EXPECT_EQ(records[0], Record("http://h/a/b/c.html", SkipReason::TooDeep, "http://h/top.html"));
    EXPECT_EQ(records[2], Record("http://h/big.html", SkipReason::TooLarge, ""));
    EXPECT_EQ(records.back(), Record("http://other/49999" + std::string(40, 'p'), SkipReason::OutsideSite,
                                     "http://h/p2.html"));

    // A URL beyond the limit is kept cut, and its cut form counts once.
    const std::string longUrl = "http://h/" + std::string(kMaxSkippedUrlBytes * 2, 'z');
    EXPECT_TRUE(s.Note(SkipReason::Unusable, longUrl, ""));
    EXPECT_FALSE(s.Note(SkipReason::Unusable, longUrl + "more", ""));
    EXPECT_EQ(std::get<0>(Records(s).back()).size(), kMaxSkippedUrlBytes);

    s.Clear();
    EXPECT_EQ(s.Size(), 0u);
    EXPECT_TRUE(Records(s).empty());
    EXPECT_TRUE(s.Note(SkipReason::TooDeep, "http://h/a/b/c.html", ""));
}

using SkippedByRules = EngineTest;

TEST_F(SkippedByRules, EachRuleOfTheAddStepNotesItsReason)
{
    core.settings.m_sTopURL = "http://host/dir/top.html";
    core.settings.m_nKaisouKind = 1;
    core.settings.m_nKaisou = 1;
    core.settings.m_bDoubleDownloadItem = 1;
    struct Case {
        int otherSite;
        const char* link;
        int added;
        SkipReason reason;
    };
    const Case cases[] = {
        {0, "http://elsewhere/a.html", 0, SkipReason::OutsideSite},
        {2, "http://elsewhere/b.html", 0, SkipReason::ExtensionNotWanted},
        {2, "http://elsewhere/c.jpg", 1, {}},
        {0, "http://host/dir/sub/deep/d.html", 0, SkipReason::TooDeep},
        {0, "http://host/dir/e.html", 1, {}},
        {0, "http://host/dir/e.html#again", 0, SkipReason::Duplicate},
        {0, "no-separator-at-all", 0, SkipReason::Unusable},
    };
    core.settings.m_sOtherSiteEx = "jpg";
    for (const Case& c : cases) {
        core.settings.m_nOtherSite = c.otherSite;
        const size_t before = core.skipped.Size();
        EXPECT_EQ(AddURL(core, c.link), c.added) << c.link;
        if (c.added == 1) {
            EXPECT_EQ(core.skipped.Size(), before) << c.link;
            continue;
        }
        ASSERT_EQ(core.skipped.Size(), before + 1) << c.link;
        EXPECT_EQ(std::get<1>(Records(core.skipped).back()), c.reason) << c.link;
    }
}

TEST_F(SkippedByRules, LinksDroppedByTheScannerNameThePageTheyWereFoundOn)
{
    core.settings.m_sTopURL = "http://host/dir/top.html";
    core.settings.m_bDoubleDownloadItem = 1;
    const std::string page = "<a href=\"mailto:me@host\"><a href=\"javascript:go()\"><a href=\"#top\">"
                             "<a href=\"http://other/x.html\"><a href=\"ok.html\"><a href=\"ok.html\">";
    ExtractLinks(core, "http://host/dir/top.html", page);
    EXPECT_EQ(Records(core.skipped),
              (std::vector<Record> {
                  {"mailto:me@host", SkipReason::NotWebScheme, "http://host/dir/top.html"},
                  {"javascript:go()", SkipReason::NotWebScheme, "http://host/dir/top.html"},
                  {"http://other/x.html", SkipReason::OutsideSite, "http://host/dir/top.html"},
                  {"http://host/dir/ok.html", SkipReason::Duplicate, "http://host/dir/top.html"},
              }));
    // Outside an analysis no page is named.
    AddURL(core, "http://other/y.html");
    EXPECT_EQ(std::get<2>(Records(core.skipped).back()), "");
}

} // namespace
} // namespace zorone::test
