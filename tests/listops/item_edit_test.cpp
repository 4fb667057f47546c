#include "listops/item_edit.h"

#include "tests/listops/list_fixture.h"

namespace zorone::test {
namespace {

using ItemEdit = ListTest;

const std::string kDone = "\x81\x9b";

TEST(ItemEditMarks, ComboOffersFiveMarksInOrder)
{
    EXPECT_EQ(ItemEditMarks(), (std::vector<std::string> { "", "\x81\x7c", "\x81\x5a", "\x81\xa2", "\x81\x7e" }));
}

TEST_F(ItemEdit, SingleRowShowsAndWritesMarkAndUrl)
{
    AddRow({ kDone, "a.htm", "htm", "77", "http://h/a.htm" });
    AddRow({ kDone, "b.htm", "htm", "88", "http://h/b.htm" });
    CItemEditDlg shown;
    EditSelectedItems(core, { 1 }, [&](CItemEditDlg& dlg) {
        shown = dlg;
        dlg.m_sMark = "\x81\x5a";
        dlg.m_sURL = "http://h/d/Pic.JPG";
        return true;
    });
    EXPECT_EQ(shown.m_sMark, kDone);
    EXPECT_EQ(shown.m_sURL, "http://h/b.htm");
    EXPECT_EQ(RowAt(1), (Row { "\x81\x5a", "Pic.JPG", "JPG", "88", "http://h/d/Pic.JPG" }));
    EXPECT_EQ(core.list.FirstWaitingRow(), 1); // "〇" is not the done mark

    EditSelectedItems(core, { 0 }, [](CItemEditDlg& dlg) {
        dlg.m_sMark.clear();
        dlg.m_sURL = "http://h/dir/";
        return true;
    });
    EXPECT_EQ(RowAt(0), (Row { "", "", "", "77", "http://h/dir/" }));
}

TEST_F(ItemEdit, SeveralRowsTakeOnlyTheFilledFields)
{
    for (int i = 0; i < 4; ++i)
        AddRow({ "m" + std::to_string(i), "f", "e", std::to_string(i), "u" + std::to_string(i) });
    const std::vector<Row> before = Rows();
    EditSelectedItems(core, { 0, 2, 3 }, [](CItemEditDlg& dlg) {
        EXPECT_EQ(dlg.m_sMark, "");
        EXPECT_EQ(dlg.m_sURL, "");
        return true;
    });
    EXPECT_EQ(Rows(), before);

    EditSelectedItems(core, { 0, 2, 3 }, [](CItemEditDlg& dlg) {
        dlg.m_sURL = "http://h/x.gif";
        return true;
    });
    for (int row : { 0, 2, 3 })
        EXPECT_EQ(
            RowAt(row), (Row { "m" + std::to_string(row), "x.gif", "gif", std::to_string(row), "http://h/x.gif" }));
    EXPECT_EQ(RowAt(1), before[1]);

    EditSelectedItems(core, { 1, 2 }, [](CItemEditDlg& dlg) {
        dlg.m_sMark = "\x81\x7e";
        return true;
    });
    EXPECT_EQ(RowAt(1)[kColMark], "\x81\x7e");
    EXPECT_EQ(RowAt(2)[kColMark], "\x81\x7e");
    EXPECT_EQ(RowAt(2)[kColUrl], "http://h/x.gif");

    const std::vector<Row> now = Rows();
    EditSelectedItems(core, { 0 }, [](CItemEditDlg& dlg) {
        dlg.m_sURL = "changed";
        return false; // cancelled
    });
    EditSelectedItems(core, {}, nullptr);
    EXPECT_EQ(Rows(), now);
}

TEST_F(ItemEdit, EditFollowsTheRowWhenRowsMoveWhileTheDialogIsOpen)
{
    AddRow({ "", "a", "", "", "http://h/a" });
    AddRow({ "", "b", "", "", "http://h/b" });
    EditSelectedItems(core, { 1 }, [&](CItemEditDlg& dlg) {
        // A priority file added by the crawl meanwhile.
        DownloadItem priority;
        priority.cols[kColUrl] = "http://h/p";
        core.list.InsertRow(0, std::move(priority));
        dlg.m_sMark = kDone;
        dlg.m_sURL = "http://h/b2";
        return true;
    });
    EXPECT_EQ(Urls(), (std::vector<std::string> { "http://h/p", "http://h/a", "http://h/b2" }));
    EXPECT_EQ(RowAt(1)[kColMark], "");
}

TEST_F(ItemEdit, DeleteRemovesExactlyTheSelectedRows)
{
    for (int i = 0; i < 9; ++i)
        AddRow({ "", "", "", "", std::to_string(i) });
    DeleteSelectedItems(core, { 2, 5, 7 });
    EXPECT_EQ(Urls(), (std::vector<std::string> { "0", "1", "3", "4", "6", "8" }));
    DeleteSelectedItems(core, {});
    EXPECT_EQ(core.list.GetItemCount(), 6);
}

TEST_F(ItemEdit, OpenHandsEverySelectedUrlToTheDesktopTopFirst)
{
    for (int i = 0; i < 6; ++i)
        AddRow({ "", "", "", "", "http://h/" + std::to_string(i) });
    OpenSelectedItem(core, { 0, 1, 3, 4, 5 });
    std::vector<std::string> opened;
    for (const auto& c : ui.CallsOf("ShellOpen"))
        opened.push_back(c.text);
    EXPECT_EQ(
        opened, (std::vector<std::string> { "http://h/0", "http://h/1", "http://h/3", "http://h/4", "http://h/5" }));
}

} // namespace
} // namespace zorone::test
