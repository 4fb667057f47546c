#include "platform/curl_url_service.h"

#include "platform/code_page.h"
#include "platform/files.h"
#include "platform/headless_loop.h"
#include "tests/support/ftp_server.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/temp_dir.h"
#include "tests/support/tls_server.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <thread>
#include <tuple>

namespace zorone::platform {
namespace {

using namespace std::chrono_literals;
using test::HttpResponse;

// Failure-case waits are bounded by the service's own timeouts; this only
// keeps a broken build from hanging.
constexpr auto kGiveUp = 60s;

struct Recorder final : TransferEvents {
    void OnDataAvailable(std::uint64_t total, unsigned flags) override
    {
        dataAfterStop = dataAfterStop || stops > 0;
        totals.push_back(total);
        flagsSeen.push_back(flags);
    }
    void OnStopBinding(const TransferResult& r) override
    {
        ++stops;
        result = r;
    }

    std::vector<std::uint64_t> totals;
    std::vector<unsigned> flagsSeen;
    int stops = 0;
    bool dataAfterStop = false;
    TransferResult result;
};

// The notification order every user of the service relies on.
void ExpectWellFormed(const Recorder& r)
{
    EXPECT_EQ(r.stops, 1);
    EXPECT_FALSE(r.dataAfterStop);
    for (size_t i = 0; i < r.totals.size(); ++i) {
        EXPECT_EQ(r.flagsSeen[i], i == 0 ? kFirstDataNotification : 0u) << "notification " << i;
        if (i > 0) {
            EXPECT_GT(r.totals[i], r.totals[i - 1]);
        }
    }
    if (!r.totals.empty()) {
        EXPECT_EQ(r.totals.back(), r.result.bytes);
    }
}

std::string BinaryBody(size_t n)
{
    std::string s(n, '\0');
    unsigned x = 12345;
    for (auto& c : s) {
        x = x * 1103515245 + 12345;
        c = static_cast<char>(x >> 16); // zero bytes included
    }
    return s;
}

class CurlUrlServiceTest : public ::testing::Test {
protected:
    static CurlUrlServiceOptions Options(int maxActive = 64)
    {
        CurlUrlServiceOptions o;
        o.stallTime = 2s;
        o.connectTimeout = 5s;
        o.maxActive = maxActive;
        o.useProxyEnvironment = false; // loopback only, whatever the machine's proxy
        return o;
    }

    // Dispatches until every recorder has stopped, then drains what is left
    // so that a second stop or a late data notification would be seen.
    void WaitForStops(const std::vector<Recorder*>& recorders)
    {
        loop.RunUntil(
            [&] {
                for (const Recorder* r : recorders)
                    if (r->stops == 0)
                        return false;
                return true;
            },
            kGiveUp);
        loop.DispatchPending(50ms);
    }

    Recorder Fetch(const std::string& url, const std::string& spool, const std::string& target = {})
    {
        Recorder r;
        service->Open(url, spool, target, &r);
        WaitForStops({ &r });
        ExpectWellFormed(r);
        return r;
    }

    // Fetches into target the way transfers of a crawl do: through a spool
    // file beside it.
    Recorder FetchTo(const std::string& url, const std::string& target)
    {
        return Fetch(url, target + ".part", target);
    }

