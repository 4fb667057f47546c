#pragma once
// The notification-area icon's callback and the "常駐" toggle that hides the
// window to the icon and brings it back.
#include "engine/core.h"

#include <cstdint>
#include <functional>

namespace zorone {

class CZoroneDlg;

// Mouse messages the icon reports as the callback's second parameter.
constexpr std::intptr_t kTrayLeftDoubleClick = 0x203;
constexpr std::intptr_t kTrayRightButtonDown = 0x204;

// Hides the window when m_bWindowShown is 1, shows it otherwise; the only
// route that changes m_bWindowShown. Showing keeps the window's size,
// position and minimised state; that is the front end's part.
void ToggleWindowShown(Core& core);

// The tray callback: a left double click toggles the window, a right button
// press calls showTrayMenu (the front end brings the window to the
// foreground, shows menu 132 at the cursor and routes the chosen command);
// every other mouse message does nothing.
void OnTrayNotify(Core& core, std::intptr_t mouseMessage, const std::function<void()>& showTrayMenu);

} // namespace zorone
