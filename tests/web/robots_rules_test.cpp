#include "web/robots_rules.h"

#include <gtest/gtest.h>

namespace zorone::test {
namespace {

TEST(RobotsRules, LongestMatchDecidesAndAllowWinsTies)
{
    const RobotsRules rules = ParseRobots("User-agent: *\n"
                                          "Disallow: /private/\n"
                                          "Allow: /private/open\n"
                                          "Disallow: /*.cgi$\n"
                                          "Disallow: /tie\n"
                                          "Allow: /tie\n"
                                          "Disallow: /a*b\n"
                                          "Disallow: /caf%c3%a9\n");
    struct Case {
        const char* url;
        bool allowed;
    };
    const Case cases[] = {
        {"http://h/private/x.html", false},
        {"http://h/private/open.html", true}, // the longer Allow wins
        {"http://h/private/", false},
        {"http://h/run.cgi", false},
        {"http://h/run.cgi?x=1", true}, // "$" ends the path: the query follows
        {"http://h/run.cgi.html", true},
        {"http://h/tie.html", true},
        {"http://h/axxbyy", false},
        {"http://h/ab", false},
        {"http://h/ba", true},
        {"http://h/caf\xc3\xa9/", false}, // raw bytes match the escaped pattern
        {"http://h/CAF%C3%A9", true},     // paths stay case-sensitive
        {"http://h/robots.txt", true},
        {"http://h", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RobotsAllows(rules, RobotsPathOf(c.url)), c.allowed) << c.url;
}

TEST(RobotsRules, AGroupNamingZoronePrevailsOverTheStarGroup)
{
    const std::string text = "# comment\n"
                             "Disallow: /before-any-group\n"
                             "User-agent: *\n"
                             "Disallow: /\n"
                             "Crawl-delay: 9\n"
                             "\n"
                             "User-agent: OtherBot\n"
                             "User-Agent: ZORONE/3.21\n"
                             "Disallow: /no/   # trailing comment\n"
                             "Sitemap: http://h/sitemap.xml\n"
                             "Crawl-delay: 1.5\n"
                             "User-agent: zorone\n"
                             "Disallow: /also/\n";
    const RobotsRules ours = ParseRobots(text);
    EXPECT_TRUE(RobotsAllows(ours, "/yes.html"));
    EXPECT_FALSE(RobotsAllows(ours, "/no/x"));
    EXPECT_FALSE(RobotsAllows(ours, "/also/x")); // both groups naming us apply
    EXPECT_DOUBLE_EQ(ours.crawlDelay, 1.5);

    const RobotsRules others = ParseRobots(text, "somebot");
    EXPECT_FALSE(RobotsAllows(others, "/yes.html"));
    EXPECT_DOUBLE_EQ(others.crawlDelay, 9);
    EXPECT_TRUE(RobotsAllows(others, "/before-any-group") == false);
}

TEST(RobotsRules, EmptyBrokenAndHugeFilesRestrictLittle)
{
    EXPECT_TRUE(RobotsAllows(ParseRobots(""), "/x"));
    EXPECT_TRUE(RobotsAllows(ParseRobots("User-agent: *\nDisallow:\n"), "/x"));
    EXPECT_TRUE(RobotsAllows(ParseRobots("<html>not robots</html>"), "/x"));
    EXPECT_FALSE(RobotsAllows(DisallowEverything(), "/x"));
    EXPECT_TRUE(RobotsAllows(DisallowEverything(), "/robots.txt"));
    // A delay beyond the cap is cut to it; a negative or unreadable one is none.
    EXPECT_DOUBLE_EQ(ParseRobots("User-agent: *\nCrawl-delay: 86400\n").crawlDelay, kRobotsMaxCrawlDelaySeconds);
    EXPECT_DOUBLE_EQ(ParseRobots("User-agent: *\nCrawl-delay: soon\n").crawlDelay, 0);
    // Rules past the read limit are not seen.
    std::string huge = "User-agent: *\n" + std::string(kRobotsMaxBytes, '#') + "\nDisallow: /\n";
    EXPECT_TRUE(RobotsAllows(ParseRobots(huge), "/x"));
    // A pathological pattern still ends.
    const RobotsRules stars = ParseRobots("User-agent: *\nDisallow: /" + std::string(200, '*') + "x$\n");
    EXPECT_TRUE(RobotsAllows(stars, "/" + std::string(2000, 'a')));
}

} // namespace
} // namespace zorone::test
