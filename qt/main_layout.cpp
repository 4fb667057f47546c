#include "qt/main_layout.h"

#include <QFontMetrics>

namespace zorone::qt {

DialogUnits DialogUnits::ForFont(const QFont& font)
{
    // The average over the Latin letters, rounded, as dialog templates have
    // always measured it; a CJK font's own average would make dialogs huge.
    const QFontMetrics metrics(font);
    const int letters
        = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return { (letters / 26 + 1) / 2, metrics.height() };
}

int DialogUnits::ToPixelsX(int units) const
{
    return units * baseX / 4;
}

int DialogUnits::ToPixelsY(int units) const
{
    return units * baseY / 8;
}

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const
{
    return { ToPixelsX(x), ToPixelsY(y), ToPixelsX(width), ToPixelsY(height) };
}

std::optional<QRect> LayoutRect(int id, const QRect& window, const QRect& control, bool summaryShown)
{
    const int ww = window.width();
    const int wh = window.height();
    const int bw = control.width();
    const int bh = control.height();
    // Exclusive right edge minus the control's left edge: the room from the
    // control to the window's outer border.
    const int room = window.x() + window.width() - control.x();
    switch (id) {
    case 1003:
        return QRect(ww - bw - 96, 57, bw, bh);
    case 1001:
        return QRect(ww - bw - 17, 30, bw, bh);
    case 1007:
        return QRect(ww - bw - 12, 57, bw, bh);
    case 1047:
        return QRect(65, 5, room - 71, bh);
    case 1046:
        return QRect(65, 30, room - 71, bh);
    case 1004:
        return QRect(5, 80, room - 8, summaryShown ? wh - 211 : wh - 140);
    case 1011:
        return summaryShown ? QRect(5, wh - 130, room - 9, 69) : QRect(0, 0, 0, 0);
    case 1009:
        return QRect(0, wh - 58, bw, bh);
    case 1008:
        return QRect(32, wh - 58, bw, bh);
    case 1012:
        return QRect(131, wh - 58, bw, bh);
    default:
        return std::nullopt;
    }
}

} // namespace zorone::qt
