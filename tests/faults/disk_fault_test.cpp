// Download folders the crawl cannot write to, run by zorone-cli: the crawl
// goes on to its report, the rows that could not be stored end "×" with exit
// status 3, and no file (whole or partial) appears where the write failed. The cases work for root as well, who
// ignores permission bits: they rely on what no one may do.
#include "res/texts.h"
#include "tests/support/cli_harness.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/loopback_http_server.h"

#include <filesystem>

namespace zorone::test {
namespace {

class DiskFaults : public CliRun {
protected:
    DiskFaults()
    {
        server.Add("/site/top.html",
            HttpResponse::Ok(
                "<a href=\"big.html\">big</a><a href=\"" + longName + "\">long</a><a href=\"sub/page.html\">sub</a>"));
        server.Add("/site/big.html", HttpResponse::Ok(std::string(400000, 'B')));
        server.Add("/site/" + longName, HttpResponse::Ok("long"));
        server.Add("/site/sub/page.html", HttpResponse::Ok("sub page"));
    }

    std::string Host() const { return "127.0.0.1:" + std::to_string(server.Port()); }

    // Every row of the site is done but those that could not be stored: the
    // file with the overlong name and the one given.
    void ExpectOnlyFailed(const ProcessResult& r, const std::string& failedPath = {})
    {
        ASSERT_EQ(r.exitCode, 3) << r.err;
        std::set<std::string> failed = { server.Url("/site/" + longName) };
        if (!failedPath.empty())
            failed.insert(server.Url(failedPath));
        EXPECT_EQ(r.out, ReportLine(4 - static_cast<int>(failed.size())));
        const auto marks = Marks();
        EXPECT_EQ(marks.size(), 4u);
        for (const auto& [url, mark] : marks)
            EXPECT_EQ(mark, failed.count(url) ? kFailedMark : kDoneMark) << url;
    }

    // Longer than any file name the file system allows (255 bytes).
    const std::string longName = std::string(300, 'n') + ".html";
    LoopbackHttpServer server;
};

TEST_F(DiskFaults, FolderThatCannotBeCreated)
{
    // Nobody, root included, may create folders in /proc.
    const std::string proc = "/proc/zorone-no-such-folder";
    ProcessResult r = Crawl({ "--path", proc, server.Url("/site/top.html") });
    ASSERT_EQ(r.exitCode, 3) << r.err;
    // Nothing could be stored, so the top page's links were never read.
    EXPECT_EQ(r.out, ReportLine(0));
    EXPECT_FALSE(PathExists(proc));

    // A file where the site's sub folder should be: everything else arrives.
    WriteFileBytes(dl + "/" + Host() + "/site/sub", "a file in the way");
    r = Crawl({ server.Url("/site/top.html") });
    ExpectOnlyFailed(r, "/site/sub/page.html");
    EXPECT_EQ(ReadFileBytes(dl + "/" + Host() + "/site/sub"), "a file in the way");
    EXPECT_EQ(ReadFileBytes(dl + "/" + Host() + "/site/big.html"), std::string(400000, 'B'));
    EXPECT_EQ(Leftovers(dl), std::vector<std::string> {});
}

TEST_F(DiskFaults, FileNameTooLongForTheFileSystem)
{
    const ProcessResult r = Crawl({ server.Url("/site/top.html") });
    ExpectOnlyFailed(r);
    EXPECT_EQ(FilesUnder(dl),
        (std::set<std::string> {
            Host() + "/site/top.html", Host() + "/site/big.html", Host() + "/site/sub/page.html" }));
}

TEST_F(DiskFaults, DiskFullDuringAWrite)
{
    WriteFileBytes(dl + "/" + Host() + "/site/big.html", "good old big");
    ProcessResult r;
    {
        // Inherited by zorone-cli: every write past 100 kB fails as on a
        // full disk.
        FileSizeLimit limit(100000);
        r = Crawl({ server.Url("/site/top.html") });
    }
    ExpectOnlyFailed(r, "/site/big.html");
    EXPECT_EQ(ReadFileBytes(dl + "/" + Host() + "/site/big.html"), "good old big");
    EXPECT_EQ(ReadFileBytes(dl + "/" + Host() + "/site/sub/page.html"), "sub page");
    EXPECT_EQ(Leftovers(dl), std::vector<std::string> {});
}

TEST_F(DiskFaults, SymbolicLinksLeadingOutOfTheDownloadFolder)
{
    // The site's folder is a link to a folder outside the download folder,
    // holding a page the crawl would otherwise take for its own copy, and a
    // file name inside the download folder links outside too.
    const std::string outside = dir / "outside";
    WriteFileBytes(outside + "/top.html", "<a href=\"secret.html\">secret</a>");
    WriteFileBytes(outside + "/private.txt", "private");
    std::filesystem::create_directories(dl + "/" + Host());
    std::filesystem::create_directory_symlink(outside, dl + "/" + Host() + "/site");
    server.Add("/other/top.html", HttpResponse::Ok("<a href=\"big.html\">big</a>"));
    server.Add("/other/big.html", HttpResponse::Ok("new content"));
    std::filesystem::create_directories(dl + "/" + Host() + "/other");
    std::filesystem::create_symlink(outside + "/private.txt", dl + "/" + Host() + "/other/big.html");

    // Each row that would go through such a link fails.
    for (const auto& [top, failed] : { std::pair { "/site/top.html", "/site/top.html" },
             std::pair { "/other/top.html", "/other/big.html" } }) {
        const ProcessResult r = Crawl({ "--set", "m_bDownloadFileExist=1", server.Url(top) });
        EXPECT_EQ(r.exitCode, 3) << r.err;
        EXPECT_EQ(Marks()[server.Url(failed)], res::kMarkCross) << failed;
    }
    EXPECT_EQ(FilesUnder(outside), (std::set<std::string> { "top.html", "private.txt" }));
    EXPECT_EQ(ReadFileBytes(outside + "/top.html"), "<a href=\"secret.html\">secret</a>");
    EXPECT_EQ(ReadFileBytes(outside + "/private.txt"), "private");
    EXPECT_TRUE(std::filesystem::is_symlink(dl + "/" + Host() + "/other/big.html"));
    for (const HttpRequest& request : server.Requests())
        EXPECT_EQ(request.target.find("secret"), std::string::npos) << request.target;
}

} // namespace
} // namespace zorone::test
