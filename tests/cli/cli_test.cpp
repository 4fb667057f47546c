// zorone-cli as a black box: exit status, what it prints, what it leaves on
// disk, against a site served on loopback.
#include "tests/support/cli_harness.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/process.h"
#include "tests/support/python_server.h"
#include "tests/support/temp_dir.h"
#include "tests/support/tls_server.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <thread>

namespace zorone::test {
namespace {

class Cli : public ::testing::Test {
protected:
    Cli()
    {
        server.Add("/site/top.html",
            HttpResponse::Ok("<html><a href=\"a.html\">a</a> <img src=\"img/p.gif\">"
                             "<a href=\"sub/b.html\">b</a> <a href=\"http://127.0.0.2:9/x.html\">off</a>"
                             "<a href=\"#top\">top</a></html>"));
        server.Add("/site/a.html", HttpResponse::Ok("<a href=\"top.html\">back</a><a href=\"a.html?x=1\">self</a>"));
        server.Add("/site/sub/b.html", HttpResponse::Ok("<img src=\"../img/p.gif\"><a href=\"c.txt\">c</a>"));
        server.Add("/site/img/p.gif", HttpResponse::Ok("GIF89a", "image/gif"));
        server.Add("/site/sub/c.txt", HttpResponse::Ok("plain", "text/plain"));
    }

    ProcessResult Run(std::vector<std::string> args, std::map<std::string, std::string> env = {})
    {
        env.emplace("ZORONE_TIMEOUT", "3");
        env.emplace("HOME", dir.Path());
        std::vector<std::string> all = { "--home", home };
        all.insert(all.end(), args.begin(), args.end());
        return RunProcess(CliPath(), all, env);
    }

    TempDir dir;
    std::string home = dir / "home";
    std::string dl = dir / "dl";
    LoopbackHttpServer server;
};

TEST_F(Cli, MirrorsASiteWithSeveralTransfers)
{
    for (const char* slots : { "1", "2", "4" }) {
        std::filesystem::remove_all(dl);
        const ProcessResult r = Run({ "--path", dl, "--set", std::string("m_nMultiDownloadMax=") + slots, "--quiet",
            server.Url("/site/top.html") });
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, "報告: 5個のファイルをゾロネしました。\n");
        const std::string host = "127.0.0.1:" + std::to_string(server.Port());
        EXPECT_EQ(FilesUnder(dl),
            (std::set<std::string> { host + "/site/top.html", host + "/site/a.html", host + "/site/img/p.gif",
                host + "/site/sub/b.html", host + "/site/sub/c.txt" }))
            << "slots " << slots;
        EXPECT_EQ(ReadFileBytes(dl + "/" + host + "/site/img/p.gif"), "GIF89a");
    }
}

TEST_F(Cli, TodaysRulesKeepQueriesFetchFoldersAsTheyAreAndReadStyleSheets)
{
    server.Add("/t/", HttpResponse::Ok("<a href=\"list?page=2&amp;s=1\">2</a><link rel=stylesheet href=\"/css/s.css\">"));
    server.Add("/t/list?page=2&s=1", HttpResponse::Ok("<p>2"));
    server.Add("/css/s.css", HttpResponse::Ok("b{background:url(bg.png)}", "text/css"));
    server.Add("/css/bg.png", HttpResponse::Ok("PNG", "image/png"));
    const ProcessResult r = Run({ "--path", dl, "--web", "today", "--quiet", server.Url("/t/") });
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string host = "127.0.0.1:" + std::to_string(server.Port());
    // The record of where each address went sits beside the host folders.
    EXPECT_EQ(FilesUnder(dl), (std::set<std::string> { host + "/t/index.html", host + "/t/list@page=2&s=1.html",
                                  host + "/css/s.css", host + "/css/bg.png", ".zorone-files" }));
    // robots.txt first (today's rules follow it), then one request per file:
    // no index-name guesses, no second fetch.
    ASSERT_EQ(server.Requests().size(), 5u);
    EXPECT_EQ(server.Requests().front().target, "/robots.txt");
    // The classic rules, asked for last, win over the earlier --web.
    std::filesystem::remove_all(dl);
    EXPECT_EQ(Run({ "--path", dl, "--web", "today", "--set", "m_nWebRules=0", "--quiet", server.Url("/t/") }).exitCode, 3);
}

TEST_F(Cli, UsageErrorsDownloadNothing)
{
    for (const std::vector<std::string>& args : { std::vector<std::string> { "--bogus", server.Url("/site/top.html") },
             std::vector<std::string> { "--set", "m_nNoSuchKey=1", server.Url("/site/top.html") },
             std::vector<std::string> { "--set", "novalue", server.Url("/site/top.html") },
             std::vector<std::string> { "--set", "m_nMultiDownloadMax=0", server.Url("/site/top.html") },
             std::vector<std::string> { "--set", "m_nKaisou=-1", server.Url("/site/top.html") },
             std::vector<std::string> { "--set", "m_nBytes=2147483648", server.Url("/site/top.html") },
             std::vector<std::string> { "--set", "m_nOtherSite=-99999999999", server.Url("/site/top.html") },
             std::vector<std::string> { "--web", "sideways", server.Url("/site/top.html") },
             std::vector<std::string> { "--per-host", "-1", server.Url("/site/top.html") },
             std::vector<std::string> { "--wait" },
             std::vector<std::string> { "--path" } }) {
        const ProcessResult r = Run(args);
        EXPECT_EQ(r.exitCode, 2) << args[0];
        EXPECT_NE(r.err.find("zorone-cli:"), std::string::npos);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
    }
    EXPECT_TRUE(server.Requests().empty());
    const ProcessResult range = Run({ "--set", "m_nMultiDownloadMax=0", server.Url("/site/top.html") });
    EXPECT_NE(range.err.find("m_nMultiDownloadMax=0: the value must be an integer in 1..2147483647"),
              std::string::npos)
        << range.err;
    const ProcessResult list = Run({ "--list-settings" });
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 26);
    EXPECT_NE(list.out.find("\nm_nWebRules                  integer  0|1"), std::string::npos) << list.out;
    EXPECT_EQ(list.out.rfind("m_sPath ", 0), 0u);
    EXPECT_NE(list.out.find("\nm_nMultiDownloadMax          integer  1..2147483647   default 1 "), std::string::npos)
        << list.out;
    EXPECT_EQ(Run({ "--help" }).exitCode, 0);
    EXPECT_NE(Run({ "--version" }).out.find("3.21"), std::string::npos);
}