    HeadlessLoop loop;
    test::TempDir dir;
    test::LoopbackHttpServer server;
    std::unique_ptr<CurlUrlService> service = std::make_unique<CurlUrlService>(loop, Options());
};

TEST_F(CurlUrlServiceTest, BodyArrivesWholeWhateverTheFraming)
{
    const std::string body = BinaryBody(300000);
    const std::pair<const char*, HttpResponse::Framing> cases[] = {
        { "/length", HttpResponse::Framing::ContentLength },
        { "/chunked", HttpResponse::Framing::Chunked },
        { "/close", HttpResponse::Framing::CloseDelimited },
    };
    for (const auto& [path, framing] : cases) {
        SCOPED_TRACE(path);
        HttpResponse response = HttpResponse::Ok(body, "application/octet-stream");
        response.framing = framing;
        response.dripBytes = 100000; // several notifications
        response.dripInterval = 20ms;
        server.Add(path, response);
        // A CP932 folder name ("ダウン") must reach the disk as UTF-8.
        const std::string spool = dir.Path() + "/\x83\x5f\x83\x45\x83\x93" + path + "/file.bin";
        const Recorder r = Fetch(server.Url(path), spool);
        EXPECT_EQ(r.result.code, 0) << r.result.errorText;
        EXPECT_EQ(r.result.httpStatus, 200);
        EXPECT_EQ(r.result.bytes, body.size());
        EXPECT_FALSE(r.totals.empty());
        EXPECT_EQ(test::ReadFileBytes(ToFsPath(spool)), body);
    }
    EXPECT_EQ(service->ActiveCount(), 0);
}

TEST_F(CurlUrlServiceTest, ErrorStatusesStoreNothingAndKeepTheOldFile)
{
    server.Add("/missing.html", HttpResponse::Status(404, "<h1>gone</h1>"));
    server.Add("/broken.html", HttpResponse::Status(500, "<h1>internal error</h1>"));
    server.Add("/moved", HttpResponse::Redirect("/missing.html"));
    // "Not modified" to a request that named no file to compare with.
    server.Add("/unasked304", HttpResponse::Status(304, ""));
    const std::tuple<const char*, long, std::uint64_t> cases[] = { { "/missing.html", 404, 13 },
        { "/broken.html", 500, 23 }, { "/moved", 404, 13 }, { "/unasked304", 304, 0 } };
    for (const auto& [path, status, received] : cases) {
        SCOPED_TRACE(path);
        test::WriteFileBytes(dir / "site/page.html", "good copy");
        const Recorder r = FetchTo(server.Url(path), dir / "site/page.html");
        EXPECT_EQ(r.result.code, 0);
        EXPECT_EQ(r.result.httpStatus, status);
        EXPECT_FALSE(r.result.committed);
        EXPECT_EQ(r.result.bytes, received); // received, not kept
        EXPECT_EQ(test::ReadFileBytes(dir / "site/page.html"), "good copy");
        EXPECT_FALSE(test::PathExists(dir / "site/page.html.part"));
    }
    // Reading the error page off the connection keeps it for the next request.
    EXPECT_LE(server.ConnectionCount(), static_cast<int>(std::size(cases)));
}

TEST_F(CurlUrlServiceTest, EmptyBodyIsAnEmptyFileAndNoAnswerLeavesNothing)
{
    server.Add("/empty.html", HttpResponse::Ok(""));
    const Recorder notFound = FetchTo(server.Url("/nothing-here"), dir / "a/b/c.html");
    EXPECT_EQ(notFound.result.code, 0);
    EXPECT_EQ(notFound.result.httpStatus, 404);
    EXPECT_EQ(notFound.result.bytes, 0u);
    EXPECT_TRUE(notFound.totals.empty());
    EXPECT_FALSE(test::PathExists(dir / "a"));

    const Recorder refused = FetchTo("http://127.0.0.1:" + std::to_string(test::UnusedLoopbackPort()) + "/",
                                     dir / "r/index.html");
    EXPECT_EQ(refused.result.code, 7); // CURLE_COULDNT_CONNECT
    EXPECT_FALSE(test::PathExists(dir / "r"));

    test::WriteFileBytes(dir / "old/empty.html", "previous copy");
    const Recorder empty = FetchTo(server.Url("/empty.html"), dir / "old/empty.html");
    EXPECT_EQ(empty.result.code, 0);
    EXPECT_TRUE(empty.result.committed);
    EXPECT_TRUE(test::PathExists(dir / "old/empty.html"));
    EXPECT_EQ(test::ReadFileBytes(dir / "old/empty.html"), "");
    const Recorder fresh = FetchTo(server.Url("/empty.html"), dir / "new/empty.html");
    EXPECT_TRUE(fresh.result.committed);
    EXPECT_TRUE(test::PathExists(dir / "new/empty.html"));
}

TEST_F(CurlUrlServiceTest, FollowsRedirectsButNotForever)
{
    server.Add("/a", HttpResponse::Redirect("/b"));
    server.Add("/b", HttpResponse::Redirect(server.Url("/c"), 301));
    server.Add("/c", HttpResponse::Ok("final"));
    server.Add("/loop", HttpResponse::Redirect("/loop"));

    const Recorder r = Fetch(server.Url("/a"), dir / "a.html");
    EXPECT_EQ(r.result.code, 0);
    EXPECT_EQ(r.result.httpStatus, 200);
    EXPECT_EQ(test::ReadFileBytes(dir / "a.html"), "final"); // redirect bodies are not stored

    const Recorder loopRedirect = Fetch(server.Url("/loop"), dir / "loop.html");
    EXPECT_NE(loopRedirect.result.code, 0);
    EXPECT_FALSE(test::PathExists(dir / "loop.html"));
}

TEST_F(CurlUrlServiceTest, IdentifiesItselfAndStoresGzipBodiesDecoded)
{
    const std::string text(50000, 'z');
    HttpResponse response = HttpResponse::Ok(text);
    response.gzip = true;
    server.Add("/packed.html", response);

    const Recorder r = Fetch(server.Url("/packed.html"), dir / "packed.html");
    EXPECT_EQ(r.result.code, 0);
    EXPECT_EQ(r.result.bytes, text.size());
    EXPECT_EQ(test::ReadFileBytes(dir / "packed.html"), text);

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Header("User-Agent").rfind("Zorone/3.21", 0), 0u) << requests[0].Header("User-Agent");
    EXPECT_NE(requests[0].Header("Accept-Encoding").find("gzip"), std::string::npos);

