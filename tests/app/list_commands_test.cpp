#include "app/list_commands.h"

#include "app/command_ids.h"
#include "platform/headless_loop.h"
#include "platform/headless_ui.h"
#include "res/texts.h"
#include "settings/settings.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace zorone::test {
namespace {

using platform::MbAnswer;

class ListCommands : public ::testing::Test {
protected:
    ListCommands()
        : dlg(loop, ui, nullptr, dir.Path() + "/")
    {
        core().settings = DefaultSettings(dir.Path() + "/");
        dlg.SetQuitHook([this](int code) { quitCodes.push_back(code); });
        dlg.SetSelectionSource([this] { return selection; });
        RegisterListCommands(dlg);
    }

    Core& core() { return dlg.core(); }
    void AddUrl(const std::string& url)
    {
        DownloadItem item;
        item.cols[kColUrl] = url;
        core().list.InsertRow(core().list.GetItemCount(), std::move(item));
    }

    TempDir dir;
    platform::HeadlessLoop loop;
    platform::HeadlessUi ui;
    CZoroneDlg dlg;
    std::vector<int> quitCodes;
    std::vector<int> selection;
};

TEST_F(ListCommands, EveryListCommandIsRouted)
{
    for (int id : { cmd::kExit, cmd::kLoadList, cmd::kSaveList, cmd::kClear, cmd::kClearMenu, cmd::kKeywordSave,
             cmd::kEditItems, cmd::kDeleteItems, cmd::kRemoveDuplicates, cmd::kOpenItems, cmd::kListInfo })
        EXPECT_TRUE(dlg.HasCommand(id)) << id;
}

TEST_F(ListCommands, ExitQuitsWithEighteenAndWritesTheCarryOver)
{
    core().settings.m_bDefaultSave = 1;
    AddUrl("http://h/a");
    dlg.OnCommand(cmd::kExit);
    EXPECT_EQ(quitCodes, (std::vector<int> { kExitCode }));
    EXPECT_EQ(ReadFileBytes(dir / "default.csv"), ",,,,http://h/a\r\n");
}

TEST_F(ListCommands, StayingAfterTheSaveQuestionKeepsTheStatusLineWorking)
{
    core().settings.m_bSaveExit = 1;
    core().m_bListModified = 1;
    AddUrl("http://h/a");
    ui.QueueAnswer(MbAnswer::Cancel);
    dlg.OnCommand(cmd::kExit);
    EXPECT_TRUE(quitCodes.empty());
    EXPECT_EQ(core().m_bClosing, 0);
    dlg.OnCommand(cmd::kClear);
    EXPECT_EQ(core().window.statusText, res::kFullColon + res::kStatusClearDone);
}

TEST_F(ListCommands, DialogCommandsUseTheFrontEndsRunners)
{
    AddUrl("http://h/a.jpg");
    AddUrl("http://h/b.htm");
    selection = { 1 };
    dlg.OnCommand(cmd::kEditItems); // no runner: cancelled
    EXPECT_EQ(core().list.GetItemText(1, kColUrl), "http://h/b.htm");

    ListDialogs dialogs;
    dialogs.itemEdit = [](CItemEditDlg& d) {
        d.m_sURL = "http://h/c.gif";
        return true;
    };
    dialogs.keywordSave = [](CKeywordSaveDlg& d) {
        d.m_bUseURL = 1;
        d.m_sKeyURL = ".jpg";
        return true;
    };
    RegisterListCommands(dlg, dialogs);
    dlg.OnCommand(cmd::kEditItems);
    EXPECT_EQ(core().list.GetItemText(1, kColExtension), "gif");
    ui.QueuePick(dir / "k.lst");
    dlg.OnCommand(cmd::kKeywordSave);
    EXPECT_EQ(ReadFileBytes(dir / "k.lst"), "http://h/a.jpg\r\n");

    selection = { 0 };
    dlg.OnCommand(cmd::kDeleteItems);
    EXPECT_EQ(core().list.GetItemCount(), 1);
}

} // namespace
} // namespace zorone::test
