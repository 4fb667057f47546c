#pragma once
// The menu resources of the main window as data: the menu bar (131), the
// window pop-up (130), the tray pop-up (132) and the list pop-up (138).
// Front ends build their menus from these tables; no menu is spelled out in
// toolkit code.
#include <span>
#include <string>

namespace zorone::res {

enum class MenuEntryKind { Popup, Command, Separator };

// One entry in depth-first order. A Popup opens a submenu holding the
// entries that follow it with depth + 1.
struct MenuEntry {
    int depth;
    MenuEntryKind kind;
    const std::string* text; // null for a separator
    int id; // command id; 0 for popups and separators
    bool grayed;
};

constexpr int kMenuWindowPopup = 130;
constexpr int kMenuBar = 131;
constexpr int kMenuTrayPopup = 132;
constexpr int kMenuListPopup = 138;

// The entries of a menu resource; empty for an unknown number.
std::span<const MenuEntry> MenuResource(int menuId);

} // namespace zorone::res