    // A compressed file labelled "Content-Encoding: gzip" stays compressed.
    server.Add("/src.tar.gz", response);
    const Recorder archive = FetchTo(server.Url("/src.tar.gz"), dir / "src.tar.gz");
    EXPECT_EQ(archive.result.code, 0);
    const std::string stored = test::ReadFileBytes(dir / "src.tar.gz");
    EXPECT_EQ(stored.substr(0, 2), "\x1f\x8b");
    EXPECT_LT(stored.size(), text.size());
}

TEST_F(CurlUrlServiceTest, HttpsChecksTheCertificateAndTrustsTheNamedBundle)
{
    test::TlsServer tls;
    test::WriteFileBytes(tls.Root() + "/page.html", "over tls");
    const Recorder untrusted = FetchTo(tls.Url("/page.html"), dir / "untrusted.html");
    EXPECT_EQ(untrusted.result.code, 60) /* CURLE_PEER_FAILED_VERIFICATION */ << untrusted.result.errorText;
    EXPECT_FALSE(test::PathExists(dir / "untrusted.html"));

    for (const char* variable : { "CURL_CA_BUNDLE", "SSL_CERT_FILE" }) {
        SCOPED_TRACE(variable);
        ::setenv(variable, tls.CertificateFile().c_str(), 1);
        service = std::make_unique<CurlUrlService>(loop, Options());
        ::unsetenv(variable);
        const Recorder trusted = FetchTo(tls.Url("/page.html"), dir / variable);
        EXPECT_EQ(trusted.result.code, 0) << trusted.result.errorText;
        EXPECT_EQ(trusted.result.httpStatus, 200);
        EXPECT_EQ(test::ReadFileBytes(dir / variable), "over tls");
    }
}

TEST_F(CurlUrlServiceTest, Http2CarriesTransfersOpenedAtOnceOverOneConnection)
{
    test::TlsServer h2(test::TlsProtocol::Http2);
    const int count = 12;
    const auto name = [](int i) { return std::string("p").append(std::to_string(i)).append(".html"); };
    const auto body = [](int i) { return std::string("page ").append(std::to_string(i)); };
    for (int i = 0; i < count; ++i)
        test::WriteFileBytes(h2.Root() + "/" + name(i), body(i));
    CurlUrlServiceOptions options = Options();
    options.caBundle = h2.CertificateFile();
    service = std::make_unique<CurlUrlService>(loop, options);

    std::vector<Recorder> recorders(count);
    std::vector<Recorder*> waiting;
    for (int i = 0; i < count; ++i) {
        service->Open(h2.Url(std::string("/").append(name(i))), dir / name(i) + ".part", dir / name(i), "",
                      &recorders[static_cast<size_t>(i)]);
        waiting.push_back(&recorders[static_cast<size_t>(i)]);
    }
    WaitForStops(waiting);
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(i);
        const Recorder& r = recorders[static_cast<size_t>(i)];
        ExpectWellFormed(r);
        EXPECT_EQ(r.result.code, 0) << r.result.errorText;
        EXPECT_EQ(r.result.httpStatus, 200);
        EXPECT_EQ(test::ReadFileBytes(dir / name(i)), body(i));
    }
    // Asked over the same connection, like any later transfer to the host.
    const Recorder connections = FetchTo(h2.Url("/connections"), dir / "connections");
    EXPECT_EQ(connections.result.code, 0) << connections.result.errorText;
    EXPECT_EQ(test::ReadFileBytes(dir / "connections"), "1");
}