TEST_F(Cli, RefusedStartExitsOneAfterItsMessage)
{
    // Without URL arguments there is no top URL, whatever Zorone.sav says.
    std::filesystem::create_directories(home);
    WriteFileBytes(home + "/Zorone.sav", "m_sTopURL=" + server.Url("/site/top.html") + "\r\n");
    const ProcessResult r = Run({ "--path", dl });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(
        r.err.find("ゾロネ エラー: ホームページのURLを入力、またはリストを読み込んでください。"), std::string::npos);
    const ProcessResult noFolder = Run({ "--set", "m_sPath=", server.Url("/site/top.html") });
    EXPECT_EQ(noFolder.exitCode, 1);
    EXPECT_NE(noFolder.err.find("保存場所を入力してください。"), std::string::npos);
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(Cli, KeepsZoroneSavButCountsTheRun)
{
    std::filesystem::create_directories(home);
    const std::string sav = "m_sPath=" + dl + "/\r\nm_nMultiDownloadMax=2\r\n";
    WriteFileBytes(home + "/Zorone.sav", sav);
    const ProcessResult r
        = Run({ "--set", "m_nKaisouKind=1", "--set", "m_nKaisou=1", "--quiet", server.Url("/site/top.html") });
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ReadFileBytes(home + "/Zorone.sav"), sav);
    EXPECT_FALSE(PathExists(home + "/Zorone-m_sTopURL.sav"));
    EXPECT_FALSE(PathExists(home + "/default.csv"));
    // Relative depth 1 from /site/: sub/b.html is one level down, its
    // neighbours too; nothing deeper exists, so all five arrive.
    EXPECT_EQ(FilesUnder(dl).size(), 5u);
    EXPECT_NE(ReadFileBytes(home + "/zorone.ini").find("m_nTotalDownloadCount=5"), std::string::npos);
    Run({ "--quiet", server.Url("/site/top.html") });
    EXPECT_NE(ReadFileBytes(home + "/zorone.ini").find("m_nTotalDownloadCount=10"), std::string::npos);
}

