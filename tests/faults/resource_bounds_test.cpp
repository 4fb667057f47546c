// Light versions of the resource bounds (bench/resource_bounds.sh runs the
// heavy ones): many more transfers requested than the service runs at once,
// and a page with a great many links.
#include "engine/core.h"
#include "engine/extract_links.h"
#include "platform/headless_loop.h"
#include "platform/headless_ui.h"
#include "tests/support/cli_harness.h"
#include "tests/support/loopback_http_server.h"

namespace zorone::test {
namespace {

TEST_F(CliRun, TwoHundredSlotsStayWithinTheConnectionCap)
{
    LoopbackHttpServer server;
    constexpr int kFiles = 300;
    std::string top;
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = std::string("f").append(std::to_string(i)).append(".txt");
        server.Add("/site/" + name, HttpResponse::Ok("file " + std::to_string(i), "text/plain"));
        top += "<a href=\"" + name + "\">" + name + "</a>\n";
    }
    server.Add("/site/top.html", HttpResponse::Ok(top));
    const ProcessResult r = Crawl({ "--set", "m_nMultiDownloadMax=200", server.Url("/site/top.html") });
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, ReportLine(kFiles + 1));
    EXPECT_EQ(FilesUnder(dl).size(), static_cast<size_t>(kFiles + 1));
    // The service runs at most 64 transfers at once and reuses their
    // connections, so file descriptors stay bounded whatever the setting.
    EXPECT_LE(server.ConnectionCount(), 64);
}

TEST(ResourceBounds, PageWithAHundredThousandLinks)
{
    platform::HeadlessLoop loop;
    platform::HeadlessUi ui;
    Core core(loop, ui, nullptr);
    core.settings = DefaultSettings("/nonexistent/");
    core.settings.m_sTopURL = "http://example.test/top.html";
    constexpr int kLinks = 100000;
    std::string page;
    for (int i = 0; i < kLinks; ++i)
        page += "<a href=\"p" + std::to_string(i % (kLinks / 2)) + ".html\">x</a>";
    ExtractLinks(core, "http://example.test/top.html", page);
    // Every link appears twice: the second is a duplicate.
    EXPECT_EQ(core.list.GetItemCount(), kLinks / 2);
}

} // namespace
} // namespace zorone::test
