// Transfers that go wrong in every way a server or the network can make them
// go wrong, crawled end to end by zorone-cli: each such row ends "×", the
// crawl still ends with its report and exit status 3, no spool file stays
// behind, and a good file already on disk is never replaced by a broken body
// or an error page.
#include "tests/support/cli_harness.h"
#include "tests/support/ftp_server.h"
#include "tests/support/loopback_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zorone::test {
namespace {

using namespace std::chrono_literals;

struct Fault {
    const char* name; // also the file name under /site/
    HttpResponse response;
    // What a complete transfer stores; empty when the transfer must fail
    // and leave the old file (or no file) in place.
    std::string stored;
};

std::vector<Fault> Faults()
{
    const std::string big(300000, 'b');
    std::vector<Fault> f;
    auto add = [&f](const char* name, HttpResponse r, std::string stored = {}) {
        f.push_back({ name, std::move(r), std::move(stored) });
    };
    HttpResponse r = HttpResponse::Ok(big);
    r.resetAfter = 20000;
    add("reset.html", r);
    r = HttpResponse::Ok(big);
    r.closeAfter = 20000;
    add("short.html", r);
    r = HttpResponse::Ok(big);
    r.framing = HttpResponse::Framing::Chunked;
    r.closeAfter = 20000;
    add("short-chunked.html", r);
    r = HttpResponse::Ok("never");
    r.stallBeforeHeaders = true;
    add("stall-before.html", r);
    r = HttpResponse::Ok(big);
    r.stallAfterHeaders = true;
    add("stall-after.html", r);
    add("loop.html", HttpResponse::Redirect("/site/loop.html"));
    add("refused.html", HttpResponse::Redirect("http://127.0.0.1:" + std::to_string(UnusedLoopbackPort()) + "/x.html"));
    add("error-empty.html", HttpResponse::Status(500));
    // An error page is no copy of the page.
    add("error-page.html", HttpResponse::Status(500, "<h1>Internal error</h1>"));
    add("not-found.html", HttpResponse::Status(404, "<h1>Not found</h1>"));
    // Spelled with its length: the zero byte of the gzip header must not end
    // the body.
    r = HttpResponse::Ok(std::string("\x1f\x8b\x08\x00garbage that no inflater accepts", 36));
    r.headers.emplace_back("Content-Encoding", "gzip");
    add("bad-gzip.html", r);
    r = HttpResponse::Ok("after the headers");
    for (int i = 0; i < 200; ++i)
        r.headers.emplace_back("X-Filler-" + std::to_string(i), std::string(1000, 'h'));
    // 200 kB of headers is large but well formed: the body is the file.
    add("huge-headers.html", r, "after the headers");
    r = HttpResponse::Ok(big);
    r.dripBytes = 1;
    r.dripInterval = 1000ms;
    add("drip.html", r);
    return f;
}

class TransferFaults : public CliRun {
protected:
    TransferFaults()
    {
        std::string top = "<html>";
        for (const Fault& f : faults) {
            server.Add(std::string("/site/") + f.name, f.response);
            top += std::string("<a href=\"") + f.name + "\">x</a>";
        }
        top += "<a href=\"fine.html\">fine</a></html>";
        server.Add("/site/top.html", HttpResponse::Ok(top));
        server.Add("/site/fine.html", HttpResponse::Ok("fine"));
    }

    std::string Local(const std::string& name) const
    {
        return dl + "/127.0.0.1:" + std::to_string(server.Port()) + "/site/" + name;
    }

    // One crawl of the whole site, checked row by row.
    void CrawlAndCheck(bool oldFiles)
    {
        if (oldFiles)
            for (const Fault& f : faults)
                WriteFileBytes(Local(f.name), std::string("good old ") + f.name);
        const ProcessResult r
            = Crawl({ "--set", "m_nMultiDownloadMax=16", "--set", "m_nOtherSite=0", server.Url("/site/top.html") });
        ASSERT_EQ(r.exitCode, 3) << r.err;
        // One report, counting the rows that arrived.
        int stored = 2;
        for (const Fault& f : faults)
            stored += f.stored.empty() ? 0 : 1;
        EXPECT_EQ(r.out, ReportLine(stored));
        EXPECT_EQ(Leftovers(dl), std::vector<std::string> {});
        EXPECT_EQ(ReadFileBytes(Local("fine.html")), "fine");
        const auto marks = Marks();
        EXPECT_EQ(marks.size(), faults.size() + 2);
        for (const Fault& f : faults) {
            SCOPED_TRACE(f.name);
            EXPECT_EQ(marks.at(server.Url("/site/") + f.name), f.stored.empty() ? kFailedMark : kDoneMark);
            const std::string local = Local(f.name);
            if (!f.stored.empty())
                EXPECT_EQ(ReadFileBytes(local), f.stored);
            else if (oldFiles)
                EXPECT_EQ(ReadFileBytes(local), std::string("good old ") + f.name);
            else
                EXPECT_FALSE(PathExists(local));
        }
    }

    std::vector<Fault> faults = Faults();
    LoopbackHttpServer server;
};

TEST_F(TransferFaults, BrokenTransfersFailWithoutWritingAFile)
{
    CrawlAndCheck(false);
}

TEST_F(TransferFaults, BrokenTransfersLeaveTheOldFileAlone)
{
    CrawlAndCheck(true);
}

TEST_F(CliRun, FtpServersThatRefuseOrDropFailTheirRows)
{
    for (const FtpFault fault : { FtpFault::RefuseLogin, FtpFault::DropData }) {
        SCOPED_TRACE(static_cast<int>(fault));
        std::filesystem::remove_all(dl);
        FtpServer ftp(fault);
        WriteFileBytes(ftp.Root() + "/pub/data.bin", std::string(200000, 'f'));
        const std::string local = dl + "/127.0.0.1:" + std::to_string(ftp.Port()) + "/pub/data.bin";
        WriteFileBytes(local, "good old data");
        const ProcessResult r = Crawl({ ftp.Url("/pub/data.bin") });
        ASSERT_EQ(r.exitCode, 3) << r.err;
        EXPECT_EQ(r.out, ReportLine(0));
        EXPECT_EQ(Marks(), (std::map<std::string, std::string> { { ftp.Url("/pub/data.bin"), kFailedMark } }));
        EXPECT_EQ(ReadFileBytes(local), "good old data");
        EXPECT_EQ(Leftovers(dl), std::vector<std::string> {});
    }
}

} // namespace
} // namespace zorone::test
