#include "app/command_ids.h"
#include "app/settings_commands.h"
#include "app/zorone_dlg.h"
#include "platform/headless_loop.h"
#include "platform/headless_ui.h"
#include "res/texts.h"
#include "settings/setting_fields.h"
#include "tests/app/scripted_runner.h"

#include <gtest/gtest.h>

namespace zorone::test {
namespace {

class SettingsCommands : public ::testing::Test {
protected:
    SettingsCommands()
        : dlg(loop, ui, nullptr, "/prog/")
    {
        core.settings = DefaultSettings("/prog/");
        core.settings.m_sShortCutPath = "/links/";
        RegisterSettingsCommands(dlg, runner);
    }

    // The settings that differ between a and b, by key.
    static std::vector<std::string_view> Differences(const Settings& a, const Settings& b)
    {
        std::vector<std::string_view> keys;
        for (const SettingField& f : SettingFields()) {
            const bool same = f.type == SettingType::Text ? a.*f.text == b.*f.text : a.*f.number == b.*f.number;
            if (!same)
                keys.push_back(f.key);
        }
        return keys;
    }

    platform::HeadlessLoop loop;
    platform::HeadlessUi ui;
    ScriptedRunner runner;
    CZoroneDlg dlg;
    Core& core = dlg.core();
};

TEST_F(SettingsCommands, CancelChangesNothingEvenAfterButtonsAndPickers)
{
    runner.action = [](CActionSettingDlg& d) {
        d.controls.SetState(CActionSettingDlg::kIdPriority, 2);
        d.controls.SetText(CActionSettingDlg::kIdMultiDownloadMax, "8");
        d.ReadControls();
        return false;
    };
    runner.item = [](CItemSettingDlg& d) {
        d.controls.SetState(CItemSettingDlg::kIdDownloadedDelete, 1);
        d.ReadControls();
        return false;
    };
    runner.analysis = [](CAnalysisSettingDlg& d) {
        d.m_sAnalsysFileEx = std::string("x");
        d.m_sAnalsysTag = std::string("y");
        d.OnDefaultFileEx();
        d.OnDefaultTag();
        d.controls.SetText(CAnalysisSettingDlg::kIdKBytes, "1");
        d.ReadControls();
        return false;
    };
    runner.shortcut = [this](CShortcutSettingDlg& d) {
        d.controls.SetState(CShortcutSettingDlg::kIdShortCut, 1);
        d.OnClickChoice();
        ui.QueuePick("/elsewhere");
        d.OnBrowse(ui);
        d.OnHelp(ui);
        return false;
    };
    runner.address = [](CAddressDlg& d) {
        d.controls.SetText(CAddressDlg::kIdAddress, "http://other/");
        d.ReadControls();
        return false;
    };
    Settings before = core.settings;
    before.m_sAnalsysFileEx = core.settings.m_sAnalsysFileEx = "txt";
    before.m_sAnalsysTag = core.settings.m_sAnalsysTag = "data";
    for (int id : { cmd::kSettingsAction, cmd::kSettingsItem, cmd::kSettingsAnalysis, cmd::kSettingsShortcut,
             cmd::kAddress, cmd::kManual }) {
        ASSERT_TRUE(dlg.OnCommand(id)) << id;
        EXPECT_TRUE(Differences(before, core.settings).empty()) << id;
    }
    EXPECT_EQ(runner.runs, 6);
}

TEST_F(SettingsCommands, OkCopiesBackAndOnlyTheAnalysisDialogRewritesTheControls)
{
    core.settings.m_sTopURL = "http://top/";
    core.settings.m_nBytes = 1500;
    core.window.urlCombo.SetEditText("http://typed/");
    runner.action = [this](CActionSettingDlg& d) {
        d.controls.SetText(CActionSettingDlg::kIdKaisou, "2");
        d.controls.SetState(CActionSettingDlg::kIdOtherSite, 2);
        return d.OnOK(ui);
    };
    dlg.OnCommand(cmd::kSettingsAction);
    EXPECT_EQ(core.settings.m_nKaisou, 2);
    EXPECT_EQ(core.settings.m_nOtherSite, 2);
    EXPECT_EQ(core.window.urlCombo.EditText(), "http://typed/");

    // Confirmed unchanged: the byte count comes back as whole kilobytes, and
    // the URL typed but not yet read gives way to m_sTopURL.
    runner.analysis = [this](CAnalysisSettingDlg& d) { return d.OnOK(ui); };
    dlg.OnCommand(cmd::kSettingsAnalysis);
    EXPECT_EQ(core.settings.m_nBytes, 1024);
    EXPECT_EQ(core.window.urlCombo.EditText(), "http://top/");
}

TEST_F(SettingsCommands, AFieldWithoutIntegerIsRefusedUntilTheUserFixesIt)
{
    runner.action = [this](CActionSettingDlg& d) {
        d.controls.SetText(CActionSettingDlg::kIdMultiDownloadMax, "3x");
        if (d.OnOK(ui))
            return true;
        EXPECT_EQ(d.FocusControl(), CActionSettingDlg::kIdMultiDownloadMax);
        d.controls.SetText(CActionSettingDlg::kIdMultiDownloadMax, "3");
        return d.OnOK(ui);
    };
    dlg.OnCommand(cmd::kSettingsAction);
    EXPECT_EQ(core.settings.m_nMultiDownloadMax, 3);
    const auto boxes = ui.CallsOf("MessageBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, res::kMsgEnterInteger);
}

TEST_F(SettingsCommands, AddressStartsEmptyAndAnEmptyAnswerEmptiesTheTopUrl)
{
    core.settings.m_sTopURL = "http://top/";
    std::string shown = "unset";
    runner.address = [&](CAddressDlg& d) {
        shown = d.controls.Text(CAddressDlg::kIdAddress);
        return d.OnOK(ui);
    };
    dlg.OnCommand(cmd::kAddress);
    EXPECT_EQ(shown, "");
    EXPECT_EQ(core.settings.m_sTopURL, "");
    EXPECT_EQ(core.window.urlCombo.EditText(), "");

    runner.address = [this](CAddressDlg& d) {
        d.controls.SetText(CAddressDlg::kIdAddress, "http://new/a.htm");
        return d.OnOK(ui);
    };
    dlg.OnCommand(cmd::kAddress);
    EXPECT_EQ(core.settings.m_sTopURL, "http://new/a.htm");
    EXPECT_EQ(core.window.urlCombo.EditText(), "http://new/a.htm");
}

} // namespace
} // namespace zorone::test
