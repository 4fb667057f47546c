#include "engine/completion.h"
#include "engine/crawl_control.h"
#include "engine/output.h"
#include "res/texts.h"
#include "tests/engine/engine_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zorone::test {
namespace {

using CrawlControl = EngineTest;

TEST_F(CrawlControl, ThreeSlotsTakeRowsFromTheTopAndEachCompletionStartsOneMore)
{
    core.settings.m_sTopURL.clear();
    core.settings.m_nMultiDownloadMax = 3;
    for (int i = 0; i < 10; ++i)
        LoadRow(res::kMarkWaiting, "http://h/f" + std::to_string(i) + ".bin");
    StartCrawl(core);
    Pump();
    ASSERT_EQ(urls.OpenHandles().size(), 3u);
    EXPECT_EQ(Mark(0), res::kMarkActive);
    EXPECT_EQ(Mark(2), res::kMarkActive);
    EXPECT_EQ(Mark(3), res::kMarkWaiting);
    EXPECT_EQ(core.m_nActiveDownloads, 3);

    urls.Complete(urls.OpenHandles()[0], "abc");
    Pump();
    EXPECT_EQ(Mark(0), res::kMarkDone);
    EXPECT_EQ(Mark(3), res::kMarkActive);
    EXPECT_EQ(urls.OpenHandles().size(), 3u);
    EXPECT_EQ(ReadFileBytes(dir.Path() + "/dl/h/f0.bin"), "abc");

    while (!urls.OpenHandles().empty()) {
        for (auto h : urls.OpenHandles())
            urls.Complete(h, "");
        Pump();
    }
    EXPECT_EQ(core.m_bRunning, 0);
    EXPECT_EQ(core.m_nActiveDownloads, 0);
    EXPECT_EQ(core.m_nCrawlCount, 10);
    EXPECT_EQ(urls.StopsDelivered(), 10);
    EXPECT_EQ(Reports(), 1);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(Mark(i), res::kMarkDone) << i;
    // An empty body is an empty file.
    EXPECT_EQ(ReadFileBytes(dir.Path() + "/dl/h/f5.bin"), "");
}

TEST_F(CrawlControl, EveryMarkButDoneAndActiveIsWaiting)
{
    core.settings.m_sTopURL.clear();
    core.settings.m_nMultiDownloadMax = 10;
    const char* marks[] = { "", "\x81\x7c", "\x81\x5a", "\x81\xa2", "\x81\x7e", "\x81\x9b", "\x81\x9e", "x" };
    for (const char* m : marks) {
        // The empty mark has no second byte to name the file by.
        const std::string mark(m);
        const unsigned char second = mark.size() > 1 ? static_cast<unsigned char>(mark[1]) : 0;
        LoadRow(m,
            std::string("http://h/") + (*m ? "m" : "e") + std::to_string(mark.size()) + std::to_string(second)
                + ".bin");
    }
    StartCrawl(core);
    Pump();
    EXPECT_EQ(urls.Transfers().size(), 6u); // all but "○" and "◇"
    EXPECT_EQ(Mark(5), res::kMarkDone);
    EXPECT_EQ(Mark(6), res::kMarkActive);
}

TEST_F(CrawlControl, AbortLetsTransfersInFlightCompleteAndReportsAfterTheLast)
{
    core.settings.m_sTopURL.clear();
    core.settings.m_nMultiDownloadMax = 2;
    for (int i = 0; i < 5; ++i)
        LoadRow(res::kMarkWaiting, "http://h/" + std::to_string(i) + ".txt");
    StartCrawl(core);
    Pump();
    ASSERT_EQ(urls.OpenHandles().size(), 2u);
    AbortCrawl(core);
    EXPECT_EQ(core.window.statusText, res::kFullColon + res::kStatusDownloadEnded);
    EXPECT_EQ(core.window.startCaption, res::kCaptionStart);
    const auto open = urls.OpenHandles();
    urls.Complete(open[0], "one");
    Pump();
    EXPECT_EQ(Reports(), 0);
    EXPECT_TRUE(urls.OpenHandles().size() == 1); // nothing new started
    urls.Complete(open[1], "two");
    Pump();
    EXPECT_EQ(Reports(), 1);
    EXPECT_EQ(Mark(0), res::kMarkDone);
    EXPECT_EQ(Mark(1), res::kMarkDone);
    EXPECT_EQ(Mark(2), res::kMarkWaiting);
    EXPECT_EQ(core.m_nCrawlCount, 2);
}

TEST_F(CrawlControl, StartRefusesWithoutUrlOrFolder)
{
    core.settings.m_sTopURL.clear();
    StartCrawl(core);
    ASSERT_EQ(ui.CallsOf("MessageBox").size(), 1u);
    EXPECT_EQ(ui.CallsOf("MessageBox")[0].text, res::kMsgEnterUrl);
    EXPECT_EQ(core.m_bRunning, 0);

    core.settings.m_sTopURL = "http://h/a.htm";
    core.settings.m_sPath.clear();
    StartCrawl(core);
    EXPECT_EQ(ui.CallsOf("MessageBox").back().text, res::kMsgEnterFolder);
    EXPECT_EQ(ui.CallsOf("MessageBox").back().caption, res::kCaptionCrawlError);
    EXPECT_EQ(core.m_bRunning, 0);
    EXPECT_EQ(core.list.GetItemCount(), 0);
}

TEST_F(CrawlControl, StartNormalisesFolderAndUrlFieldAndKeepsHistories)
{
    core.settings.m_sPath = dir.Path() + "/dl";
    core.settings.m_sTopURL = "http://h/page.cgi?id=3";
    StartCrawl(core);
    EXPECT_EQ(core.settings.m_sPath, dir.Path() + "/dl/");
    EXPECT_EQ(core.settings.m_sTopURL, "http://h/page.cgi\r\n");
    ASSERT_EQ(core.list.GetItemCount(), 1);
    EXPECT_EQ(Url(0), "http://h/page.cgi");
    EXPECT_EQ(core.window.folderCombo.GetText(0), dir.Path() + "/dl");
    EXPECT_EQ(core.window.urlCombo.GetText(0), "http://h/page.cgi?id=3");
    EXPECT_EQ(core.window.startCaption, res::kCaptionAbort);

    // A one-character folder gets no separator.
    core.m_bRunning = 0;
    core.settings.m_sPath = "C";
    StartCrawl(core);
    EXPECT_EQ(core.settings.m_sPath, "C");
}

TEST_F(CrawlControl, WhatWasTypedIsCrawledAndRemembered)
{
    core.window.urlCombo.AddString("http://h/dir/a.html");
    core.settings.m_sTopURL = "http://h:8080";
    StartCrawl(core);
    EXPECT_EQ(core.window.urlCombo.GetCount(), 2);
    EXPECT_EQ(core.window.urlCombo.GetText(0), "http://h:8080");
    // A bare host is its root folder.
    EXPECT_EQ(core.settings.m_sTopURL, "http://h:8080/");
    ASSERT_EQ(core.list.GetItemCount(), 4);
    EXPECT_EQ(Url(0), "http://h:8080/index.shtml");
}

TEST_F(CrawlControl, HistoryKeepsTenEntriesNewestFirst)
{
    for (int i = 0; i < 12; ++i) {
        core.m_bRunning = 0;
        core.settings.m_sPath = dir.Path() + "/d" + std::to_string(i) + "/";
        StartCrawl(core);
    }
    EXPECT_EQ(core.window.folderCombo.GetCount(), 10);
    EXPECT_EQ(core.window.folderCombo.GetText(0), dir.Path() + "/d11/");
}

TEST_F(CrawlControl, LocalDetectionCompletesASiteOnDiskWithoutTransfers)
{
    WriteFileBytes(dir.Path() + "/dl/h/top.html", "<a href=\"a.html\"><img src=\"p.gif\">");
    WriteFileBytes(dir.Path() + "/dl/h/a.html", "<a href=\"top.html\">back</a>");
    WriteFileBytes(dir.Path() + "/dl/h/p.gif", "GIF");
    core.settings.m_sTopURL = "http://h/top.html";
    core.settings.m_bDownloadFileExist = 1;
    StartCrawl(core);
    Pump();
    EXPECT_TRUE(urls.Transfers().empty());
    EXPECT_EQ(core.list.GetItemCount(), 3);
    EXPECT_EQ(core.m_nCrawlCount, 3);
    EXPECT_EQ(core.m_nLocalChecks, 0);
    EXPECT_EQ(Reports(), 1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Mark(i), res::kMarkDone);
}

TEST_F(CrawlControl, TransferFollowsItsItemWhenRowsMoveOrVanish)
{
    core.settings.m_sTopURL.clear();
    core.settings.m_nMultiDownloadMax = 2;
    LoadRow(res::kMarkWaiting, "http://h/a.bin");
    LoadRow(res::kMarkWaiting, "http://h/b.bin");
    LoadRow(res::kMarkWaiting, "http://h/c.bin");
    StartCrawl(core);
    Pump();
    ASSERT_EQ(urls.OpenHandles().size(), 2u);
    // A priority row at the top moves a.bin to position 1.
    core.list.InsertItem(0, "z");
    urls.Deliver(1, "12345");
    Pump();
    EXPECT_EQ(core.list.GetItemText(1, kColSize), "5");
    EXPECT_EQ(core.list.GetItemText(0, kColSize), "");
    // b.bin's row is deleted while it transfers.
    core.list.DeleteItem(2);
    urls.Complete(2, "bee");
    Pump();
    EXPECT_EQ(ReadFileBytes(dir.Path() + "/dl/h/b.bin"), "bee");
    EXPECT_EQ(core.m_nCrawlCount, 1);
    for (int r = 0; r < core.list.GetItemCount(); ++r)
        EXPECT_NE(Url(r), "http://h/b.bin");
    // The freed slot went to the next waiting row from the top ("z" has no URL).
    EXPECT_EQ(Mark(0), res::kMarkActive);
    urls.Complete(1, "ay");
    Pump();
    EXPECT_EQ(Mark(1), res::kMarkDone);
    EXPECT_EQ(core.list.GetItemText(1, kColSize), "7");
    EXPECT_EQ(ReadFileBytes(dir.Path() + "/dl/h/a.bin"), "12345ay");
}

TEST_F(CrawlControl, DownloadedDeleteRemovesTheCompletedRowNotThePriorityLinks)
{
    core.settings.m_sTopURL = "http://h/top.htm";
    core.settings.m_bDownloadedDelete = 1;
    core.settings.m_nPriorityEx = 1;
    StartCrawl(core);
    Pump();
    ASSERT_EQ(urls.OpenHandles().size(), 1u);
    urls.Complete(1, "<a href=\"x.htm\"><a href=\"y.htm\">");
    Pump();
    // top.htm is gone; y.htm (added last, priority) is on top of x.htm.
    ASSERT_GE(core.list.GetItemCount(), 2);
    for (int r = 0; r < core.list.GetItemCount(); ++r)
        EXPECT_NE(Url(r), "http://h/top.htm");
    EXPECT_EQ(Url(0), "http://h/y.htm");
}

TEST_F(CrawlControl, BrokenBodyFailsAndKeepsTheOldFile)
{
    WriteFileBytes(dir.Path() + "/dl/h/a.txt", "good old copy");
    core.settings.m_sTopURL.clear();
    LoadRow(res::kMarkWaiting, "http://h/a.txt");
    LoadRow(res::kMarkWaiting, "http://h/b.txt");
    StartCrawl(core);
    Pump();
    urls.Deliver(1, "trunc");
    urls.Stop(1, 18); // cut short
    Pump();
    EXPECT_EQ(ReadFileBytes(dir.Path() + "/dl/h/a.txt"), "good old copy");
    EXPECT_EQ(Mark(0), res::kMarkCross);
    EXPECT_EQ(core.list.GetItemText(0, kColSize), "5"); // the bytes received
    urls.Stop(2, 7); // nothing received at all
    Pump();
    EXPECT_FALSE(PathExists(dir.Path() + "/dl/h/b.txt"));
    EXPECT_EQ(Reports(), 1);
    // No spool files are left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path() + "/dl/h"), {}), 1);
}

} // namespace
} // namespace zorone::test