TEST_F(CurlUrlServiceTest, ReusesTheConnectionForLaterTransfersToTheSameHost)
{
    // Twelve transfers one after the other share one connection, whichever
    // worker each one would otherwise have gone to.
    for (int i = 0; i < 12; ++i) {
        const std::string path = std::string("/").append(std::to_string(i));
        server.Add(path, HttpResponse::Ok(path));
        EXPECT_EQ(Fetch(server.Url(path), dir / path).result.code, 0);
    }
    EXPECT_EQ(server.Requests().size(), 12u);
    EXPECT_EQ(server.ConnectionCount(), 1);
}

TEST_F(CurlUrlServiceTest, ARequestWakesAnIdleWorkerAtOnce)
{
    // Idle workers wait up to ten seconds in their poll; a request that
    // failed to wake one would still arrive, only that late.
    server.Add("/a", HttpResponse::Ok("a"));
    for (int i = 0; i < 4; ++i) {
        loop.DispatchPending(100ms);
        Recorder r;
        service->Open(server.Url("/a"), dir / "a.part", dir / "a", "", {}, &r);
        EXPECT_TRUE(loop.RunUntil([&] { return r.stops > 0; }, 3s)) << "request " << i;
    }
}

// Opens one transfer per path at once and waits for all of them.
std::vector<Recorder> FetchAtOnce(CurlUrlService& service, HeadlessLoop& loop, const test::LoopbackHttpServer& server,
                                  const std::vector<std::string>& paths, const OpenOptions& options,
                                  const std::string& spoolFolder)
{
    std::vector<Recorder> recorders(paths.size());
    for (size_t i = 0; i < paths.size(); ++i)
        service.Open(server.Url(paths[i]), spoolFolder + paths[i], "", "", options, &recorders[i]);
    loop.RunUntil(
        [&] {
            return std::all_of(recorders.begin(), recorders.end(), [](const Recorder& r) { return r.stops > 0; });
        },
        kGiveUp);
    return recorders;
}

TEST_F(CurlUrlServiceTest, AHostGetsNoMoreConnectionsThanTransfersRanAtOnceOrItsCapAllows)
{
    const struct {
        int perHostMax;
        std::chrono::milliseconds pause;
        int connections; // at most, over three rounds of six at once
    } cases[] = { { 0, 0ms, 6 }, { 2, 0ms, 2 }, { 1, 20ms, 1 }, { 0, 10ms, 6 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "cap " << c.perHostMax << ", pause " << c.pause.count());
        test::LoopbackHttpServer host;
        std::vector<std::string> paths;
        for (int i = 0; i < 6; ++i) {
            paths.push_back("/slow" + std::to_string(i));
            // Slow answers keep every transfer of a round in flight together.
            HttpResponse r = HttpResponse::Ok("x");
            r.delay = 100ms;
            host.Add(paths.back(), r);
        }
        service = std::make_unique<CurlUrlService>(loop, Options());
        OpenOptions options;
        options.perHostMax = c.perHostMax;
        options.hostPause = c.pause;
        for (int round = 0; round < 3; ++round)
            for (const Recorder& r : FetchAtOnce(*service, loop, host, paths, options, dir.Path()))
                EXPECT_EQ(r.result.code, 0) << r.result.errorText;
        EXPECT_EQ(host.Requests().size(), 18u);
        EXPECT_LE(host.ConnectionCount(), c.connections);
    }
}