TEST_F(Cli, StalledServerEndsByTheTimeoutWithTheReport)
{
    HttpResponse stall;
    stall.stallBeforeHeaders = true;
    server.Add("/stall/top.html", stall);
    const ProcessResult r = Run({ "--path", dl, "--quiet", server.Url("/stall/top.html") });
    EXPECT_EQ(r.exitCode, 3) << r.err;
    EXPECT_EQ(r.out, "報告: 0個のファイルをゾロネしました。\n");
    EXPECT_EQ(r.err, ""); // --quiet keeps failures to the exit status
    EXPECT_TRUE(FilesUnder(dl).empty());
}

TEST_F(Cli, NonAsciiDownloadFolderAndPlainProgressLines)
{
    const std::string jp = dir / "ダウンロード先";
    const ProcessResult r = Run({ "--path", jp, server.Url("/site/sub/c.txt") });
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string host = "127.0.0.1:" + std::to_string(server.Port());
    EXPECT_EQ(ReadFileBytes(jp + "/" + host + "/site/sub/c.txt"), "plain");
    // Not a terminal: progress comes as plain lines; there is no page to
    // open in a terminal, so no question about it.
    EXPECT_NE(r.err.find("ゾロネ：完了"), std::string::npos);
    EXPECT_EQ(r.err.find("質問♪"), std::string::npos);
    EXPECT_EQ(r.err.find('\r'), std::string::npos);
}

} // namespace
} // namespace zorone::test

namespace zorone::test {
namespace {

TEST_F(Cli, LoadsListsBeforeAndSavesTheListAfterTheCrawl)
{
    // One row waiting, one already done: only the first is fetched, and the
    // links of the fetched page join the list (an empty top URL puts every
    // link on the site).
    const std::string list = dir / "in.lst";
    WriteFileBytes(list, server.Url("/site/sub/b.html") + "\r\n");
    const std::string done = dir / "done.txt";
    WriteFileBytes(done, "\x81\x9b" + server.Url("/site/a.html") + "\r\n");
    const std::string out = dir / "out.csv";
    const ProcessResult r
        = Run({ "--path", dl, "--set", "m_sTopURL=", "--load", list, "--load", done, "--save", out, "--quiet" });
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "報告: 3個のファイルをゾロネしました。\n");
    const std::string csv = ReadFileBytes(out);
    const std::string host = "127.0.0.1:" + std::to_string(server.Port());
    // Loaded rows keep their file name by the loader's rule; added rows get
    // lower-cased extensions and their sizes.
    EXPECT_NE(csv.find("\x81\x9b,b.html,html,"), std::string::npos) << csv;
    EXPECT_NE(csv.find("\x81\x9b,a.html,html,," + server.Url("/site/a.html") + "\r\n"), std::string::npos) << csv;
    EXPECT_NE(csv.find("\x81\x9b,p.gif,gif,6," + server.Url("/site/img/p.gif") + "\r\n"), std::string::npos) << csv;
    EXPECT_NE(csv.find("\x81\x9b,c.txt,txt,5," + server.Url("/site/sub/c.txt") + "\r\n"), std::string::npos) << csv;
    EXPECT_FALSE(PathExists(dl + "/" + host + "/site/a.html"));
}

TEST_F(Cli, ListFileThatCannotBeReadIsAnError)
{
    ASSERT_EQ(::mkfifo((dir / "fifo.lst").c_str(), 0600), 0);
    // A FIFO without a writer would block for ever and /dev/zero never ends:
    // both are refused at once.
    for (const std::string& list : { dir / "nope.csv", dir / "fifo.lst", std::string("/dev/zero"), dir.Path() }) {
        const ProcessResult r = Run({ "--path", dl, "--load", list, server.Url("/site/top.html") });
        EXPECT_EQ(r.exitCode, 2) << list;
        EXPECT_NE(r.err.find("cannot read list file"), std::string::npos) << list << r.err;
    }
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(Cli, WithoutCp932ConversionItSaysSoAndStops)
{
    // A gconv configuration in which CP932 names a converter that does not
    // exist, as on a system whose gconv modules are missing.
    WriteFileBytes(dir / "gconv/gconv-modules", "alias CP932// NO-SUCH-CHARSET//\n");
    const ProcessResult r = Run({ "--path", dl, server.Url("/site/top.html") }, { { "GCONV_PATH", dir / "gconv" } });
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("CP932"), std::string::npos) << r.err;
    EXPECT_TRUE(server.Requests().empty());
}

} // namespace
} // namespace zorone::test

