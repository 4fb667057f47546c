// Sites behind a login, the headers sent, robots.txt and the skipped-links
// file, through zorone-cli against loopback servers.
#include "tests/support/cli_harness.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/python_server.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zorone::test {
namespace {

// Pages under /members/ answer 403 unless the request carries the session
// cookie; /login.html sets it. Every request is logged as "path cookie".
constexpr const char* kLoginSiteScript = R"(
import http.server, sys
log = open(sys.argv[1], "a")
pages = {
    "/login.html": b'<a href="/members/index.html">in</a>',
    "/members/index.html": b'<a href="a.html">a</a><a href="b.txt">b</a>',
    "/members/a.html": b"a",
    "/members/b.txt": b"b",
}
class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass
    def do_GET(self):
        cookie = self.headers.get("Cookie") or ""
        log.write(self.path + " " + cookie + "\n")
        log.flush()
        body = pages.get(self.path)
        status = 200 if body is not None else 404
        if self.path.startswith("/members/") and "session=s3cret" not in cookie:
            status, body = 403, b"login first"
        self.send_response(status)
        if self.path == "/login.html":
            self.send_header("Set-Cookie", "session=s3cret; Path=/")
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body or b"")))
        self.end_headers()
        self.wfile.write(body or b"")
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
)";

class LoginSite : public CliRun {
protected:
    LoginSite()
        : server(kLoginSiteScript, {log}, "the login site")
    {
    }
    std::string Url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(server.Port()) + path;
    }
    void ExpectNoSecretIn(const ProcessResult& r)
    {
        EXPECT_EQ(r.out.find("s3cret"), std::string::npos);
        EXPECT_EQ(r.err.find("s3cret"), std::string::npos);
        EXPECT_EQ(ReadFileBytes(csv).find("s3cret"), std::string::npos);
    }

    std::string log = dir / "requests.log";
    PythonServer server;
};

