#include "engine/completion.h"
#include "engine/crawl_control.h"
#include "engine/output.h"
#include "res/texts.h"
#include "tests/engine/engine_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zorone::test {
namespace {

using Completion = EngineTest;

TEST_F(Completion, AnalysisStopsAtTheByteLimitInclusive)
{
    core.settings.m_sTopURL.clear();
    core.settings.m_nBytes = 307200;
    core.settings.m_nMultiDownloadMax = 2;
    LoadRow(res::kMarkWaiting, "http://h/fits.html");
    LoadRow(res::kMarkWaiting, "http://h/big.html");
    StartCrawl(core);
    Pump();
    std::string fits = "<a href=\"from-fits.gif\">";
    fits.resize(307200, ' ');
    std::string big = "<a href=\"from-big.gif\">";
    big.resize(307201, ' ');
    urls.Complete(1, fits);
    urls.Complete(2, big);
    Pump();
    EXPECT_TRUE(core.list.ContainsUrl("http://h/from-fits.gif"));
    EXPECT_FALSE(core.list.ContainsUrl("http://h/from-big.gif"));
}

TEST_F(Completion, BodiesAreStoredWholeAndAnEmptyBodyIsAnEmptyFile)
{
    WriteFileBytes(dir.Path() + "/dl/h/empty.bin", "old");
    core.settings.m_sTopURL.clear();
    core.settings.m_nMultiDownloadMax = 2;
    LoadRow(res::kMarkWaiting, "http://h/empty.bin");
    LoadRow(res::kMarkWaiting, "http://h/zeros.bin");
    StartCrawl(core);
    Pump();
    urls.Complete(1, "");
    const std::string zeros("a\0b\0\0c", 6);
    urls.Deliver(2, std::string(40000, 'x'));
    Pump();
    EXPECT_EQ(core.list.GetItemText(1, kColSize), "40000");
    urls.Deliver(2, zeros);
    urls.Stop(2);
    Pump();
    EXPECT_EQ(ReadFileBytes(dir.Path() + "/dl/h/empty.bin"), "");
    EXPECT_EQ(ReadFileBytes(dir.Path() + "/dl/h/zeros.bin"), std::string(40000, 'x') + zeros);
    EXPECT_EQ(core.list.GetItemText(1, kColSize), "40006");
    EXPECT_EQ(Mark(0), res::kMarkDone);
    EXPECT_EQ(Mark(1), res::kMarkDone);
}

TEST_F(Completion, FailedTransfersEndCrossedAndCountForNothing)
{
    WriteFileBytes(dir.Path() + "/dl/h/dir/index.html", "<a href=\"old-link.htm\">");
    core.settings.m_sTopURL = "http://h/dir/";
    core.settings.m_bDownloadedDelete = 1;
    core.settings.m_nTotalDownloadCount = 5;
    core.settings.m_nMultiDownloadMax = 4;
    StartCrawl(core);
    Pump();
    ui.QueueAnswer(platform::MbAnswer::Ok);
    ui.QueueAnswer(platform::MbAnswer::Yes);
    // Host not found; 404 with an error page; 500; a body that was not stored.
    ASSERT_EQ(urls.OpenHandles().size(), 4u);
    urls.Stop(1, 7);
    urls.Deliver(2, "<a href=\"from-error-page.htm\">");
    urls.Stop(2, 0, 404);
    urls.Stop(3, 0, 500);
    urls.Deliver(4, "body");
    Pump();
    // The fourth body vanishes before the stop: it cannot be put in place.
    std::filesystem::remove(urls.Find(4)->spoolPath);
    urls.Stop(4);
    Pump();

    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Mark(i), res::kMarkCross) << i; // not removed, not picked again
    EXPECT_EQ(urls.Transfers().size(), 4u);
    EXPECT_EQ(core.m_nCrawlCount, 0);
    EXPECT_EQ(core.m_nFailedCount, 4);
    EXPECT_EQ(core.settings.m_nTotalDownloadCount, 5);
    EXPECT_FALSE(core.list.ContainsUrl("http://h/dir/from-error-page.htm"));
    EXPECT_FALSE(core.list.ContainsUrl("http://h/dir/old-link.htm"));
    EXPECT_EQ(ReadFileBytes(dir.Path() + "/dl/h/dir/index.html"), "<a href=\"old-link.htm\">");
    EXPECT_EQ(core.m_sSummary.substr(0, 10), "total:0/4 ");
    const auto boxes = ui.CallsOf("MessageBox");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text,
        std::string("0").append(res::kMsgCrawlReport, 2).append("\n4").append(res::kMsgCrawlFailures, 2));
    EXPECT_EQ(boxes[1].text, res::kMsgOpenDownloaded);
    // A folder top URL offers a path ending in the folder's own name.
    ASSERT_EQ(ui.CallsOf("ShellOpen").size(), 1u);
    EXPECT_EQ(ui.CallsOf("ShellOpen")[0].text, dir.Path() + "/dl/h/dir/dir");

    // The next crawl picks the crossed rows again.
    StartCrawl(core);
    Pump();
    EXPECT_EQ(urls.OpenHandles().size(), 4u);
}