namespace zorone::test {
namespace {

TEST_F(Cli, CtrlCAbortsLetsTransfersFinishAndASecondCutsThem)
{
    // Two slow pages: the first Ctrl-C stops new work, the second cuts the
    // transfers still dripping; the crawl still ends with its report.
    HttpResponse drip = HttpResponse::Ok(std::string(400, 'x'), "text/plain");
    drip.dripBytes = 1;
    drip.dripInterval = std::chrono::milliseconds(50);
    server.Add("/slow/a.txt", drip);
    server.Add("/slow/b.txt", drip);
    server.Add("/slow/c.txt", drip);
    const std::string list = dir / "slow.lst";
    WriteFileBytes(list,
        server.Url("/slow/a.txt") + "\r\n" + server.Url("/slow/b.txt") + "\r\n" + server.Url("/slow/c.txt") + "\r\n");
    auto interrupt = [](int pid) {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        ::kill(pid, SIGINT);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::kill(pid, SIGINT);
    };
    const ProcessResult r = RunProcess(CliPath(),
        { "--home", home, "--path", dl, "--set", "m_nMultiDownloadMax=2", "--load", list },
        { { "ZORONE_TIMEOUT", "30" }, { "HOME", dir.Path() } }, {}, interrupt);
    EXPECT_EQ(r.exitCode, 130) << r.err;
    // The two cut transfers failed; the third never started.
    EXPECT_EQ(r.out, "報告: 0個のファイルをゾロネしました。\n");
    EXPECT_NE(r.err.find("ゾロネ！：中断"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("完了"), std::string::npos) << r.err;
    EXPECT_TRUE(FilesUnder(dl).empty()); // cut bodies are not kept
    for (const HttpRequest& req : server.Requests())
        EXPECT_NE(req.target, "/slow/c.txt");
}

} // namespace
} // namespace zorone::test

namespace zorone::test {
namespace {

TEST_F(Cli, FailuresAreSaidCrossedAndSetTheExitStatus)
{
    server.Add("/f/top.html",
        HttpResponse::Ok("<a href=\"ok.html\"><a href=\"missing.html\"><a href=\"broken.html\">"
                         "<a href=\"file:///usr/share/doc/x.html\"><a href=\"/site/sub/c.txt\">"
                         "<a href=\"unasked.html\">"));
    server.Add("/f/ok.html", HttpResponse::Ok("ok"));
    server.Add("/f/broken.html", HttpResponse::Status(500, "<h1>error page</h1>"));
    // "Not modified", though nothing was asked conditionally: no body to store.
    server.Add("/f/unasked.html", HttpResponse::Status(304, ""));
    const std::string out = dir / "out.csv";
    const ProcessResult r
        = Run({ "--path", dl, "--set", "m_nOtherSite=1", "--save", out, server.Url("/f/top.html") });
    EXPECT_EQ(r.exitCode, 3) << r.err;
    EXPECT_EQ(r.out, "報告: 3個のファイルをゾロネしました。\nskipped 1 not-web-scheme\n");
    EXPECT_NE(r.err.find("ダウンロード失敗：" + server.Url("/f/missing.html") + " (HTTP 404)\n"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("ダウンロード失敗：" + server.Url("/f/broken.html") + " (HTTP 500)\n"), std::string::npos);
    EXPECT_NE(r.err.find("ダウンロード失敗：" + server.Url("/f/unasked.html") + " (HTTP 304)\n"), std::string::npos);
    const auto marks = MarksByUrl(ReadFileBytes(out));
    EXPECT_EQ(marks.at(server.Url("/f/missing.html")), kFailedMark);
    EXPECT_EQ(marks.at(server.Url("/f/broken.html")), kFailedMark);
    EXPECT_EQ(marks.at(server.Url("/f/unasked.html")), kFailedMark);
    EXPECT_EQ(marks.at(server.Url("/f/ok.html")), kDoneMark);
    // The root-relative link reaches the host's root; the file: link is none.
    EXPECT_EQ(marks.at(server.Url("/site/sub/c.txt")), kDoneMark);
    EXPECT_EQ(marks.size(), 6u);
    const std::string host = "127.0.0.1:" + std::to_string(server.Port());
    EXPECT_EQ(FilesUnder(dl),
        (std::set<std::string> { host + "/f/top.html", host + "/f/ok.html", host + "/site/sub/c.txt" }));
    EXPECT_NE(ReadFileBytes(home + "/zorone.ini").find("m_nTotalDownloadCount=3"), std::string::npos);

    // A list that cannot be saved wins over failed transfers.
    const ProcessResult unsaved = Run({ "--path", dl, "--quiet", "--save", "/proc/zorone.csv",
        server.Url("/f/missing.html") });
    EXPECT_EQ(unsaved.exitCode, 4) << unsaved.err;
}

TEST_F(Cli, EveryTopUrlIsCrawled)
{
    const ProcessResult r = Run({ "--path", dl, "--quiet", server.Url("/site/sub/c.txt"), server.Url("/site/a.html") });
    EXPECT_EQ(r.exitCode, 0) << r.err;
    // a.html leads to the whole site under the second top URL's folder.
    EXPECT_EQ(r.out, "報告: 5個のファイルをゾロネしました。\n");
}

TEST_F(Cli, HttpsSitesAreFetchedOverTlsWithTheirCertificateChecked)
{
    TlsServer tls;
    WriteFileBytes(tls.Root() + "/s/top.html",
        "<a href=\"/s/b.html\"><a href=\"" + tls.Url("/s/c.txt") + "\"><a href=\"../../s/d.txt\">");
    WriteFileBytes(tls.Root() + "/s/b.html", "b");
    WriteFileBytes(tls.Root() + "/s/c.txt", "c");
    WriteFileBytes(tls.Root() + "/s/d.txt", "d");
    const ProcessResult trusted
        = Run({ "--path", dl, "--quiet", tls.Url("/s/top.html") }, { { "CURL_CA_BUNDLE", tls.CertificateFile() } });
    EXPECT_EQ(trusted.exitCode, 0) << trusted.err;
    EXPECT_EQ(trusted.out, "報告: 4個のファイルをゾロネしました。\n");
    const std::string host = "127.0.0.1:" + std::to_string(tls.Port());
    EXPECT_EQ(FilesUnder(dl), (std::set<std::string> { host + "/s/top.html", host + "/s/b.html", host + "/s/c.txt",
                                  host + "/s/d.txt" }));

    std::filesystem::remove_all(dl);
    const ProcessResult untrusted = Run({ "--path", dl, tls.Url("/s/top.html") });
    EXPECT_EQ(untrusted.exitCode, 3);
    EXPECT_NE(untrusted.err.find("ダウンロード失敗：" + tls.Url("/s/top.html") + " ("), std::string::npos);
    EXPECT_TRUE(FilesUnder(dl).empty());
}

} // namespace
} // namespace zorone::test

namespace zorone::test {
namespace {

// Python's http.server on [::1], serving a folder; throws when the machine
// has no IPv6 loopback.
constexpr const char* kIpv6ServerScript = R"(
import functools, http.server, socket, sys
class Server(http.server.ThreadingHTTPServer):
    address_family = socket.AF_INET6
class Handler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass
server = Server(("::1", 0), functools.partial(Handler, directory=sys.argv[1]))
print(server.server_address[1], flush=True)
server.serve_forever()
)";

TEST_F(Cli, Ipv6LiteralTopUrlsAreMirrored)
{
    const std::string root = dir / "v6";
    WriteFileBytes(root + "/d/a.htm", "<a href=\"/d/b.html\">b</a>");
    WriteFileBytes(root + "/d/b.html", "b");
    std::unique_ptr<PythonServer> server6;
    try {
        server6 = std::make_unique<PythonServer>(kIpv6ServerScript, std::vector<std::string> { root }, "the IPv6 server");
    } catch (const std::exception& e) {
        GTEST_SKIP() << e.what();
    }
    const std::string host = "[::1]:" + std::to_string(server6->Port());
    const ProcessResult r = Run({ "--path", dl, "--quiet", "http://" + host + "/d/a.htm" });
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(FilesUnder(dl), (std::set<std::string> { host + "/d/a.htm", host + "/d/b.html" }));
}

} // namespace
} // namespace zorone::test
