#include "platform/request_options.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zorone::test {
namespace {

TEST(RequestOptions, HeadersMustBeOneLineWithATokenName)
{
    struct Case {
        const char* line;
        bool valid;
    };
    const Case cases[] = {
        {"X-Token: abc", true},
        {"Accept-Language: ja, en;q=0.5", true},
        {"X-Empty:", true},
        {"X-Tab: a\tb", true},
        {"Weird!#$%&'*+-.^_`|~: v", true},
        {"No colon here", false},
        {": value", false},
        {"Two Words: v", false},
        {"X-Token: abc\r\nEvil: 1", false},
        {"X-Token: abc\nEvil: 1", false},
        {"X(paren): v", false},
        {"X-\x82\xa0: v", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::CheckHeaderLine(c.line).empty(), c.valid) << c.line;
    EXPECT_EQ(platform::CheckHeaderLine(std::string("X: a\0b", 6)).empty(), false);
    // The reason never repeats the value, which may be a password.
    EXPECT_EQ(platform::CheckHeaderLine("Authorization: secret\r\n").find("secret"), std::string::npos);

    EXPECT_TRUE(platform::CheckUserAgent("Mozilla/5.0 (X11; Linux) Zorone").empty());
    EXPECT_FALSE(platform::CheckUserAgent("Agent\r\nX-Evil: 1").empty());
}

TEST(RequestOptions, CookieFilesMustBeReadableRegularFiles)
{
    TempDir dir;
    WriteFileBytes(dir / "cookies.txt", "# Netscape HTTP Cookie File\n");
    std::filesystem::create_directory(dir / "folder");
    EXPECT_EQ(platform::CheckCookieFile(dir / "cookies.txt"), "");
    EXPECT_NE(platform::CheckCookieFile(dir / "missing.txt").find("No such file"), std::string::npos);
    EXPECT_NE(platform::CheckCookieFile(dir / "folder"), "");

    platform::RequestOptions o;
    o.cookieFile = dir / "missing.txt";
    o.headers = {"Bad Header: 1", "Good: 2"};
    const std::string problems = platform::CheckRequestOptions(o);
    EXPECT_NE(problems.find("missing.txt"), std::string::npos);
    EXPECT_NE(problems.find("Bad Header"), std::string::npos);
    EXPECT_EQ(problems.find("Good"), std::string::npos);
}

TEST(RequestOptions, HeaderTextsSplitIntoTheirLines)
{
    EXPECT_EQ(platform::SplitHeaderLines("A: 1\r\n\r\nB: 2\n  \nC: 3"),
              (std::vector<std::string> {"A: 1", "B: 2", "C: 3"}));
    EXPECT_TRUE(platform::SplitHeaderLines("").empty());
}

} // namespace
} // namespace zorone::test
