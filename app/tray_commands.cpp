#include "app/tray_commands.h"

namespace zorone {

void ToggleWindowShown(Core& core)
{
    core.m_bWindowShown = core.m_bWindowShown == 1 ? 0 : 1;
    core.ui.ShowMainWindow(core.m_bWindowShown == 1);
}

void OnTrayNotify(Core& core, std::intptr_t mouseMessage, const std::function<void()>& showTrayMenu)
{
    if (mouseMessage == kTrayLeftDoubleClick)
        ToggleWindowShown(core);
    else if (mouseMessage == kTrayRightButtonDown && showTrayMenu)
        showTrayMenu();
}

} // namespace zorone
