#include "app/command_ids.h"
#include "app/shell_commands.h"
#include "app/statistics.h"
#include "app/tray_commands.h"
#include "app/zorone_dlg.h"
#include "engine/completion.h"
#include "platform/code_page.h"
#include "platform/headless_loop.h"
#include "platform/headless_ui.h"
#include "res/texts.h"
#include "tests/app/scripted_runner.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

namespace zorone::test {
namespace {

TEST(RankTitle, EveryBoundaryOfTheTable)
{
    struct Case {
        int n;
        const std::string& title;
    };
    const Case cases[] = {
        { INT_MIN, res::kRankUnmeasurable },
        { -1, res::kRankUnmeasurable },
        { 0, res::kRankTester },
        { 99, res::kRankTester },
        { 100, res::kRankBeginner },
        { 999, res::kRankBeginner },
        { 1000, res::kRankOrdinary },
        { 9999, res::kRankOrdinary },
        { 10000, res::kRankRough },
        { 49999, res::kRankRough },
        { 50000, res::kRankManiac },
        { 99999, res::kRankManiac },
        { 100000, res::kRankMasterManiac },
        { 999999, res::kRankMasterManiac },
        { 1000000, res::kRankMaster },
        { 9999999, res::kRankMaster },
        { 10000000, res::kRankGod },
        { 99999999, res::kRankGod },
        { 100000000, res::kRankMonkey },
        { 999999999, res::kRankMonkey },
        { 1000000000, res::kRankUnmeasurable },
        { INT_MAX, res::kRankUnmeasurable },
    };
    for (const Case& c : cases)
        EXPECT_EQ(RankTitle(c.n), c.title) << c.n;
}

class ShellAndTray : public ::testing::Test {
protected:
    ShellAndTray()
        : dlg(loop, ui, nullptr, dir.Path() + "/")
    {
        core.settings = DefaultSettings(dir.Path() + "/");
        core.settings.m_sPath = dir.Path() + "/dl/";
        RegisterShellAndTrayCommands(dlg, runner, [this] { ++menus; });
    }

    void PostTray(std::intptr_t mouse)
    {
        platform::Message m;
        m.id = platform::kWmTrayNotify;
        m.lParam = mouse;
        loop.Post(m);
        loop.DispatchPending();
    }

    TempDir dir;
    platform::HeadlessLoop loop;
    platform::HeadlessUi ui;
    ScriptedRunner runner;
    CZoroneDlg dlg;
    Core& core = dlg.core();
    int menus = 0;
};

TEST_F(ShellAndTray, StatisticsShowsTheCountAndItsRank)
{
    core.settings.m_nTotalDownloadCount = 50000;
    dlg.OnCommand(cmd::kStatistics);
    const auto boxes = ui.CallsOf("MessageBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(platform::Cp932ToUtf8(boxes[0].text), "総ダウンロードファイル数：50000");
    EXPECT_EQ(platform::Cp932ToUtf8(boxes[0].caption), "降ろし屋 クラス：ダウンロードマニア");
}

TEST_F(ShellAndTray, DoubleClickAndCommandToggleTheWindowAndRightPressShowsTheMenu)
{
    PostTray(0x203);
    EXPECT_EQ(core.m_bWindowShown, 0);
    EXPECT_FALSE(ui.windowShown);
    PostTray(0x203);
    EXPECT_EQ(core.m_bWindowShown, 1);
    EXPECT_TRUE(ui.windowShown);
    dlg.OnCommand(cmd::kTrayToggle);
    EXPECT_EQ(core.m_bWindowShown, 0);
    EXPECT_FALSE(ui.windowShown);
    EXPECT_EQ(menus, 0);

    PostTray(0x204);
    EXPECT_EQ(menus, 1);
    for (std::intptr_t other : { 0x200, 0x201, 0x202, 0x205, 0x206 })
        PostTray(other);
    EXPECT_EQ(menus, 1);
    EXPECT_EQ(core.m_bWindowShown, 0);
    EXPECT_EQ(ui.CallsOf("ShowMainWindow").size(), 3u);
}

TEST_F(ShellAndTray, OpensTheTopPageOnlineAndItsLocalCopyOnlyOnceItExists)
{
    core.settings.m_sTopURL = "http://example.org/site/";
    dlg.OnCommand(cmd::kOpenOnlineTop);
    dlg.OnCommand(cmd::kOpenLocalTop); // nothing downloaded yet
    ASSERT_EQ(ui.CallsOf("ShellOpen").size(), 1u);
    EXPECT_EQ(ui.CallsOf("ShellOpen")[0].text, "http://example.org/site/");

    const std::string local = LocalPathOf(core, core.settings.m_sTopURL);
    ASSERT_EQ(local.rfind(core.settings.m_sPath, 0), 0u);
    std::filesystem::create_directories(std::filesystem::path(local).parent_path());
    WriteFileBytes(local, "<html></html>");
    dlg.OnCommand(cmd::kOpenLocalTop);
    ASSERT_EQ(ui.CallsOf("ShellOpen").size(), 2u);
    EXPECT_EQ(ui.CallsOf("ShellOpen")[1].text, local);

    core.settings.m_sTopURL.clear();
    dlg.OnCommand(cmd::kOpenOnlineTop);
    EXPECT_EQ(ui.CallsOf("ShellOpen").size(), 2u);
    EXPECT_TRUE(ui.CallsOf("MessageBox").empty());
}

TEST(HelpPage, FoundBesideTheProgramOrInTheInstalledDocumentation)
{
    TempDir dir;
    std::filesystem::create_directories(dir / "bin");
    std::filesystem::create_directories(dir / "share/doc/zorone");
    const std::string program = dir / "bin/zorone";
    EXPECT_EQ(FindHelpPage(program), "");
    WriteFileBytes(dir / "share/doc/zorone/README.md", "# Zorone\n");
    EXPECT_EQ(FindHelpPage(program), dir / "bin/../share/doc/zorone/README.md");
    WriteFileBytes(dir / "bin/README.md", "# Zorone\n");
    EXPECT_EQ(FindHelpPage(program), dir / "bin/README.md");
    EXPECT_EQ(FindHelpPage("zorone"), "");
}

} // namespace
} // namespace zorone::test
