#include "app/wizard.h"

#include "app/settings_commands.h"
#include "app/zorone_dlg.h"
#include "engine/data_exchange.h"
#include "res/texts.h"
#include "web/dialog_helpers.h"

namespace zorone {
namespace {

using platform::MbAnswer;
using platform::MbButtons;

void Report(Core& core, const std::string& text)
{
    core.ui.MessageBox(text, res::kCaptionReport, MbButtons::Ok);
}

bool AskYes(Core& core, const std::string& text)
{
    return core.ui.MessageBox(text, res::kCaptionQuestion, MbButtons::YesNo) == MbAnswer::Yes;
}

// Both questions end the wizard the same way unless they are answered Yes.
bool GoOnOrEnd(Core& core, const std::string& notChosen, const std::string& question)
{
    Report(core, notChosen);
    if (AskYes(core, question))
        return true;
    Report(core, res::kMsgWizardEnd);
    return false;
}

} // namespace

void RunWizard(CZoroneDlg& dlg, DialogRunner& runner)
{
    Core& core = dlg.core();
    const std::string folder = CSiteUtil::BrowseForFolder(core.ui, core.settings.m_sPath);
    if (!folder.empty())
        core.settings.m_sPath = folder;
    else if (!GoOnOrEnd(core, res::kMsgWizardNoFolder, res::kMsgWizardKeepFolder))
        return;
    WriteFieldsToControls(core);

    if (!AskTopAddress(core, runner) && !GoOnOrEnd(core, res::kMsgWizardNoUrl, res::kMsgWizardKeepUrl))
        return;
    dlg.OnStartButton();
}

} // namespace zorone
