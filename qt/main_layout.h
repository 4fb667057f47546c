#pragma once
// Where the main window's controls go when the window is sized, and how the
// dialog resource's units become pixels.
#include <QFont>
#include <QRect>

#include <optional>

namespace zorone::qt {

// Dialog units scale with the dialog's font: a horizontal unit is a quarter
// of the average character width, a vertical unit an eighth of the character
// height.
struct DialogUnits {
    int baseX; // average character width in pixels
    int baseY; // character height in pixels

    static DialogUnits ForFont(const QFont& font);
    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    QRect ToPixels(int x, int y, int width, int height) const;
};

constexpr int kMinTrackWidth = 320;
constexpr int kMinTrackHeight = 211;

// The client rectangle of control id after a size change. window is the
// window's outer rectangle (frame and caption included) and control the
// control's current rectangle, both in screen coordinates; widths are taken
// from the control's left edge before the move, so the first layout after
// creation starts from the designed position. nullopt for controls that keep
// their place.
std::optional<QRect> LayoutRect(int id, const QRect& window, const QRect& control, bool summaryShown);

} // namespace zorone::qt
