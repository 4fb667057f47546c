#pragma once
// The program's icons: 128 the application, 142 to 146 the tray animation.
#include <QIcon>

namespace zorone::qt {

// A null icon for a number that has no picture.
QIcon ZoroneIcon(int resourceId);

} // namespace zorone::qt