TEST_F(CurlUrlServiceTest, ConditionalRequestsLeaveAnUnchangedFileAloneAndStoreAChangedOne)
{
    const std::string target = dir / "page.html";
    const auto serve = [&](const std::string& body, const char* lastModified, const char* etag) {
        HttpResponse r = HttpResponse::Ok(body);
        r.headers = { { "Last-Modified", lastModified }, { "ETag", etag } };
        r.conditional = true;
        server.Add("/page.html", r);
    };
    const auto fetch = [&] {
        Recorder r;
        OpenOptions options;
        options.onlyIfChanged = true;
        service->Open(server.Url("/page.html"), target + ".part", target, "", options, &r);
        WaitForStops({ &r });
        ExpectWellFormed(r);
        return r;
    };
    // The conditional headers come on top of the crawl's own, which a
    // server behind a login needs on every request.
    platform::RequestOptions request;
    request.headers = { "Authorization: Bearer kept" };
    ASSERT_EQ(service->SetRequestOptions(request), "");
    struct stat before {};

    // Without a file there, even an update asks unconditionally. The stored
    // file takes the server's time.
    serve("v1", "Wed, 21 Oct 2015 07:28:00 GMT", "\"one\"");
    const Recorder first = fetch();
    EXPECT_TRUE(first.result.committed);
    EXPECT_EQ(first.result.lastModified, 1445412480);
    EXPECT_EQ(first.result.etag, "\"one\"");
    EXPECT_EQ(server.Requests().back().Header("If-Modified-Since"), "");
    ASSERT_EQ(::stat(target.c_str(), &before), 0);
    EXPECT_EQ(before.st_mtime, 1445412480);
    const bool attributes = !files::ReadAttribute(target, "user.zorone.etag", 64).empty();

    // Unchanged: 304, nothing written, no spool file left.
    const Recorder same = fetch();
    EXPECT_TRUE(same.result.notModified);
    EXPECT_EQ(same.result.httpStatus, 304);
    EXPECT_FALSE(same.result.committed);
    EXPECT_EQ(server.Requests().back().Header("If-Modified-Since"), "Wed, 21 Oct 2015 07:28:00 GMT");
    EXPECT_EQ(server.Requests().back().Header("If-None-Match"), attributes ? "\"one\"" : "");
    EXPECT_EQ(server.Requests().back().Header("Authorization"), "Bearer kept");
    struct stat after {};
    ASSERT_EQ(::stat(target.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mtime, before.st_mtime);
    EXPECT_EQ(test::ReadFileBytes(target), "v1");
    EXPECT_FALSE(test::PathExists(target + ".part"));

    // Changed on the server: the new body replaces the file.
    serve("v2", "Thu, 22 Oct 2015 07:28:00 GMT", "\"two\"");
    const Recorder changed = fetch();
    EXPECT_FALSE(changed.result.notModified);
    EXPECT_TRUE(changed.result.committed);
    EXPECT_EQ(test::ReadFileBytes(target), "v2");
    ASSERT_EQ(::stat(target.c_str(), &after), 0);
    EXPECT_EQ(after.st_mtime, 1445412480 + 86400);

    // A server that ignores the condition and sends a body older than the
    // file: libcurl finds the condition unmet and answers 304 itself; the
    // file stays.
    HttpResponse older = HttpResponse::Ok("v0");
    older.headers = { { "Last-Modified", "Wed, 21 Oct 2015 07:28:00 GMT" } };
    server.Add("/page.html", older);
    const Recorder stale = fetch();
    EXPECT_TRUE(stale.result.notModified);
    EXPECT_FALSE(stale.result.committed);
    EXPECT_EQ(test::ReadFileBytes(target), "v2");
}

TEST_F(CurlUrlServiceTest, NonAsciiAndSpacesArePercentEncodedOnTheWire)
{
    server.Add("/%83e%20st.html", HttpResponse::Ok("ok"));
    const Recorder r = Fetch(server.Url("/\x83"
                                        "e st.html"),
        dir / "t.html");
    EXPECT_EQ(r.result.code, 0);
    EXPECT_EQ(r.result.httpStatus, 200);
}

// Every way a transfer can fail ends in exactly one stop with a nonzero code;
// the cases run at the same time so their notifications interleave.
TEST_F(CurlUrlServiceTest, EveryFailureEndsWithExactlyOneStop)
{
    HttpResponse stallBefore = HttpResponse::Ok("never");
    stallBefore.stallBeforeHeaders = true;
    HttpResponse stallAfter = HttpResponse::Ok("never");
    stallAfter.stallAfterHeaders = true;
    HttpResponse reset = HttpResponse::Ok(BinaryBody(100000));
    reset.resetAfter = 1000;
    HttpResponse shortBody = HttpResponse::Ok(std::string(5000, 's'));
    shortBody.closeAfter = 1000;
    HttpResponse shortChunked = HttpResponse::Ok(std::string(5000, 'c'));
    shortChunked.framing = HttpResponse::Framing::Chunked;
    shortChunked.closeAfter = 1000;
    server.Add("/stall-before", stallBefore);
    server.Add("/stall-after", stallAfter);
    server.Add("/reset", reset);
    server.Add("/short", shortBody);
    server.Add("/short-chunked", shortChunked);
    server.Add("/to-file", HttpResponse::Redirect("file:///etc/hostname"));
    server.Add("/ok", HttpResponse::Ok("ok"));

    const std::pair<const char*, std::string> cases[] = {
        { "refused", "http://127.0.0.1:" + std::to_string(test::UnusedLoopbackPort()) + "/" },
        { "unresolvable", "http://nonexistent.invalid/index.html" },
        { "empty", "" },
        { "no host", "http://" },
        { "garbage", "::not a url::" },
        { "local file", "file:///etc/hostname" },
        { "other scheme", "gopher://127.0.0.1:" + std::to_string(server.Port()) + "/" },
        { "header injection", server.Url("/ok\r\nX-Injected: 1") },
        { "zero byte", server.Url("/ok") + std::string(1, '\0') + "x" },
        { "redirect to file", server.Url("/to-file") },
        { "stall before headers", server.Url("/stall-before") },
        { "stall after headers", server.Url("/stall-after") },
        { "reset mid-body", server.Url("/reset") },
        { "short body", server.Url("/short") },
        { "short chunked body", server.Url("/short-chunked") },
    };
    std::vector<Recorder> recorders(std::size(cases));
    std::vector<Recorder*> waiting;
    for (size_t i = 0; i < std::size(cases); ++i) {
        service->Open(cases[i].second, dir / ("case" + std::to_string(i)) + "/body", "", &recorders[i]);
        waiting.push_back(&recorders[i]);
    }
    WaitForStops(waiting);

    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].first);
        const Recorder& r = recorders[i];
        ExpectWellFormed(r);
        EXPECT_NE(r.result.code, 0);
        EXPECT_FALSE(r.result.errorText.empty());
        const std::string spool = dir / ("case" + std::to_string(i)) + "/body";
        if (r.result.bytes == 0) {
            EXPECT_FALSE(test::PathExists(spool));
        } else {
            EXPECT_EQ(test::ReadFileBytes(spool).size(), r.result.bytes);
        }
    }
    for (const auto& request : server.Requests()) {
        EXPECT_EQ(request.Header("X-Injected"), "");
        EXPECT_NE(request.target, "/ok"); // the zero byte must not cut the URL short
    }
    EXPECT_EQ(service->ActiveCount(), 0);
}

