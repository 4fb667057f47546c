// Today's URL model: one normal form for every address, and links resolved
// as RFC 3986 and browsers resolve them.
#include "platform/code_page.h"
#include "web/today_url.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorone::today {
namespace {

struct Case {
    std::string input;
    std::string expected;
};

TEST(TodayUrl, NormaliseUrlGivesOneFormPerAddress)
{
    const std::vector<Case> cases = {
        {"HTTP://Example.COM:80/A/%7e%41%2d?Q=%7e#frag", "http://example.com/A/~A-?Q=~"},
        {"https://h:443", "https://h/"}, {"ftp://h:21/pub/", "ftp://h/pub/"}, {"http://h:443/", "http://h:443/"},
        {"http://h:0080/x?", "http://h/x"}, {"http://[0:0::1]:8080/x", "http://[::1]:8080/x"},
        {"http://User:P%40ss@H/x", "http://User:P%40ss@h/x"}, {"http://@h/", "http://h/"},
        {"http://h/a/./b/../../c/%2e%2E/d", "http://h/d"},
        {"http://h/%2f%3f?a=%2f&b=c+d", "http://h/%2F%3F?a=%2F&b=c+d"},
        {"http://h/a b|c[d]\"x\"?q r<", "http://h/a%20b%7Cc%5Bd%5D%22x%22?q%20r%3C"},
        {"http://h/100%/%zz", "http://h/100%25/%25zz"}, {" \t http://h/a\tb\r\nc \n", "http://h/abc"},
        {"http:\\\\h\\a\\b?c\\d", "http://h/a/b?c%5Cd"},
        {"http://h/\xE6\x97\xA5\xE6\x9C\xAC.html", "http://h/%E6%97%A5%E6%9C%AC.html"},
        // The same name typed into the window arrives as CP932.
        {"http://h/\x93\xFA\x96\x7B.html", "http://h/%E6%97%A5%E6%9C%AC.html"},
        {"http://h/\xFF\x80", "http://h/%FF%80"}, {"http://h/\x01\x7F", "http://h/%01%7F"},
        {"mailto:a@h", ""}, {"file:///etc/passwd", ""}, {"http://", ""}, {"h/x.html", ""},
        {"http://\xE6\x97\xA5.jp/", ""}, {"http://h:99999/", ""}, {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("url '" + c.input + "'");
        const std::string normal = NormaliseUrl(c.input);
        EXPECT_EQ(normal, c.expected);
        EXPECT_EQ(NormaliseUrl(normal), normal);
    }
    EXPECT_EQ(NormaliseUrl("http://h/" + std::string(kMaxUrlBytes, 'a')), "");
}

TEST(TodayUrl, ResolveLinkFollowsTheReferenceExamples)
{
    // Base and expectations from RFC 3986's examples; a fragment alone
    // and the empty link name the page itself and are no new link.
    const std::string base = "http://a/b/c/d;p?q";
    const std::vector<Case> cases = {
        {"g", "http://a/b/c/g"},          {"./g", "http://a/b/c/g"},      {"g/", "http://a/b/c/g/"},
        {"/g", "http://a/g"},             {"//g", "http://g/"},           {"?y", "http://a/b/c/d;p?y"},
        {"g?y", "http://a/b/c/g?y"},      {"#s", ""},                     {"g#s", "http://a/b/c/g"},
        {";x", "http://a/b/c/;x"},        {"g;x?y#s", "http://a/b/c/g;x?y"}, {"", ""},
        {".", "http://a/b/c/"},           {"./", "http://a/b/c/"},        {"..", "http://a/b/"},
        {"../g", "http://a/b/g"},         {"../..", "http://a/"},         {"../../g", "http://a/g"},
        {"../../../g", "http://a/g"},     {"../../../../g", "http://a/g"}, {"/./g", "http://a/g"},
        {"/../g", "http://a/g"},          {"g.", "http://a/b/c/g."},      {".g", "http://a/b/c/.g"},
        {"g..", "http://a/b/c/g.."},      {"..g", "http://a/b/c/..g"},    {"./../g", "http://a/b/g"},
        {"./g/.", "http://a/b/c/g/"},     {"g/./h", "http://a/b/c/g/h"},  {"g/../h", "http://a/b/c/h"},
        {"g;x=1/./y", "http://a/b/c/g;x=1/y"}, {"g;x=1/../y", "http://a/b/c/y"},
        {"g?y/./x", "http://a/b/c/g?y/./x"}, {"g?y/../x", "http://a/b/c/g?y/../x"},
        {"g#s/../x", "http://a/b/c/g"},
        // Beyond the examples: what pages hold.
        {" \n g\th \t", "http://a/b/c/gh"}, {"%2e%2E/x", "http://a/b/x"}, {"..\\x", "http://a/b/x"},
        {"HTTPS://X:443/y", "https://x/y"}, {"//x:8080", "http://x:8080/"},
        {"\xE6\x97\xA5\xE6\x9C\xAC.html?q=\xE6\x97\xA5", "http://a/b/c/%E6%97%A5%E6%9C%AC.html?q=%E6%97%A5"},
        {"a\xFF\x93\xFA.html", "http://a/b/c/a%FF%93%FA.html"},
        {"mailto:x@a", ""}, {"javascript:go()", ""}, {"data:text/css,x", ""}, {"tel:1", ""}, {"file:///x", ""},
        {"about:blank", ""}, {"blob:http://a/1", ""}, {"http:g", ""}, {"//\xE6\x97\xA5.jp/", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("link '" + c.input + "'");
        EXPECT_EQ(ResolveLink(base, c.input), c.expected);
    }
    EXPECT_EQ(ResolveLink("ftp://f/pub/a/", "../b.zip"), "ftp://f/pub/b.zip");
    EXPECT_EQ(ResolveLink("http://[::1]:81/d/p", "x"), "http://[::1]:81/d/x");
    EXPECT_EQ(ResolveLink("", "x"), "");
}

TEST(TodayUrl, PartsForTheSiteAndDepthRules)
{
    struct PartsCase {
        std::string url;
        std::string folder;
        std::string hostKey;
        int separators;
    };
    const std::vector<PartsCase> cases = {
        {"https://h/a/b.html?x=/y/z", "https://h/a/", "h", 4}, {"http://h/", "http://h/", "h", 3},
        {"http://u:p@h:8080/d/", "http://u:p@h:8080/d/", "h:8080", 4}, {"http://H:80/", "http://H:80/", "h", 3},
        {"https://h:80/x", "https://h:80/", "h:80", 3}, {"http://[::1]:80/x", "http://[::1]:80/", "[::1]", 3},
        {"ftp://[::1]/a//b", "ftp://[::1]/a//", "[::1]", 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("url '" + c.url + "'");
        EXPECT_EQ(PathFolderOf(c.url), c.folder);
        EXPECT_EQ(HostKeyOf(c.url), c.hostKey);
        EXPECT_EQ(PathSeparators(c.url), c.separators);
    }
}

} // namespace
} // namespace zorone::today
