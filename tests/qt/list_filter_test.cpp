#include "qt/list_filter.h"

#include "platform/code_page.h"
#include "res/texts.h"

#include <gtest/gtest.h>

namespace zorone::test {
namespace {

TEST(ListFilterTest, UrlMatchesOnCharactersIgnoringAsciiCase)
{
    struct Case {
        const char* url;
        const char* needle; // UTF-8, compared as CP932
        bool match;
    };
    const Case cases[] = {
        { "http://h/Docs/index.html", "docs/", true },
        { "http://h/docs/index.html", "DOCS/", true },
        { "http://h/a.html", "", true },
        { "http://h/a.html", "b.html", false },
        { "http://h/資料/表.html", "資料", true },
        { "http://h/資料/表.html", "料/表", true },
        // "ソ" is 83 5C: its trail byte is "\", which must not match alone.
        { "http://h/ソフト/", "\\", false },
        // A trail byte in the letter range is not folded: "ア" (83 41) vs "a".
        { "http://h/ア", "A", false },
        { "http://h/ア", "ア", true },
        { "http://h/x", "http://h/xy", false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(qt::UrlContains(platform::Utf8ToCp932(c.url), platform::Utf8ToCp932(c.needle)), c.match)
            << c.url << " / " << c.needle;
}

TEST(ListFilterTest, MarksSortIntoWaitingDoneAndFailed)
{
    using qt::MarkFilter;
    struct Case {
        const std::string* mark;
        bool waiting, done, failed;
    };
    const Case cases[] = {
        { &res::kMarkWaiting, true, false, false }, { &res::kMarkActive, false, false, false },
        { &res::kMarkDone, false, true, false }, { &res::kMarkCross, false, false, true },
        { &res::kMarkTriangle, true, false, false }, // any other mark waits, as the crawl sees it
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(qt::MarkPasses(*c.mark, MarkFilter::All));
        EXPECT_EQ(qt::MarkPasses(*c.mark, MarkFilter::Waiting), c.waiting) << *c.mark;
        EXPECT_EQ(qt::MarkPasses(*c.mark, MarkFilter::Done), c.done) << *c.mark;
        EXPECT_EQ(qt::MarkPasses(*c.mark, MarkFilter::Failed), c.failed) << *c.mark;
    }
}

} // namespace
} // namespace zorone::test
