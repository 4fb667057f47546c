#include "qt/window_profile.h"

#include "settings/profile_ini.h"

#include <algorithm>

namespace zorone::qt {
namespace {

constexpr const char* kSection = "Window";
constexpr const char* kColumnKeys[] = { "Column0", "Column1", "Column2", "Column3" };

} // namespace

WindowProfile WindowProfile::Load(const std::string& iniPath)
{
    WindowProfile p;
    const int width = ReadProfileInt(iniPath, kSection, "Width", 0);
    const int height = ReadProfileInt(iniPath, kSection, "Height", 0);
    if (width > 0 && height > 0)
        p.geometry = QRect(
            ReadProfileInt(iniPath, kSection, "X", 0), ReadProfileInt(iniPath, kSection, "Y", 0), width, height);
    p.maximized = ReadProfileInt(iniPath, kSection, "Maximized", 0) == 1;
    for (size_t i = 0; i < p.columnWidths.size(); ++i)
        p.columnWidths[i] = std::max(0, ReadProfileInt(iniPath, kSection, kColumnKeys[i], 0));
    p.sortColumn = ReadProfileInt(iniPath, kSection, "SortColumn", -1);
    if (p.sortColumn < -1 || p.sortColumn > 4)
        p.sortColumn = -1;
    p.sortDescending = ReadProfileInt(iniPath, kSection, "SortDescending", 0) == 1;
    p.followDownload = ReadProfileInt(iniPath, kSection, "FollowDownload", 1) != 0;
    p.summaryShown = ReadProfileInt(iniPath, kSection, "Summary", -1);
    return p;
}

int WindowProfile::Save(const std::string& iniPath) const
{
    int ok = 1;
    const auto put = [&](const char* key, int value) { ok &= WriteProfileInt(iniPath, kSection, key, value); };
    put("X", geometry.x());
    put("Y", geometry.y());
    put("Width", geometry.width());
    put("Height", geometry.height());
    put("Maximized", maximized ? 1 : 0);
    for (size_t i = 0; i < columnWidths.size(); ++i)
        put(kColumnKeys[i], columnWidths[i]);
    put("SortColumn", sortColumn);
    put("SortDescending", sortDescending ? 1 : 0);
    put("FollowDownload", followDownload ? 1 : 0);
    put("Summary", summaryShown);
    return ok;
}

QRect PlaceOnScreens(const QRect& saved, const QList<QRect>& available)
{
    if (saved.isEmpty())
        return {};
    for (const QRect& screen : available) {
        const QRect shown = saved.intersected(screen);
        // Most of the window, or at least its top left corner with the
        // caption, must be on this screen to be found there again.
        const long long area = static_cast<long long>(shown.width()) * shown.height();
        const long long whole = static_cast<long long>(saved.width()) * saved.height();
        if (area * 2 < whole && !screen.contains(saved.topLeft()))
            continue;
        QRect placed(saved.topLeft(), saved.size().boundedTo(screen.size()));
        placed.moveLeft(std::clamp(placed.left(), screen.left(), screen.right() - placed.width() + 1));
        placed.moveTop(std::clamp(placed.top(), screen.top(), screen.bottom() - placed.height() + 1));
        return placed;
    }
    return {};
}

QRect FirstStartFrame(const QRect& available, const QSize& minimum)
{
    QSize size(available.width() * 6 / 10, available.height() * 3 / 4);
    size = size.expandedTo(minimum).boundedTo(available.size().expandedTo(minimum));
    QRect frame(QPoint(0, 0), size);
    frame.moveCenter(available.center());
    return frame;
}

} // namespace zorone::qt
