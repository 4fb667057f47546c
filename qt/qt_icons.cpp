#include "qt/qt_icons.h"

#include <QFile>

namespace zorone::qt {

QIcon ZoroneIcon(int resourceId)
{
    const QString path = QStringLiteral(":/icons/%1.svg").arg(resourceId);
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

} // namespace zorone::qt
