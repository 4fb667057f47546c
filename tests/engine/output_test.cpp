#include "engine/output.h"
#include "res/texts.h"
#include "tests/engine/engine_fixture.h"

#include <gtest/gtest.h>

namespace zorone::test {
namespace {

using Output = EngineTest;

TEST_F(Output, SummaryTitleAndTipFollowTheTallyAndSlots)
{
    core.settings.m_nMultiDownloadMax = 3;
    core.m_nActiveDownloads = 2;
    auto tally = [&](const std::string& ext, int done, int listed) {
        for (int i = 0; i < listed; ++i)
            core.tally.TallyListed(ext);
        for (int i = 0; i < done; ++i)
            core.tally.TallyDownloaded(ext);
    };
    tally("html", 5, 9);
    tally("gif", 7, 30);
    tally("jpg", 0, 1);
    tally("", 4, 4); // no extension: never shown nor summed
    UpdateSummary(core);
    EXPECT_EQ(core.m_sSummary, "total:12/40 ( 2/ 3)\r\nhtml:5/9\r\ngif:7/30\r\njpg:0/1");
    EXPECT_EQ(core.window.summaryText, core.m_sSummary);
    EXPECT_EQ(core.window.title, res::kTitlePrefix + "12/40 ( 2/ 3)");
    EXPECT_EQ(core.window.trayTip, core.window.title);
}

TEST_F(Output, EmptyTallyReadsTotalZero)
{
    core.settings.m_nMultiDownloadMax = 1;
    UpdateSummary(core);
    EXPECT_EQ(core.m_sSummary, "total:0/0 ( 0/ 1)");
}

TEST_F(Output, TipIsCutTo63BytesAndIconsStepInTheirOddOrder)
{
    UpdateTrayAndTitle(core, std::string(80, 'x'));
    EXPECT_EQ(core.window.trayTip.size(), 63u);
    EXPECT_EQ(core.window.title.size(), 80u);
    EXPECT_EQ(core.window.trayIcon, 143); // step 1
    std::vector<int> icons;
    for (int i = 0; i < 5; ++i) {
        UpdateTrayAndTitle(core, "t");
        icons.push_back(core.window.trayIcon);
    }
    EXPECT_EQ(icons, (std::vector<int> {144, 146, 145, 142, 143}));
    // The 100th update wraps the step to 0: the icons go on without a jump.
    while (core.iconStep != 99)
        UpdateTrayAndTitle(core, "t");
    UpdateTrayAndTitle(core, "t");
    EXPECT_EQ(core.iconStep, 0);
    EXPECT_EQ(core.window.trayIcon, 142);
}

TEST_F(Output, StatusLineAndProgressFreezeOnceClosingButSummaryGoesOn)
{
    EXPECT_EQ(SetStatusText(core, ""), 1);
    EXPECT_EQ(core.window.statusText, "");
    SetStatusText(core, "abc");
    EXPECT_EQ(core.window.statusText, res::kFullColon + "abc");
    SetProgressRange(core, 0, 10);
    SetProgressPos(core, 4);
    core.m_bClosing = 1;
    EXPECT_EQ(SetStatusText(core, "later"), 0);
    SetProgressRange(core, 0, 99);
    SetProgressPos(core, 7);
    EXPECT_EQ(core.window.statusText, res::kFullColon + "abc");
    EXPECT_EQ(core.window.progressHigh, 10);
    EXPECT_EQ(core.window.progressPos, 4);
    core.tally.TallyListed("htm");
    UpdateSummary(core);
    EXPECT_NE(core.window.title.find("0/1"), std::string::npos);
}

TEST_F(Output, WritingFieldsKeepsTheValueRatherThanALongerHistoryEntry)
{
    core.window.urlCombo.AddString("http://host/dir/a.html");
    core.settings.m_sTopURL = "http://host/";
    SetStatusText(core, "x");
    EXPECT_EQ(core.window.urlCombo.EditText(), "http://host/");
    core.settings.m_sTopURL = "http://other/";
    SetStatusText(core, "x");
    EXPECT_EQ(core.window.urlCombo.EditText(), "http://other/");
}

} // namespace
} // namespace zorone::test
