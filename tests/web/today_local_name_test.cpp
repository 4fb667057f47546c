// Where today's rules store each URL: readable names, types a browser
// recognises, and never one file for two documents.
#include "platform/code_page.h"
#include "web/percent_escape.h"
#include "web/today_local_name.h"
#include "web/today_url.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace zorone::today {
namespace {

struct Case {
    std::string url;
    std::string type;
    std::string expected; // UTF-8, as the file system shows it
};

TEST(TodayLocalName, LocalRelativePathNamesFilesForABrowser)
{
    const std::string html = "text/html; charset=UTF-8";
    const std::vector<Case> cases = {
        {"http://h/dir/a.png", "image/png", "h/dir/a.png"}, {"https://h/dir/", "", "h/dir/index.html"},
        {"http://h", "", "h/index.html"}, {"http://h/dir/?p=1", "", "h/dir/index@p=1.html"},
        {"http://h/list?page=2", html, "h/list@page=2.html"}, {"http://h/list?page=2", "", "h/list@page=2"},
        {"http://h/a.php?x=1", html, "h/a.php@x=1.html"}, {"http://h/a.HTM", html, "h/a.HTM"},
        {"http://h/style.css?v=2", "TEXT/CSS", "h/style.css@v=2.css"}, {"http://h/s", "text/css", "h/s.css"},
        {"http://h:8080/x", "", "h:8080/x"}, {"https://h:443/x", "", "h/x"},
        {"http://u:secret@[::1]:81/x", "", "[::1]:81/x"},
        {"http://h/%E6%97%A5%E6%9C%AC/%E8%A1%A8%20a.txt", "", "h/日本/表 a.txt"},
        {"http://h/q?k=%E6%97%A5&u=a/b%2Fc", "", "h/q@k=日&u=a%2Fb%252Fc"},
        {"http://h/bad%FF%E6/x%2Fy%00z%5C", "", "h/bad%FF%E6/x%2Fy%00z%5C"},
        // Valid UTF-8 that CP932 cannot hold keeps its escapes.
        {"http://h/%F0%9F%98%80%E6%97%A5.png", "", "h/%F0%9F%98%80%E6%97%A5.png"},
        {"http://h/a@b/c%40d%25", "", "h/a%40b/c%2540d%2525"}, {"http://h//a//b", "", "h/%/a/%/b"},
        {"http://../x", "", "%2E%2E/x"}, {"mailto:x@h", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("url '" + c.url + "' type '" + c.type + "'");
        EXPECT_EQ(platform::Cp932ToUtf8(LocalRelativePath(c.url, c.type)), c.expected);
    }
    // Japanese names are CP932 inside, like every other text.
    EXPECT_EQ(LocalRelativePath("http://h/%E6%97%A5", ""), "h/\x93\xFA");
}

TEST(TodayLocalName, DifferentUrlsNeverShareAFile)
{
    const std::string longName(240, 'n');
    const std::vector<std::string> urls = {
        "http://h/a@b",        "http://h/a?b",         "http://h/a%40b",       "http://h/a%2540b",
        "http://h/a%25",       "http://h/a%2525",      "http://h/q?a/b",       "http://h/q?a%2Fb",
        "http://h/q?a%252Fb",  "http://h/q?a%20b",     "http://h/q?a+b",       "http://h/a/b",
        "http://h/a//b",       "http://h/a%2Fb",       "http://h/a/b/",        "http://h/a%2F",
        "http://h/%E6%97%A5",  "http://h/%93%FA",      "http://h/%2E%2E/x",    "http://h/%25/x",
        "http://h/x/",         "http://h/x",           "http://h/x?",          "http://h/x?y",
        "http://h:81/x",       "http://h/" + longName, "http://h/" + longName + "m",
        // A URL that names the file a long name was cut to.
        "http://h/" + LocalRelativePath("http://h/" + longName, "").substr(2),
    };
    std::map<std::string, std::string> seen;
    for (const auto& url : urls) {
        SCOPED_TRACE("url '" + url + "'");
        const std::string path = LocalRelativePath(url, "");
        ASSERT_FALSE(path.empty());
        const auto [at, added] = seen.emplace(path, url);
        EXPECT_TRUE(added || NormaliseUrl(at->second) == NormaliseUrl(url)) << "shares " << at->second;
    }
}

TEST(TodayLocalName, LongNamesAreCutStablyAndKeepTheirExtension)
{
    const std::string name = LocalRelativePath("http://h/" + std::string(300, 'a') + ".html?q=1", "");
    const std::string file = name.substr(2);
    EXPECT_GT(file.size(), 200u);
    EXPECT_LE(file.size(), 220u);
    // FNV-1a 64 of the whole name, folded to 32 bits.
    EXPECT_EQ(file.substr(file.size() - 18), "~41d860ae.html@q=1");
    // Cut between characters, never through one.
    std::string japanese = "http://h/";
    for (int i = 0; i < 100; ++i)
        japanese += "%E6%97%A5";
    const std::string utf8 = platform::Cp932ToUtf8(LocalRelativePath(japanese, "text/html"));
    EXPECT_TRUE(IsValidUtf8(utf8) && utf8.size() - 2 <= 220 && utf8.ends_with(".html"));
}

TEST(TodayLocalName, MediaTypesIgnoreCaseAndParameters)
{
    EXPECT_TRUE(IsHtmlType(" Text/HTML ;charset=Shift_JIS") && IsHtmlType("application/xhtml+xml"));
    EXPECT_FALSE(IsHtmlType("text/htmlx") || IsHtmlType("") || IsHtmlType("text/css"));
    EXPECT_TRUE(IsCssType("text/css;charset=utf-8") && !IsCssType("text/html"));
}

} // namespace
} // namespace zorone::today