TEST_F(LoginSite, ACookiesFileLetsEveryPageArrive)
{
    WriteFileBytes(dir / "cookies.txt", "# Netscape HTTP Cookie File\n"
                                        "127.0.0.1\tFALSE\t/\tFALSE\t0\tsession\ts3cret\n");
    const ProcessResult r = Crawl({"--cookies", dir / "cookies.txt", Url("/members/index.html")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const auto marks = Marks();
    EXPECT_EQ(marks.at(Url("/members/a.html")), kDoneMark);
    EXPECT_EQ(marks.at(Url("/members/b.txt")), kDoneMark);
    ExpectNoSecretIn(r);
}

TEST_F(LoginSite, ACookieSetByTheLoginPageIsSentLaterAndSaved)
{
    const ProcessResult r = Crawl({"--save-cookies", dir / "jar.txt", Url("/login.html")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Marks().at(Url("/members/b.txt")), kDoneMark);
    EXPECT_NE(ReadFileBytes(log).find("/members/a.html session=s3cret"), std::string::npos);
    const std::string jar = ReadFileBytes(dir / "jar.txt");
    EXPECT_NE(jar.find("\tsession\ts3cret"), std::string::npos) << jar;
    ExpectNoSecretIn(r);
}

TEST_F(LoginSite, WithoutTheCookieRowsFailAndAMissingCookiesFileStopsEverything)
{
    const ProcessResult denied = Crawl({Url("/members/index.html")});
    EXPECT_EQ(denied.exitCode, 3);
    EXPECT_EQ(Marks().at(Url("/members/index.html")), kFailedMark);

    const std::string before = ReadFileBytes(log);
    const ProcessResult missing = Crawl({"--cookies", dir / "nope.txt", Url("/members/index.html")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("cannot read the cookies file"), std::string::npos) << missing.err;
    EXPECT_EQ(ReadFileBytes(log), before); // nothing was requested
}

class PoliteSite : public CliRun {
protected:
    std::vector<std::string> Paths() const
    {
        std::vector<std::string> paths;
        for (const HttpRequest& r : server.Requests())
            paths.push_back(r.target);
        return paths;
    }
    bool Requested(const std::string& path) const
    {
        const auto paths = Paths();
        return std::find(paths.begin(), paths.end(), path) != paths.end();
    }
    LoopbackHttpServer server;
};

TEST_F(PoliteSite, HeadersAndUserAgentAreSentAndBrokenOnesRefused)
{
    server.Add("/top.html", HttpResponse::Ok("top"));
    const ProcessResult r = Crawl({"--user-agent", "TestAgent/1.0", "--header", "X-Token: abc", "--header",
                                   "Accept-Language: ja", server.Url("/top.html")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].Header("User-Agent"), "TestAgent/1.0");
    EXPECT_EQ(server.Requests()[0].Header("X-Token"), "abc");
    EXPECT_EQ(server.Requests()[0].Header("Accept-Language"), "ja");

    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>> {
             {"--header", "X-Token: abc\r\nX-Evil: 1"}, {"--header", "Bad Name: 1"},
             {"--user-agent", "A\nB"}, {"--robots", "maybe"}}) {
        std::vector<std::string> args = bad;
        args.push_back(server.Url("/top.html"));
        const ProcessResult refused = Crawl(args);
        EXPECT_EQ(refused.exitCode, 2) << bad[1];
    }
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(PoliteSite, RobotsTxtIsReadFirstAndDisallowedPathsAreNeverRequested)
{
    server.Add("/robots.txt", HttpResponse::Ok("User-agent: *\nDisallow: /private/\nAllow: /private/ok.html\n",
                                               "text/plain"));
    server.Add("/top.html", HttpResponse::Ok("<a href=\"private/secret.html\"><a href=\"private/ok.html\">"
                                             "<a href=\"pub.html\">"));
    server.Add("/private/secret.html", HttpResponse::Ok("secret"));
    server.Add("/private/ok.html", HttpResponse::Ok("ok"));
    server.Add("/pub.html", HttpResponse::Ok("pub"));

    const std::string skipped = dir / "skipped.csv";
    const ProcessResult r = Crawl({"--robots", "on", "--skipped", skipped, server.Url("/top.html")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> paths = Paths();
    ASSERT_FALSE(paths.empty());
    EXPECT_EQ(paths.front(), "/robots.txt");
    EXPECT_EQ(std::count(paths.begin(), paths.end(), "/robots.txt"), 1);
    EXPECT_FALSE(Requested("/private/secret.html"));
    EXPECT_TRUE(Requested("/private/ok.html"));
    EXPECT_TRUE(Requested("/pub.html"));
    EXPECT_NE(ReadFileBytes(skipped).find(server.Url("/private/secret.html") + ",robots.txt," +
                                          server.Url("/top.html") + "\r\n"),
              std::string::npos)
        << ReadFileBytes(skipped);
    EXPECT_TRUE(FilesUnder(dl).count("127.0.0.1:" + std::to_string(server.Port()) + "/robots.txt") == 0);
    EXPECT_TRUE(Leftovers(dl).empty());

    // Off by default: robots.txt is neither asked for nor followed.
    const size_t before = server.Requests().size();
    std::filesystem::remove_all(dl);
    EXPECT_EQ(Crawl({server.Url("/top.html")}).exitCode, 0);
    const std::vector<std::string> all = Paths();
    const std::vector<std::string> second(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
    EXPECT_EQ(std::count(second.begin(), second.end(), "/robots.txt"), 0);
    EXPECT_EQ(std::count(second.begin(), second.end(), "/private/secret.html"), 1);
}

TEST_F(PoliteSite, AMissingRobotsTxtRestrictsNothingAndAServerErrorEverything)
{
    server.Add("/top.html", HttpResponse::Ok("<a href=\"a.html\">"));
    server.Add("/a.html", HttpResponse::Ok("a"));
    EXPECT_EQ(Crawl({"--robots", "on", server.Url("/top.html")}).exitCode, 0);
    EXPECT_TRUE(Requested("/a.html"));

    LoopbackHttpServer broken;
    broken.Add("/robots.txt", HttpResponse::Status(503));
    broken.Add("/top.html", HttpResponse::Ok("<a href=\"a.html\">"));
    const ProcessResult r = RunProcess(CliPath(), {"--home", home, "--path", dl, "--robots", "on",
                                                   broken.Url("/top.html")},
                                       {{"ZORONE_TIMEOUT", "2"}, {"no_proxy", "*"}});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(broken.Requests().size(), 1u);
    EXPECT_EQ(broken.Requests()[0].target, "/robots.txt");
    EXPECT_NE(r.out.find("skipped 1 robots.txt\n"), std::string::npos) << r.out;
}

TEST_F(PoliteSite, TheSkippedFileAndCountsGiveEveryReason)
{
    server.Add("/d/top.html", HttpResponse::Ok("<a href=\"http://elsewhere.invalid/x.html\">"
                                               "<a href=\"s1/s2/deep.html\"><a href=\"big.html\">"
                                               "<a href=\"pub.html\"><a href=\"pub.html\"><a href=\"mailto:a@b\">"
                                               "<a href=\"q,&quot;.html\">"));
    server.Add("/d/big.html", HttpResponse::Ok(std::string(4096, 'x')));
    server.Add("/d/pub.html", HttpResponse::Ok("pub"));
    const std::string skipped = dir / "skipped.csv";
    const ProcessResult r = RunProcess(CliPath(),
                                       {"--home", home, "--path", dl, "--set", "m_nKaisouKind=1", "--set",
                                        "m_nKaisou=1", "--set", "m_nBytes=1024", "--skipped", skipped,
                                        server.Url("/d/top.html")},
                                       {{"ZORONE_TIMEOUT", "2"}, {"no_proxy", "*"}});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("skipped 1 outside-site\nskipped 1 too-deep\nskipped 1 duplicate\n"
                         "skipped 1 not-web-scheme\nskipped 1 too-large\nskipped 1 unusable-address\n"),
              std::string::npos)
        << r.out;
    const std::string top = server.Url("/d/top.html");
    EXPECT_EQ(ReadFileBytes(skipped), "url,reason,found_on\r\n"
                                      "http://elsewhere.invalid/x.html,outside-site," + top + "\r\n" +
                                          server.Url("/d/s1/s2/deep.html") + ",too-deep," + top + "\r\n" +
                                          server.Url("/d/pub.html") + ",duplicate," + top + "\r\n" +
                                          "mailto:a@b,not-web-scheme," + top + "\r\n" +
                                          "\"q,&quot;.html\",unusable-address," + top + "\r\n" +
                                          server.Url("/d/big.html") + ",too-large,\r\n");
}

} // namespace
} // namespace zorone::test
