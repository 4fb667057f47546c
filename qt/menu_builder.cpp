#include "qt/menu_builder.h"

#include "qt/qt_text.h"
#include "res/menus.h"

#include <QMenuBar>

#include <vector>

namespace zorone::qt {
namespace {

QAction* MakeCommand(QWidget& owner, const res::MenuEntry& e, const CommandSink& onCommand)
{
    auto* action = new QAction(ToQt(*e.text), &owner);
    action->setData(e.id);
    action->setObjectName(QString::number(e.id));
    action->setEnabled(!e.grayed);
    const int id = e.id;
    QObject::connect(action, &QAction::triggered, &owner, [onCommand, id] { onCommand(id); });
    return action;
}

// Top is QMenuBar or QMenu: both hold actions and submenus alike.
template <typename Top> void Fill(Top& top, int menuId, const CommandSink& onCommand)
{
    // open[d] is the menu that receives entries of depth d + 1.
    std::vector<QMenu*> open;
    for (const res::MenuEntry& e : res::MenuResource(menuId)) {
        open.resize(static_cast<size_t>(e.depth));
        QWidget& parent = open.empty() ? static_cast<QWidget&>(top) : *open.back();
        const auto add = [&](QAction* a) {
            if (open.empty())
                top.addAction(a);
            else
                open.back()->addAction(a);
        };
        switch (e.kind) {
        case res::MenuEntryKind::Popup: {
            auto* sub = new QMenu(ToQt(*e.text), &parent);
            add(sub->menuAction());
            open.push_back(sub);
            break;
        }
        case res::MenuEntryKind::Command:
            add(MakeCommand(parent, e, onCommand));
            break;
        case res::MenuEntryKind::Separator: {
            auto* separator = new QAction(&parent);
            separator->setSeparator(true);
            add(separator);
            break;
        }
        }
    }
}

} // namespace

void BuildMenuBar(QMenuBar& bar, int menuId, const CommandSink& onCommand)
{
    Fill(bar, menuId, onCommand);
}

std::unique_ptr<QMenu> LoadMenu(int menuId, const CommandSink& onCommand)
{
    auto menu = std::make_unique<QMenu>();
    Fill(*menu, menuId, onCommand);
    return menu;
}

QMenu* FirstSubmenu(const QMenu& menu)
{
    for (QAction* a : menu.actions())
        if (a->menu())
            return a->menu();
    return nullptr;
}

} // namespace zorone::qt
