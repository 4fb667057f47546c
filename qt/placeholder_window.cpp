#include "qt/placeholder_window.h"

#include <QLabel>

namespace zorone::qt {

QWidget* CreatePlaceholderWindow()
{
    auto* label = new QLabel(QStringLiteral("Zorone: the window is being built; use zorone-cli for now."));
    label->setMargin(24);
    return label;
}

} // namespace zorone::qt
