#pragma once
// "ウィザード": asks for a download folder and a top address, then starts a
// crawl with the start button's own operation.
#include "app/dialog_runner.h"

namespace zorone {

class CZoroneDlg;

// A folder chosen in the first step stays set even when the wizard is ended
// later. The start step is button 1003's: while a crawl runs it stops it.
void RunWizard(CZoroneDlg& dlg, DialogRunner& runner);

} // namespace zorone
