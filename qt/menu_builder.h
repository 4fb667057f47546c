#pragma once
// Qt menus built from the menu resources (res/menus.h). Every command entry
// becomes a QAction carrying its id (data() and objectName) that calls
// onCommand(id) when triggered.
#include <QMenu>

#include <functional>
#include <memory>

class QMenuBar;

namespace zorone::qt {

using CommandSink = std::function<void(int id)>;

void BuildMenuBar(QMenuBar& bar, int menuId, const CommandSink& onCommand);
// A menu whose top level holds the resource's top-level entries.
std::unique_ptr<QMenu> LoadMenu(int menuId, const CommandSink& onCommand);
// The first submenu of a loaded menu ("PopUp" for the window and tray menus);
// null when it has none.
QMenu* FirstSubmenu(const QMenu& menu);

} // namespace zorone::qt
