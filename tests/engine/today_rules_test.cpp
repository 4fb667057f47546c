// Today's rules end to end on the scripted URL service: which rows a page
// and a style sheet add, where the files land, and what a redirect changes.
#include "engine/crawl_control.h"
#include "engine/today_rules.h"
#include "res/texts.h"
#include "tests/engine/engine_fixture.h"

#include <gtest/gtest.h>

#include <set>

namespace zorone::test {
namespace {

class TodayRulesTest : public EngineTest {
protected:
    TodayRulesTest()
    {
        core.settings.m_nWebRules = 1;
        core.settings.m_nMultiDownloadMax = 1;
        // robots.txt has tests of its own; these answer pages only.
        core.settings.m_nRobots = 2;
    }

    std::set<std::string> Urls() const
    {
        std::set<std::string> urls;
        for (int row = 0; row < core.list.GetItemCount(); ++row)
            urls.insert(Url(row));
        return urls;
    }

    // Answers the open transfer of url with body and type.
    void Answer(const std::string& url, const std::string& type, const std::string& body,
                const std::string& finalUrl = {})
    {
        FakeUrlService::Transfer* t = urls.FindOpen(url);
        ASSERT_TRUE(t) << url;
        t->contentType = type;
        t->finalUrl = finalUrl;
        urls.Complete(t->handle, body);
        Pump();
    }
};

TEST_F(TodayRulesTest, APageAddsItsQueriesAndRequisitesAndFilesAreNamedByType)
{
    core.settings.m_sTopURL = "http://h/site/";
    core.settings.m_nKaisouKind = 1; // pages no deeper than the top folder
    core.settings.m_nKaisou = 0;
    StartCrawl(core);
    Pump();
    // The folder is fetched as it is: no index-name guesses.
    ASSERT_EQ(urls.Transfers().size(), 1u);
    Answer("http://h/site/", "text/html; charset=utf-8",
           "<a href=\"list?page=2\">2</a><a href='list?page=3#n'>3</a><a href=\"list?page=2\">again</a>\n"
           "<img srcset=\"/img/a.png 1x, /img/b.png 2x\" src=\"/img/x/y/deep.png\">\n"
           "<link rel=stylesheet href=\"/css/s.css\"><a href=\"%E6%97%A5.html\">n</a>\n"
           "<a href=\"/other/x.html\">off the site</a><a href=\"deep/p.html\">too deep</a>\n"
           "<a href=\"mailto:a@h\">m</a><a href=\"http://elsewhere/y.html\">other host</a>\n"
           "<!-- <a href=\"trap.html\"> --><script>var s='<a href=\"trap2.html\">';</script>");
    EXPECT_EQ(ReadFileBytes(dir.Path() + "/dl/h/site/index.html").substr(0, 8), "<a href=");
    EXPECT_EQ(Urls(), (std::set<std::string> {"http://h/site/", "http://h/site/list?page=2",
                                               "http://h/site/list?page=3", "http://h/img/a.png",
                                               "http://h/img/b.png", "http://h/img/x/y/deep.png",
                                               "http://h/css/s.css", "http://h/site/%E6%97%A5.html"}));

    while (!urls.OpenHandles().empty()) {
        const std::string url = urls.Find(urls.OpenHandles().front())->url;
        if (url == "http://h/css/s.css")
            Answer(url, "text/css", "body{background:url('../img/bg.png')}");
        else if (url.find(".png") != std::string::npos)
            Answer(url, "image/png", "png");
        else
            Answer(url, "text/html", "<p>" + url);
    }
    // The style sheet's image is a requisite of the same host.
    EXPECT_TRUE(Urls().count("http://h/img/bg.png"));
    EXPECT_EQ(core.m_nFailedCount, 0);
    EXPECT_EQ(ReadFileBytes(dir.Path() + "/dl/h/site/list@page=2.html"), "<p>http://h/site/list?page=2");
    EXPECT_EQ(ReadFileBytes(dir.Path() + "/dl/h/site/\xE6\x97\xA5.html"), "<p>http://h/site/%E6%97%A5.html");
    EXPECT_EQ(ReadFileBytes(dir.Path() + "/dl/h/img/bg.png"), "png");
    EXPECT_EQ(core.m_nCrawlCount, 9);
}

TEST_F(TodayRulesTest, ARedirectedTopTakesTheSiteAlongAndLinksResolveAgainstTheNewAddress)
{
    core.settings.m_sTopURL = "http://h/";
    StartCrawl(core);
    Pump();
    const std::string page = "<a href=\"/a.html\">a</a><a href=\"http://h/b.html\">b</a>";
    Answer("http://h/", "text/html", page, "https://h/");
    // The row holds the address the page came from; its links are on the
    // https site, a plain http one included: no redirect per file.
    EXPECT_EQ(Urls(), (std::set<std::string> {"https://h/", "https://h/a.html", "https://h/b.html"}));
    EXPECT_EQ(ReadFileBytes(dir.Path() + "/dl/h/index.html"), page);
}

TEST_F(TodayRulesTest, TypedTopUrlsKeepTheirJapaneseNamesAndTextAroundAnAddressIsDropped)
{
    // "日本" typed in the window arrives as CP932.
    core.settings.m_sTopURL = "HTTP://H:80/\x93\xfa\x96\x7b/\r\nsee http://h/x.html please";
    StartCrawl(core);
    Pump();
    EXPECT_EQ(core.settings.m_sTopURL, "http://h/%E6%97%A5%E6%9C%AC/\r\nhttp://h/x.html");
    EXPECT_EQ(Urls(), (std::set<std::string> {"http://h/%E6%97%A5%E6%9C%AC/", "http://h/x.html"}));
}

TEST_F(TodayRulesTest, TheEndOfACrawlRewritesItsPagesForOfflineReadingBeforeTheReport)
{
    core.settings.m_sTopURL = "http://h/d/";
    StartCrawl(core);
    Pump();
    // The folder's page links its own index.html, which shares its file.
    Answer("http://h/d/", "text/html",
           "<a href=\"list?page=2#s\">x</a><img src=\"/i.png\"><a href=\"gone.html\">g</a><a href=index.html>");
    Answer("http://h/d/list?page=2", "text/html", "<a href=\"/d/\">up</a>");
    Answer("http://h/i.png", "image/png", "<a href=\"/d/\">not a page</a>");
    EXPECT_EQ(Reports(), 0);
    urls.Stop(urls.FindOpen("http://h/d/gone.html")->handle, 0, 404);
    Pump();
    Answer("http://h/d/index.html", "text/html",
           "<a href=\"list?page=2#s\">x</a><img src=\"/i.png\"><a href=\"gone.html\">g</a><a href=index.html>");
    EXPECT_EQ(Reports(), 1);
    // A stored target by its relative path, fragment kept; a failed one by
    // its address; nothing but pages and style sheets is touched.
    EXPECT_EQ(ReadFileBytes(dir.Path() + "/dl/h/d/index.html"),
              "<a href=\"list@page=2.html#s\">x</a><img src=\"../i.png\"><a href=\"http://h/d/gone.html\">g</a>"
              "<a href=index.html>");
    EXPECT_EQ(ReadFileBytes(dir.Path() + "/dl/h/d/list@page=2.html"), "<a href=\"index.html\">up</a>");
    EXPECT_EQ(ReadFileBytes(dir.Path() + "/dl/h/i.png"), "<a href=\"/d/\">not a page</a>");

    // A later process, files on disk counting as done: the record maps the
    // converted page's file names back to their addresses, and only the
    // failed one is asked for again.
    const std::set<std::string> firstRows = Urls();
    core.todayRules = std::make_unique<TodayRules>();
    core.list.DeleteAllItems();
    core.settings.m_bDownloadFileExist = 1;
    const size_t opened = urls.Transfers().size();
    StartCrawl(core);
    Pump();
    EXPECT_EQ(Urls(), firstRows);
    ASSERT_EQ(urls.Transfers().size(), opened + 1);
    EXPECT_EQ(urls.Transfers().back().url, "http://h/d/gone.html");
}

using ClassicConversion = EngineTest;

TEST_F(ClassicConversion, ClassicRulesRewriteTheLinksTheyFollowWhenAsked)
{
    core.settings.m_sTopURL = "http://h/d/a.html";
    core.settings.m_bConvertLinks = 1;
    StartCrawl(core);
    Pump();
    const std::string page = "<a href=\"b.html\">b</a><a href=\"http://h/d/b.html#x\">b</a><img src=\"/i.png\">";
    urls.Complete(urls.FindOpen("http://h/d/a.html")->handle, page);
    Pump();
    urls.Complete(urls.FindOpen("http://h/d/b.html")->handle, "<p>b");
    Pump();
    // The image lies off the top folder: not fetched, so written as its
    // address; the page the crawl stored is reached by its file.
    EXPECT_EQ(ReadFileBytes(dir.Path() + "/dl/h/d/a.html"),
              "<a href=\"b.html\">b</a><a href=\"b.html#x\">b</a><img src=\"http://h/i.png\">");
    EXPECT_EQ(Reports(), 1);
}

} // namespace
} // namespace zorone::test
