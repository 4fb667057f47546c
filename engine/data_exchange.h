#pragma once
// The one data-exchange pass between the fields and the window's controls.
#include "engine/core.h"

namespace zorone {

// Fields -> controls: the folder and URL boxes (the first history item that
// begins with the value is selected; only when none does is the value put in
// the edit field) and the summary box.
void WriteFieldsToControls(Core& core);

// Controls -> fields: m_sPath and m_sTopURL from the boxes' edit fields.
void ReadFieldsFromControls(Core& core);

} // namespace zorone
