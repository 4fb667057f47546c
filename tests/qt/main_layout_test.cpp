#include "qt/main_layout.h"

#include "app/command_ids.h"
#include "tests/qt/window_fixture.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace zorone::test {
namespace {

class ShownWindow : public WindowFixture {
protected:
    ShownWindow()
    {
        core().settings.m_nDisplayDownloadFileExList = 1;
        window->show();
        QCoreApplication::processEvents();
    }

    void Resize(int width, int height)
    {
        window->resize(width, height);
        QCoreApplication::processEvents();
    }

    QRect Geometry(int id) const { return window->Control(id)->geometry(); }
    // The room the layout measures: from the left edge of a control at
    // client x to the window's outer right edge.
    int Room(int clientX) const
    {
        const QRect w = window->frameGeometry();
        return w.x() + w.width() - window->centralWidget()->mapToGlobal(QPoint(clientX, 0)).x();
    }
};

TEST(LayoutRectTest, FollowsTheWindowSize)
{
    const QRect window(100, 50, 640, 480);
    const QRect button(0, 0, 70, 22);
    const QRect box(100 + 4 + 65, 0, 300, 21);
    struct Case {
        int id;
        QRect control;
        bool summary;
        QRect expected;
    };
    const Case cases[] = {
        { 1003, button, true, QRect(640 - 70 - 96, 57, 70, 22) },
        { 1001, button, true, QRect(640 - 70 - 17, 30, 70, 22) },
        { 1007, button, true, QRect(640 - 70 - 12, 57, 70, 22) },
        { 1047, box, true, QRect(65, 5, 740 - 169 - 71, 21) },
        { 1046, box, true, QRect(65, 30, 740 - 169 - 71, 21) },
        { 1004, box, true, QRect(5, 80, 740 - 169 - 8, 480 - 211) },
        { 1004, box, false, QRect(5, 80, 740 - 169 - 8, 480 - 140) },
        { 1011, box, true, QRect(5, 480 - 130, 740 - 169 - 9, 69) },
        { 1011, box, false, QRect(0, 0, 0, 0) },
        { 1009, button, true, QRect(0, 480 - 58, 70, 22) },
        { 1008, button, true, QRect(32, 480 - 58, 70, 22) },
        { 1012, button, false, QRect(131, 480 - 58, 70, 22) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << (c.summary ? " shown" : " hidden"));
        EXPECT_EQ(qt::LayoutRect(c.id, window, c.control, c.summary), c.expected);
    }
    EXPECT_FALSE(qt::LayoutRect(-1, window, button, true).has_value());
}

TEST_F(ShownWindow, ControlsFollowAResize)
{
    const QSize button = window->Control(1003)->size();
    const QSize status = window->Control(1012)->size();
    Resize(700, 520);
    const QRect w = window->frameGeometry();
    const int ww = w.width();
    const int wh = w.height();
    EXPECT_EQ(Geometry(1003), QRect(QPoint(ww - button.width() - 96, 57), button));
    EXPECT_EQ(Geometry(1007).topLeft(), QPoint(ww - window->Control(1007)->width() - 12, 57));
    EXPECT_EQ(Geometry(1001).topLeft(), QPoint(ww - window->Control(1001)->width() - 17, 30));
    EXPECT_EQ(Geometry(1047), QRect(65, 5, Room(65) - 71, Geometry(1047).height()));
    EXPECT_EQ(Geometry(1046), QRect(65, 30, Room(65) - 71, Geometry(1046).height()));
    EXPECT_EQ(Geometry(1004), QRect(5, 80, Room(5) - 8, wh - 211));
    EXPECT_EQ(Geometry(1011), QRect(5, wh - 130, Room(5) - 9, 69));
    EXPECT_EQ(Geometry(1009).topLeft(), QPoint(0, wh - 58));
    EXPECT_EQ(Geometry(1008).topLeft(), QPoint(32, wh - 58));
    EXPECT_EQ(Geometry(1012), QRect(QPoint(131, wh - 58), status));
}

TEST_F(ShownWindow, CannotShrinkBelowTheMinimum)
{
    Resize(100, 100);
    const QSize outer = window->frameGeometry().size();
    EXPECT_EQ(outer, QSize(320, 211));
    // At the smallest size the list has no height left beside the summary.
    EXPECT_EQ(Geometry(1004).height(), 0);
}

TEST_F(ShownWindow, SummaryToggleMovesTheListAndBack)
{
    dlg.Route(cmd::kToggleSummary, [this] {
        int& shown = core().settings.m_nDisplayDownloadFileExList;
        shown = shown == 0 ? 1 : 0;
    });
    Resize(600, 500);
    const QRect list = Geometry(1004);
    const QRect summary = Geometry(1011);
    const int wh = window->frameGeometry().height();

    window->Command(cmd::kToggleSummary);
    EXPECT_EQ(Geometry(1011), QRect(0, 0, 0, 0));
    EXPECT_EQ(Geometry(1004).height(), wh - 140);

    window->Command(cmd::kToggleSummary);
    EXPECT_EQ(Geometry(1004), list);
    EXPECT_EQ(Geometry(1011), summary);
    EXPECT_EQ(core().settings.m_nDisplayDownloadFileExList, 1);
}

TEST_F(ShownWindow, OnlyTheValueOneShowsTheSummary)
{
    core().settings.m_nDisplayDownloadFileExList = 2;
    window->FlushRendering();
    EXPECT_EQ(Geometry(1011), QRect(0, 0, 0, 0));
}

} // namespace
} // namespace zorone::test
