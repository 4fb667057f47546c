#include "app/shell_commands.h"

#include "app/command_ids.h"
#include "app/statistics.h"
#include "app/tray_commands.h"
#include "app/wizard.h"
#include "app/zorone_dlg.h"
#include "engine/completion.h"
#include "platform/files.h"

namespace zorone {

void OpenLocalTopPage(Core& core)
{
    const std::string local = LocalPathOf(core, core.settings.m_sTopURL);
    const platform::files::Status status = platform::files::GetStatus(local);
    if (status.exists && !status.isDirectory)
        core.ui.ShellOpen(local);
}

void OpenOnlineTopPage(Core& core)
{
    if (!core.settings.m_sTopURL.empty())
        core.ui.ShellOpen(core.settings.m_sTopURL);
}

std::string FindHelpPage(const std::string& executablePath)
{
    const size_t slash = executablePath.find_last_of('/');
    if (slash == std::string::npos)
        return {};
    const std::string folder = executablePath.substr(0, slash + 1);
    for (const std::string& candidate : { folder + "README.md", folder + "../share/doc/zorone/README.md" }) {
        const platform::files::Status status = platform::files::GetStatus(candidate);
        if (status.exists && !status.isDirectory)
            return candidate;
    }
    return {};
}

void OpenHelpPage(Core& core)
{
    const std::string page = FindHelpPage(platform::files::ExecutablePath());
    if (!page.empty())
        core.ui.ShellOpen(page);
}

void RegisterShellAndTrayCommands(CZoroneDlg& dlg, DialogRunner& runner, std::function<void()> showTrayMenu)
{
    Core& core = dlg.core();
    dlg.Route(cmd::kTrayToggle, [&core] { ToggleWindowShown(core); });
    dlg.Route(cmd::kWizard, [&dlg, &runner] { RunWizard(dlg, runner); });
    dlg.Route(cmd::kStatistics, [&core] { ShowStatistics(core); });
    for (const int id : { cmd::kMakerImageBrowser, cmd::kMakerFileMover, cmd::kMakerLatest, cmd::kMakerHome })
        dlg.Route(id, [&core] { OpenHelpPage(core); });
    dlg.Route(cmd::kOpenLocalTop, [&core] { OpenLocalTopPage(core); });
    dlg.Route(cmd::kOpenOnlineTop, [&core] { OpenOnlineTopPage(core); });
    dlg.SetMessageHook([&core, menu = std::move(showTrayMenu)](const platform::Message& m) {
        if (m.id == platform::kWmTrayNotify)
            OnTrayNotify(core, m.lParam, menu);
    });
}

} // namespace zorone
