#include "listops/keyword_save.h"

#include "listops/list_files.h"
#include "tests/listops/list_fixture.h"

namespace zorone::test {
namespace {

using Keyword = ListTest;

TEST(KeywordMatch, SubstringAtCharacterBoundaries)
{
    struct Case {
        std::string text, keyword;
        bool found;
    };
    const std::vector<Case> cases = {
        { "http://h/a.jpg", ".jpg", true }, { "http://h/x.jpg/y.htm", ".jpg", true }, { "html", "htm", true },
        { "HTM", "htm", false }, { "anything", "", true }, { "", "", true }, { "", "a", false },
        { "\x95\x5c", "\x5c", false }, // the trail byte of 表 is not "\"
        { "a\x95\x5c\\", "\x5c", true }, // but a real "\" after it is
        { "\x81\x9b", "\x81\x9b", true }, { "\x82\xa0\x82\xa2", "\xa0\x82", false }, // straddles two characters
    };
    for (const Case& c : cases)
        EXPECT_EQ(ContainsKeyword(c.text, c.keyword), c.found) << c.text << " / " << c.keyword;
}

TEST_F(Keyword, ValidationNeedsATickedBoxAndSomeKeyword)
{
    CKeywordSaveDlg dlg;
    dlg.m_sKeyURL = "x";
    EXPECT_FALSE(dlg.Validate(ui));
    dlg.m_bUseExt = 1;
    dlg.m_sKeyURL.clear();
    EXPECT_FALSE(dlg.Validate(ui));
    EXPECT_EQ(Boxes(),
        (std::vector<std::string> { Box(res::kCaptionInputError, res::kMsgNoKeywordTarget),
            Box(res::kCaptionInputError, res::kMsgNoKeyword) }));
    // Any keyword counts, even one whose box is clear.
    dlg.m_sKeyURL = "x";
    EXPECT_TRUE(dlg.Validate(ui));
}

TEST_F(Keyword, SavesMatchingRowsInEachFormat)
{
    AddRow({ "\x81\x9b", "a.jpg", "jpg", "10", "http://h/a.jpg" });
    AddRow({ "\x81\x7c", "b.html", "html", "20", "http://h/p.jpg/b.html" });
    AddRow({ "\x81\x9b", "c.HTM", "HTM", "30", "http://h/c.HTM" });
    AddRow({ "\x81\x9b", "d,\".jpg", "jpg", "40", "http://h/d,\".jpg" });
    core.m_bListModified = 1;

    CKeywordSaveDlg byUrl;
    byUrl.m_bUseURL = 1;
    byUrl.m_sKeyURL = ".jpg";
    ui.QueuePick(dir / "k.csv");
    KeywordFilteredSave(core, byUrl);
    EXPECT_EQ(ReadFileBytes(dir / "k.csv"),
        "\x81\x9b,a.jpg,jpg,http://h/a.jpg\r\n\x81\x7c,b.html,html,http://h/p.jpg/b.html\r\n"
        "\x81\x9b,\"d,\"\".jpg\",jpg,\"http://h/d,\"\".jpg\"\r\n");
    EXPECT_EQ(core.m_bListModified, 1);

    CKeywordSaveDlg doneHtm;
    doneHtm.m_bUseResult = 1;
    doneHtm.m_sKeyResult = "\x81\x9b";
    doneHtm.m_bUseExt = 1;
    doneHtm.m_sKeyExt = "htm";
    ui.QueuePick(dir / "k.lst");
    KeywordFilteredSave(core, doneHtm);
    EXPECT_EQ(ReadFileBytes(dir / "k.lst"), "");

    CKeywordSaveDlg anyName;
    anyName.m_bUseFileName = 1;
    anyName.m_sKeyURL = "ignored";
    ui.QueuePick(dir / "k.txt");
    KeywordFilteredSave(core, anyName);
    EXPECT_EQ(ReadFileBytes(dir / "k.txt"),
        "\x81\x9bhttp://h/a.jpg\r\n\x81\x7chttp://h/p.jpg/b.html\r\n\x81\x9bhttp://h/c.HTM\r\n"
        "\x81\x9bhttp://h/d,\".jpg\r\n");
    EXPECT_EQ(Boxes(), std::vector<std::string>(3, Box(res::kCaptionSaved, res::kMsgSaved)));

    // Read back by the list loader, the four-field file puts the URL in the
    // size column.
    core.list.DeleteAllItems();
    LoadListFile(core, dir / "k.csv");
    EXPECT_EQ(RowAt(0), (Row { "\x81\x9b", "a.jpg", "jpg", "http://h/a.jpg", "http://h/a.jpg" }));
    EXPECT_EQ(RowAt(2), (Row { "\x81\x9b", "d,\".jpg", "jpg", "http://h/d,\".jpg", "http://h/d,\".jpg" }));
}

TEST_F(Keyword, CancelledPathWritesNothingAndFailureIsReported)
{
    AddRow({ "", "", "", "", "u" });
    CKeywordSaveDlg dlg;
    dlg.m_bUseURL = 1;
    KeywordFilteredSave(core, dlg);
    EXPECT_TRUE(Boxes().empty());
    ui.QueuePick(dir / "missing/k.csv");
    KeywordFilteredSave(core, dlg);
    EXPECT_EQ(Boxes(), (std::vector<std::string> { Box(res::kCaptionWarning, res::kMsgSaveFailed) }));
}

} // namespace
} // namespace zorone::test
