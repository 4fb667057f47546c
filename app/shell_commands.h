#pragma once
// The commands that hand a page or file to the desktop's "open" handler, and
// the routing of those commands together with the tray, wizard and
// statistics commands. A target that cannot be opened shows nothing.
#include "app/dialog_runner.h"
#include "engine/core.h"

#include <functional>
#include <string>

namespace zorone {

class CZoroneDlg;

// 32801: the local copy of the top page, from m_sPath and m_sTopURL as they
// are (the controls are not read). Before the page was downloaded there is
// nothing to open, and the desktop is not asked to open a missing file.
void OpenLocalTopPage(Core& core);
// 32803: m_sTopURL itself; an empty one opens nothing.
void OpenOnlineTopPage(Core& core);

// The maker's pages (32777, 32798, 32778, 32779) have no address of their
// own: they open Zorone's README, the page that says what the program is and
// where it keeps its files. It is looked for beside the program file and
// where an installation puts documentation (<prefix>/share/doc/zorone,
// <prefix>/bin holding the program); "" when there is none.
std::string FindHelpPage(const std::string& executablePath);
// Opens FindHelpPage(the running program); nothing when there is none.
void OpenHelpPage(Core& core);

// Routes 32784 "常駐", 32790 "ウィザード", 32776 "ナン・ゾロネ？", the four
// maker pages, 32801 and 32803, and installs the tray callback (window
// message 0x464) as the window's message hook. showTrayMenu is the front
// end's pop-up of menu 132. runner must outlive dlg.
void RegisterShellAndTrayCommands(CZoroneDlg& dlg, DialogRunner& runner, std::function<void()> showTrayMenu);

} // namespace zorone