TEST_F(Completion, CountersIncludeLocalDetectionsAndTheLifetimeTotal)
{
    WriteFileBytes(dir.Path() + "/dl/h/a.txt", "on disk");
    core.settings.m_sTopURL.clear();
    core.settings.m_bDownloadFileExist = 1;
    core.settings.m_nTotalDownloadCount = 10;
    LoadRow(res::kMarkWaiting, "http://h/a.txt");
    LoadRow(res::kMarkWaiting, "http://h/b.txt");
    StartCrawl(core);
    Pump();
    urls.Complete(1, "fetched");
    Pump();
    EXPECT_EQ(core.m_nCrawlCount, 2);
    EXPECT_EQ(core.settings.m_nTotalDownloadCount, 12);
    EXPECT_EQ(core.tally.At(0).extension, "txt");
    EXPECT_EQ(core.tally.At(0).downloaded, 2);
    EXPECT_EQ(core.tally.At(0).listed, 1); // first met at completion: 1/1; later ones add to done only
    EXPECT_EQ(core.m_bListModified, 1);
}

TEST_F(Completion, ACrawlThatAddsNothingReportsZero)
{
    // A depth kind with no meaning refuses every URL.
    core.settings.m_sTopURL = "http://a/x.htm\r\nhttp://b/y.htm";
    core.settings.m_nKaisouKind = 3;
    StartCrawl(core);
    Pump();
    EXPECT_EQ(core.list.GetItemCount(), 0);
    ASSERT_EQ(Reports(), 1);
    // The report goes on to say why nothing was listed.
    EXPECT_EQ(ui.CallsOf("MessageBox")[0].text, std::string("0").append(res::kMsgCrawlReport, 2) + "\n" +
                                                     res::kMsgSkippedHead + "\n" + "\x81\x40" + res::kSkipTooDeep +
                                                     res::kFullColon + "2" + "\x8c\x8f");
    EXPECT_EQ(core.m_sSummary, "total:0/0 ( 0/ 1)");
    EXPECT_EQ(core.m_bRunning, 0);
}

TEST_F(Completion, UpdateModeAsksAboutFilesOnDiskAndCountsUnchangedOnesAsUpToDate)
{
    const std::string page = dir.Path() + "/dl/h/a.htm";
    WriteFileBytes(page, "<a href=\"b.txt\">b</a>");
    core.settings.m_sTopURL.clear();
    core.settings.m_bUpdateExisting = 1;
    // Update mode wins over taking a file on disk as it is.
    core.settings.m_bDownloadFileExist = 1;
    core.settings.m_nPerHostMax = 2;
    core.settings.m_nHostWaitMs = 30;
    core.settings.m_nTotalDownloadCount = 10;
    LoadRow(res::kMarkWaiting, "http://h/a.htm");
    StartCrawl(core);
    Pump();
    ASSERT_EQ(urls.OpenHandles().size(), 1u);
    const platform::OpenOptions& asked = urls.Transfers()[0].options;
    EXPECT_TRUE(asked.onlyIfChanged);
    EXPECT_EQ(asked.perHostMax, 2);
    EXPECT_EQ(asked.hostPause.count(), 30);

    urls.StopNotModified(1);
    Pump();
    // The stored page is read for links as a page found on disk is; the new
    // row is fetched, the page itself stays as it was.
    EXPECT_EQ(Mark(0), res::kMarkDone);
    EXPECT_EQ(ReadFileBytes(page), "<a href=\"b.txt\">b</a>");
    ASSERT_EQ(core.list.GetItemCount(), 2);
    EXPECT_EQ(Url(1), "http://h/b.txt");
    ASSERT_EQ(urls.OpenHandles().size(), 1u);
    urls.Complete(2, "new");
    Pump();

    EXPECT_EQ(core.m_nUpToDateCount, 1);
    EXPECT_EQ(core.m_nCrawlCount, 1);
    EXPECT_EQ(core.settings.m_nTotalDownloadCount, 11);
    EXPECT_EQ(SumTally(core).done, 2);
    ASSERT_EQ(Reports(), 1);
    EXPECT_EQ(ui.CallsOf("MessageBox")[0].text,
        std::string("1").append(res::kMsgCrawlReport, 2).append("\n1").append(res::kMsgCrawlUpToDate, 2));
}

} // namespace
} // namespace zorone::test
