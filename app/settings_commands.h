#pragma once
// The commands that open the settings dialogs, the address prompt and the
// manual. Every dialog works on a copy: the settings change only when it ends
// with OK, and then all of its members are copied back at once.
#include "app/dialog_runner.h"
#include "engine/core.h"

namespace zorone {

class CZoroneDlg;

// 32774, 32787, 32799: behaviour, items and shortcut.
void EditActionSettings(Core& core, DialogRunner& runner);
void EditItemSettings(Core& core, DialogRunner& runner);
void EditShortcutSettings(Core& core, DialogRunner& runner);
// 32788: analysis; after OK the main window's controls are rewritten too.
void EditAnalysisSettings(Core& core, DialogRunner& runner);
// 32789 and the wizard: on OK the typed text, unchecked (the empty text too),
// becomes m_sTopURL and the controls are rewritten. Returns whether OK ended
// the dialog.
bool AskTopAddress(Core& core, DialogRunner& runner);
// 32786.
void ShowManual(DialogRunner& runner);

// Routes the six commands above. runner must outlive dlg.
void RegisterSettingsCommands(CZoroneDlg& dlg, DialogRunner& runner);

} // namespace zorone