TEST_F(CurlUrlServiceTest, CancelEndsRunningAndQueuedTransfersWithOneStop)
{
    service = std::make_unique<CurlUrlService>(loop, Options(1));
    HttpResponse drip = HttpResponse::Ok(std::string(100000, 'd'));
    drip.dripBytes = 100;
    drip.dripInterval = 200ms;
    server.Add("/drip", drip);
    server.Add("/queued", HttpResponse::Ok("q"));

    Recorder running, queued;
    const auto runningHandle = service->Open(server.Url("/drip"), dir / "drip/body", "", &running);
    const auto queuedHandle = service->Open(server.Url("/queued"), dir / "queued/body", "", &queued);
    EXPECT_NE(runningHandle, 0u);
    EXPECT_NE(runningHandle, queuedHandle);
    EXPECT_EQ(service->ActiveCount(), 2);

    // Only one transfer may run, so the second waits until the first is cancelled.
    service->Cancel(queuedHandle);
    ASSERT_TRUE(loop.RunUntil([&] { return !running.totals.empty(); }, kGiveUp));
    service->Cancel(runningHandle);
    WaitForStops({ &running, &queued });

    for (const Recorder* r : { &running, &queued }) {
        ExpectWellFormed(*r);
        EXPECT_NE(r->result.code, 0);
    }
    EXPECT_GT(running.result.bytes, 0u);
    EXPECT_EQ(test::ReadFileBytes(dir / "drip/body").size(), running.result.bytes);
    EXPECT_FALSE(test::PathExists(dir / "queued"));
    for (const auto& request : server.Requests())
        EXPECT_NE(request.target, "/queued");

    // Cancelling what has already stopped, or was never opened, changes nothing.
    service->Cancel(runningHandle);
    service->Cancel(987654);
    loop.DispatchPending(50ms);
    EXPECT_EQ(running.stops, 1);
    EXPECT_EQ(service->ActiveCount(), 0);
}

