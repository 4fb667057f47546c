#include "qt/window_profile.h"

#include <gtest/gtest.h>

namespace zorone::test {
namespace {

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
