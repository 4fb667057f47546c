#include "app/command_ids.h"
#include "app/window_commands.h"
#include "app/zorone_dlg.h"
#include "platform/headless_loop.h"
#include "platform/headless_ui.h"
#include "res/texts.h"
#include "settings/settings.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace zorone::test {
namespace {

class WindowCommands : public ::testing::Test {
protected:
    WindowCommands()
        : dlg(loop, ui, nullptr, dir.Path() + "/")
    {
        dlg.core().settings = DefaultSettings(dir.Path() + "/");
    }

    TempDir dir;
    platform::HeadlessLoop loop;
    platform::HeadlessUi ui;
    CZoroneDlg dlg;
};

TEST_F(WindowCommands, FolderPickerKeepsTenNewestAndIgnoresTheSameFolder)
{
    Core& core = dlg.core();
    core.settings.m_sPath = "/dl/";
    ui.QueuePick("/dl");
    dlg.OnCommand(cmd::kBrowse);
    EXPECT_EQ(core.window.folderCombo.GetCount(), 0); // the same folder again
    EXPECT_EQ(core.window.statusText, res::kFullColon + res::kStatusFolderPickDone);
    for (int i = 0; i < 11; ++i) {
        ui.QueuePick("/f" + std::to_string(i));
        dlg.OnCommand(i % 2 ? cmd::kBrowse : cmd::kPickFolder);
    }
    EXPECT_EQ(core.settings.m_sPath, "/f10/");
    ASSERT_EQ(core.window.folderCombo.GetCount(), 10);
    EXPECT_EQ(core.window.folderCombo.GetText(0), "/f9/");
    EXPECT_EQ(core.window.folderCombo.GetText(9), "/f0/");
    dlg.OnCommand(cmd::kBrowse); // cancelled: nothing changes
    EXPECT_EQ(core.settings.m_sPath, "/f10/");
}

TEST_F(WindowCommands, SummaryToggleFlipsTwiceBack)
{
    int& shown = dlg.core().settings.m_nDisplayDownloadFileExList;
    shown = 5;
    dlg.OnCommand(cmd::kToggleSummary);
    EXPECT_EQ(shown, 0);
    dlg.OnCommand(cmd::kToggleSummary);
    EXPECT_EQ(shown, 1);
}

TEST_F(WindowCommands, InitLoadsHistoriesAndDestroySavesThem)
{
    WriteFileBytes(dir / "Zorone-m_sTopURL.sav", "http://c/\r\nhttp://a/\r\n\r\nhttp://b/");
    WriteFileBytes(dir / "Zorone-m_sPath.sav", "/z/\r\n/a/");
    dlg.core().settings.m_nTotalDownloadCount = 3;
    OnInitDialog(dlg);
    EXPECT_EQ(dlg.core().window.urlCombo.Items(), (std::vector<std::string> {"http://a/", "http://b/", "http://c/"}));
    EXPECT_EQ(dlg.core().window.folderCombo.Items(), (std::vector<std::string> {"/z/", "/a/"}));
    EXPECT_TRUE(ui.CallsOf("MessageBox").empty()); // no first-run hint
    EXPECT_TRUE(ui.trayPresent);
    EXPECT_EQ(ui.trayTip, res::kTrayTip);

    dlg.core().window.folderCombo.InsertString(0, "/new/");
    OnDestroyWindow(dlg);
    EXPECT_FALSE(ui.trayPresent);
    EXPECT_EQ(ReadFileBytes(dir / "Zorone-m_sPath.sav"), "/new/\r\n/z/\r\n/a/");
    EXPECT_EQ(ReadFileBytes(dir / "Zorone-m_sTopURL.sav"), "http://a/\r\nhttp://b/\r\nhttp://c/");
}

TEST_F(WindowCommands, FirstStartShowsTheHint)
{
    dlg.core().settings.m_nTotalDownloadCount = 0;
    OnInitDialog(dlg);
    ASSERT_EQ(ui.CallsOf("MessageBox").size(), 1u);
    EXPECT_EQ(ui.CallsOf("MessageBox")[0].caption, res::kCaptionUsage);
}

} // namespace
} // namespace zorone::test

namespace zorone::test {
namespace {

TEST_F(WindowCommands, StartButtonTogglesButTheMenuStartIsIgnoredWhileRunning)
{
    Core& core = dlg.core();
    core.settings.m_sPath = dir.Path() + "/dl/";
    core.settings.m_sTopURL = "http://h/a.htm";
    // The button reads the controls first: what the boxes show is crawled.
    core.window.urlCombo.SetEditText("http://h/b.htm");
    core.window.folderCombo.SetEditText(dir.Path() + "/dl/");
    dlg.OnCommand(cmd::kStart);
    EXPECT_EQ(core.m_bRunning, 1);
    ASSERT_EQ(core.list.GetItemCount(), 1);
    EXPECT_EQ(core.list.GetItemText(0, kColUrl), "http://h/b.htm");
    dlg.OnCommand(cmd::kStartMenu); // ignored while running
    EXPECT_EQ(core.list.GetItemCount(), 1);
    dlg.OnCommand(cmd::kStart); // aborts
    EXPECT_EQ(core.m_bRunning, 0);
    EXPECT_EQ(core.window.startCaption, res::kCaptionStart);
    loop.Post({platform::kWmCrawlKick, 0, 0, {}}); // anyone may ask for a dispatch
    loop.DispatchPending();
    EXPECT_EQ(ui.CallsOf("MessageBox").back().text, res::kMsgOpenDownloaded);
}

} // namespace
} // namespace zorone::test
