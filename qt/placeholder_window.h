#pragma once
class QWidget;

namespace zorone::qt {
QWidget* CreatePlaceholderWindow();
}
