#pragma once
// The window's place on the desktop and the list's look, kept per user in
// zorone.ini (section "Window") beside the lifetime counter, so that the next
// start opens as the last one closed. Zorone.sav keeps its own values only.
#include <QList>
#include <QRect>

#include <array>
#include <string>

namespace zorone::qt {

struct WindowProfile {
    QRect geometry; // the normal (not maximised) frame; empty when never saved
    bool maximized = false;
    std::array<int, 4> columnWidths {}; // the first four columns; the URL column takes the rest
    int sortColumn = -1; // the column last sorted by, -1 for none
    bool sortDescending = false;
    bool followDownload = true; // keep the row being downloaded in view
    // The summary box's visibility (m_nDisplayDownloadFileExList), kept here
    // as well so that it follows the user; -1 when never saved.
    int summaryShown = -1;

    static WindowProfile Load(const std::string& iniPath);
    // 1 when every value was written.
    int Save(const std::string& iniPath) const;
};

// Where a window of the saved frame goes on screens with these available
// areas: the saved frame when most of it lies on one of them, shrunk to fit
// that screen if needed; otherwise (a screen since removed, a frame never
// saved) an empty rect, and the caller picks a first-start frame.
QRect PlaceOnScreens(const QRect& saved, const QList<QRect>& available);

// The frame of a first start on a screen with this available area: about 60%
// of its width, so that the five columns show with readable URLs, and three
// quarters of its height, centred; never below minimum.
QRect FirstStartFrame(const QRect& available, const QSize& minimum);

} // namespace zorone::qt