namespace zorone::test {
namespace {

TEST_F(CrawlControl, TopPageLeavesASiteIndexShortcutInTheChosenFolder)
{
    const std::string links = dir.Path() + "/links";
    std::filesystem::create_directories(links);
    core.settings.m_sTopURL = "http://h/dir/top.html";
    core.settings.m_bShortCut = 1;
    core.settings.m_nShortCutKind = 1;
    core.settings.m_sShortCutPath = links; // no trailing separator: one is added
    StartCrawl(core);
    Pump();
    urls.Complete(1, "<a href=\"b.html\">");
    Pump();
    urls.Complete(2, "<p>");
    Pump();
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(links))
        names.push_back(e.path().filename().string());
    ASSERT_EQ(names.size(), 1u); // only the top page, not b.html
    EXPECT_EQ(names[0].size(), std::string("20031224093005_SiteIndex.desktop").size());
    EXPECT_NE(ReadFileBytes(links + "/" + names[0]).find("dir/top.html"), std::string::npos);
}

TEST_F(CrawlControl, NoShortcutWhenSwitchedOffOrForAFolderTopUrl)
{
    const std::string links = dir.Path() + "/links";
    std::filesystem::create_directories(links);
    core.settings.m_sTopURL = "http://h/dir/";
    core.settings.m_bShortCut = 1;
    core.settings.m_nShortCutKind = 2; // any kind but 0 means the folder
    core.settings.m_sShortCutPath = links + "/";
    StartCrawl(core);
    Pump();
    while (!urls.OpenHandles().empty()) {
        for (auto h : urls.OpenHandles())
            urls.Complete(h, "x");
        Pump();
    }
    EXPECT_TRUE(std::filesystem::is_empty(links));
}

} // namespace
} // namespace zorone::test
