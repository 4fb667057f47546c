#include "res/menus.h"

#include "res/texts.h"

#include <vector>

namespace zorone::res {
namespace {

using K = MenuEntryKind;

constexpr MenuEntry Popup(int depth, const std::string& text)
{
    return { depth, K::Popup, &text, 0, false };
}
constexpr MenuEntry Item(int depth, const std::string& text, int id, bool grayed = false)
{
    return { depth, K::Command, &text, id, grayed };
}
constexpr MenuEntry Separator(int depth)
{
    return { depth, K::Separator, nullptr, 0, false };
}

// The menu bar's command tree; the two "PopUp" menus hold the same tree one
// level down.
const MenuEntry kMenuBarEntries[] = {
    Popup(0, kMenuFile),
    Item(1, kMenuSaveList, 32773),
    Item(1, kMenuLoadList, 32772),
    Separator(1),
    Popup(1, kMenuExtendedSave),
    Item(2, kMenuKeywordSave, 32791),

    Popup(0, kMenuOperation),
    Item(1, kMenuPickFolder, 32780),
    Item(1, kMenuAddress, 32789),
    Item(1, kMenuStart, 32781),
    Item(1, kMenuAbort, 32782),
    Popup(1, kMenuList),
    Item(2, kMenuListInfo, 32797),
    Item(2, kMenuSaveSkipped, 32805),
    Separator(2),
    Item(2, kMenuClear, 32783),
    Item(2, kMenuRemoveDuplicates, 32794),
    Separator(2),
    Item(2, kMenuOpenItems, 32795),
    Item(2, kMenuEditItems, 32792),
    Item(2, kMenuDeleteItems, 32793),
    Separator(1),
    Item(1, kMenuOpenLocal, 32801),
    Item(1, kMenuOpenOnline, 32803),
    Separator(1),
    Item(1, kMenuWizard, 32790),
    Separator(1),
    Item(1, kMenuManual, 32786),

    Popup(0, kMenuView),
    Item(1, kMenuToggleSummary, 32796),

    Item(0, kMenuTray, 32784),

    Popup(0, kMenuSettings),
    Item(1, kMenuSettingsAction, 32774),
    Item(1, kMenuSettingsItem, 32787),
    Item(1, kMenuSettingsAnalysis, 32788),
    Item(1, kMenuSettingsShortcut, 32799),

    Popup(0, kMenuOther),
    Item(1, kMenuStatistics, 32776),
    Separator(1),
    Item(1, kMenuImageBrowser, 32777),
    Item(1, kMenuFileMover, 32798),
    Item(1, kMenuLatest, 32778, true),
    Item(1, kMenuMakerHome, 32779),

    Item(0, kMenuExit, 32771),
};

const std::vector<MenuEntry>& PopUpEntries()
{
    static const std::vector<MenuEntry> entries = [] {
        std::vector<MenuEntry> v { Popup(0, kMenuPopUp) };
        for (MenuEntry e : kMenuBarEntries) {
            ++e.depth;
            v.push_back(e);
        }
        return v;
    }();
    return entries;
}

const MenuEntry kListPopupEntries[] = {
    Item(0, kMenuOpenItems, 32795),
    Item(0, kMenuEditItems, 32792),
    Item(0, kMenuDeleteItems, 32793),
    Separator(0),
    Item(0, kMenuRemoveDuplicates, 32794),
    Item(0, kMenuClear, 32783),
    Separator(0),
    Item(0, kMenuListInfo, 32797),
};

} // namespace

std::span<const MenuEntry> MenuResource(int menuId)
{
    switch (menuId) {
    case kMenuBar:
        return kMenuBarEntries;
    case kMenuWindowPopup:
    case kMenuTrayPopup:
        return PopUpEntries();
    case kMenuListPopup:
        return kListPopupEntries;
    default:
        return {};
    }
}

} // namespace zorone::res
