#include "qt/list_filter.h"

#include "platform/code_page.h"

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

} // namespace
} // namespace zorone::test
