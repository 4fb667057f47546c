#include "app/command_ids.h"
#include "app/shell_commands.h"
#include "app/zorone_dlg.h"
#include "platform/headless_loop.h"
#include "platform/headless_ui.h"
#include "res/texts.h"
#include "tests/app/scripted_runner.h"
#include "tests/support/fake_url_service.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <vector>

namespace zorone::test {
namespace {

using platform::MbAnswer;

class Wizard : public ::testing::Test {
protected:
    Wizard()
        : urls(loop)
        , dlg(loop, ui, &urls, dir.Path() + "/")
    {
        core.settings = DefaultSettings(dir.Path() + "/");
        core.settings.m_sPath = dir.Path() + "/old/";
        core.settings.m_sTopURL = "http://old.example/";
        RegisterShellAndTrayCommands(dlg, runner, {});
    }

    void AddressAnswers(const char* address)
    {
        runner.address = [this, address](CAddressDlg& d) {
            if (!address)
                return false;
            d.controls.SetText(CAddressDlg::kIdAddress, address);
            return d.OnOK(ui);
        };
    }

    // The message boxes shown, as (text, caption) pairs of text names.
    std::vector<std::pair<std::string, std::string>> Boxes() const
    {
        std::vector<std::pair<std::string, std::string>> out;
        for (const auto& c : ui.CallsOf("MessageBox"))
            out.emplace_back(c.text, c.caption);
        return out;
    }
    using Box = std::pair<std::string, std::string>;
    static Box Report(const std::string& t) { return { t, res::kCaptionReport }; }
    static Box Question(const std::string& t) { return { t, res::kCaptionQuestion }; }

    TempDir dir;
    platform::HeadlessLoop loop;
    platform::HeadlessUi ui;
    FakeUrlService urls;
    ScriptedRunner runner;
    CZoroneDlg dlg;
    Core& core = dlg.core();
};

TEST_F(Wizard, FolderAndAddressChosenStartTheCrawl)
{
    ui.QueuePick(dir.Path() + "/new");
    AddressAnswers("http://new.example/");
    dlg.OnCommand(cmd::kWizard);
    EXPECT_EQ(core.settings.m_sPath, dir.Path() + "/new/");
    EXPECT_EQ(core.settings.m_sTopURL, "http://new.example/");
    EXPECT_EQ(core.m_bRunning, 1);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(Wizard, NoFolderButYesKeepsTheCurrentFolder)
{
    ui.QueueAnswer(MbAnswer::Ok); // the report before the question
    ui.QueueAnswer(MbAnswer::Yes);
    AddressAnswers("http://new.example/");
    dlg.OnCommand(cmd::kWizard);
    EXPECT_EQ(core.settings.m_sPath, dir.Path() + "/old/");
    EXPECT_EQ(core.m_bRunning, 1);
    EXPECT_EQ(Boxes(), (std::vector<Box> { Report(res::kMsgWizardNoFolder), Question(res::kMsgWizardKeepFolder) }));
}

TEST_F(Wizard, NoFolderAndNoEndsBeforeTheAddress)
{
    ui.QueueAnswer(MbAnswer::Ok);
    ui.QueueAnswer(MbAnswer::No);
    AddressAnswers("http://new.example/");
    dlg.OnCommand(cmd::kWizard);
    EXPECT_EQ(runner.runs, 0);
    EXPECT_EQ(core.m_bRunning, 0);
    EXPECT_EQ(core.settings.m_sTopURL, "http://old.example/");
    EXPECT_EQ(Boxes(),
        (std::vector<Box> {
            Report(res::kMsgWizardNoFolder), Question(res::kMsgWizardKeepFolder), Report(res::kMsgWizardEnd) }));
}

TEST_F(Wizard, AddressCancelledThenYesStartsWithTheCurrentUrl)
{
    ui.QueuePick(dir.Path() + "/new");
    ui.QueueAnswer(MbAnswer::Ok); // the report before the question
    ui.QueueAnswer(MbAnswer::Yes);
    AddressAnswers(nullptr);
    dlg.OnCommand(cmd::kWizard);
    EXPECT_EQ(core.settings.m_sTopURL, "http://old.example/");
    EXPECT_EQ(core.m_bRunning, 1);
    EXPECT_EQ(Boxes(), (std::vector<Box> { Report(res::kMsgWizardNoUrl), Question(res::kMsgWizardKeepUrl) }));
}

TEST_F(Wizard, AddressCancelledThenNoEndsButKeepsTheChosenFolder)
{
    ui.QueuePick(dir.Path() + "/new");
    AddressAnswers(nullptr);
    dlg.OnCommand(cmd::kWizard);
    EXPECT_EQ(core.settings.m_sPath, dir.Path() + "/new/");
    EXPECT_EQ(core.m_bRunning, 0);
    EXPECT_EQ(Boxes(),
        (std::vector<Box> {
            Report(res::kMsgWizardNoUrl), Question(res::kMsgWizardKeepUrl), Report(res::kMsgWizardEnd) }));
}

TEST_F(Wizard, StartStepStopsARunningCrawl)
{
    ui.QueuePick(dir.Path() + "/new");
    AddressAnswers("http://new.example/");
    dlg.OnCommand(cmd::kWizard);
    ASSERT_EQ(core.m_bRunning, 1);
    ui.QueuePick(dir.Path() + "/other");
    dlg.OnCommand(cmd::kWizard);
    EXPECT_EQ(core.m_bRunning, 0);
}

} // namespace
} // namespace zorone::test
