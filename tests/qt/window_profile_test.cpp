#include "qt/window_profile.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace zorone::test {
namespace {

using qt::WindowProfile;

TEST(WindowProfileTest, KeepsEveryValueBesideTheCounter)
{
    TempDir home;
    const std::string ini = home / "zorone.ini";
    WriteFileBytes(ini, "[Zorone]\r\nm_nTotalDownloadCount=12\r\n");
    WindowProfile saved;
    saved.geometry = QRect(-1200, 40, 1100, 700); // a screen left of the primary one
    saved.maximized = true;
    saved.columnWidths = { 24, 180, 50, 90 };
    saved.sortColumn = 3;
    saved.sortDescending = true;
    saved.followDownload = false;
    saved.summaryShown = 0;
    ASSERT_EQ(saved.Save(ini), 1);

    const WindowProfile loaded = WindowProfile::Load(ini);
    EXPECT_EQ(loaded.geometry, saved.geometry);
    EXPECT_TRUE(loaded.maximized);
    EXPECT_EQ(loaded.columnWidths, saved.columnWidths);
    EXPECT_EQ(loaded.sortColumn, 3);
    EXPECT_TRUE(loaded.sortDescending);
    EXPECT_FALSE(loaded.followDownload);
    EXPECT_EQ(loaded.summaryShown, 0);
    EXPECT_NE(ReadFileBytes(ini).find("m_nTotalDownloadCount=12\r\n"), std::string::npos);

    const WindowProfile fresh = WindowProfile::Load(home / "missing.ini");
    EXPECT_TRUE(fresh.geometry.isEmpty());
    EXPECT_EQ(fresh.sortColumn, -1);
    EXPECT_TRUE(fresh.followDownload);
    EXPECT_EQ(fresh.summaryShown, -1);
}

TEST(WindowProfileTest, SavedPlacesAreKeptOnlyOnScreensThatShowThem)
{
    const QList<QRect> screens = { QRect(0, 0, 1920, 1050), QRect(1920, 0, 1280, 800) };
    struct Case {
        QRect saved;
        QRect expected;
    };
    const Case cases[] = {
        { QRect(100, 80, 1000, 700), QRect(100, 80, 1000, 700) },
        { QRect(2000, 50, 900, 600), QRect(2000, 50, 900, 600) }, // on the second screen
        { QRect(2000, 50, 1600, 1000), QRect(1920, 0, 1280, 800) }, // shrunk to that screen
        { QRect(1700, 900, 400, 300), QRect(1520, 750, 400, 300) }, // pulled back inside
        { QRect(-3000, 100, 800, 600), QRect() }, // a screen since removed
        { QRect(), QRect() }, // never saved
    };
    for (const Case& c : cases)
        EXPECT_EQ(qt::PlaceOnScreens(c.saved, screens), c.expected) << c.saved.x() << "," << c.saved.y();
}

TEST(WindowProfileTest, FirstStartTakesSixTenthsOfTheScreenWidthCentred)
{
    EXPECT_EQ(qt::FirstStartFrame(QRect(0, 0, 1920, 1040), QSize(320, 211)), QRect(384, 130, 1152, 780));
    EXPECT_EQ(qt::FirstStartFrame(QRect(0, 0, 1280, 800), QSize(320, 211)), QRect(256, 100, 768, 600));
    // A tiny screen still gets the smallest window the layout allows.
    EXPECT_EQ(qt::FirstStartFrame(QRect(0, 0, 300, 200), QSize(320, 211)).size(), QSize(320, 211));
}

} // namespace
} // namespace zorone::test