TEST_F(CurlUrlServiceTest, ManyTransfersBeyondTheCapAllComplete)
{
    service = std::make_unique<CurlUrlService>(loop, Options(4));
    constexpr int kCount = 20;
    std::vector<Recorder> recorders(kCount);
    std::vector<Recorder*> waiting;
    for (int i = 0; i < kCount; ++i) {
        const std::string path = "/f" + std::to_string(i);
        server.Add(path, HttpResponse::Ok("body of " + path));
        service->Open(server.Url(path), dir / ("out" + path), "", &recorders[static_cast<size_t>(i)]);
        waiting.push_back(&recorders[static_cast<size_t>(i)]);
    }
    EXPECT_EQ(service->ActiveCount(), kCount);
    WaitForStops(waiting);
    for (int i = 0; i < kCount; ++i) {
        SCOPED_TRACE(i);
        ExpectWellFormed(recorders[static_cast<size_t>(i)]);
        EXPECT_EQ(recorders[static_cast<size_t>(i)].result.code, 0);
        EXPECT_EQ(test::ReadFileBytes(dir / ("out/f" + std::to_string(i))), "body of /f" + std::to_string(i));
    }
    EXPECT_EQ(service->ActiveCount(), 0);
    EXPECT_LE(server.ConnectionCount(), 4);
}

TEST_F(CurlUrlServiceTest, SpoolFileThatCannotBeCreatedFailsTheTransfer)
{
    server.Add("/page.html", HttpResponse::Ok("content"));
    test::WriteFileBytes(dir / "blocker", "a file where a folder should be");
    const Recorder r = Fetch(server.Url("/page.html"), dir / "blocker/page.html");
    EXPECT_NE(r.result.code, 0);
    EXPECT_NE(r.result.errorText.find("blocker"), std::string::npos) << r.result.errorText;
    EXPECT_EQ(r.result.bytes, 0u);
}

TEST_F(CurlUrlServiceTest, NothingIsNotifiedOnceTheServiceIsGone)
{
    HttpResponse stall = HttpResponse::Ok("never");
    stall.stallBeforeHeaders = true;
    server.Add("/stall", stall);
    server.Add("/fast", HttpResponse::Ok("fast"));
    Recorder stalled, fast;
    service->Open(server.Url("/stall"), dir / "stall", "", &stalled);
    service->Open(server.Url("/fast"), dir / "fast", "", &fast);
    // Let the fast transfer's notifications reach the queue without running them.
    const auto deadline = std::chrono::steady_clock::now() + kGiveUp;
    while (loop.QueuedCount() < 2 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    ASSERT_GE(loop.QueuedCount(), 2u);

    service.reset();
    loop.DispatchPending();
    EXPECT_EQ(stalled.stops + fast.stops, 0);
    EXPECT_TRUE(fast.totals.empty());
}

TEST(CurlUrlServiceFtp, DownloadsFilesAndReportsMissingOnes)
{
    test::FtpServer ftp;
    const std::string body = BinaryBody(70000);
    test::WriteFileBytes(ftp.Root() + "/pub/data.bin", body);

    HeadlessLoop loop;
    test::TempDir dir;
    CurlUrlServiceOptions options;
    options.useProxyEnvironment = false;
    options.stallTime = 5s;
    CurlUrlService service(loop, options);
    Recorder found, missing;
    service.Open(ftp.Url("/pub/data.bin"), dir / "ftp/data.bin", "", &found);
    service.Open(ftp.Url("/pub/none.bin"), dir / "ftp/none.bin", "", &missing);
    loop.RunUntil([&] { return found.stops > 0 && missing.stops > 0; }, kGiveUp);
    loop.DispatchPending(50ms);

    ExpectWellFormed(found);
    EXPECT_EQ(found.result.code, 0) << found.result.errorText;
    EXPECT_EQ(found.result.httpStatus, 0);
    EXPECT_EQ(test::ReadFileBytes(dir / "ftp/data.bin"), body);
    ExpectWellFormed(missing);
    EXPECT_NE(missing.result.code, 0);
    EXPECT_FALSE(test::PathExists(dir / "ftp/none.bin"));
}

} // namespace
} // namespace zorone::platform
