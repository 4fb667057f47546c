#include "platform/headless_ui.h"
#include "res/dialogs.h"
#include "res/texts.h"
#include "settings/dialog_models.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <tuple>
#include <vector>

namespace zorone {
namespace {

Settings Sample()
{
    Settings s = DefaultSettings("/prog/");
    s.m_nPriorityEx = 2;
    s.m_sPriorityEx_Other = "jpg,png";
    s.m_nOtherSite = 1;
    s.m_sOtherSiteEx = "zip";
    s.m_nKaisouKind = 1;
    s.m_nKaisou = 3;
    s.m_nMultiDownloadMax = 4;
    s.m_sShortCutPath = "/home/u/links/";
    s.m_nShortCutKind = 1;
    s.m_bShortCut = 1;
    return s;
}

TEST(ActionSettingDlg, ShowsTheSevenSettingsAndCopiesEditsBack)
{
    CActionSettingDlg dlg;
    dlg.CopyIn(Sample());
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.controls.State(CActionSettingDlg::kIdPriority), 2);
    EXPECT_EQ(dlg.controls.Text(CActionSettingDlg::kIdPriorityOther), "jpg,png");
    EXPECT_EQ(dlg.controls.State(CActionSettingDlg::kIdOtherSite), 1);
    EXPECT_EQ(dlg.controls.Text(CActionSettingDlg::kIdOtherSiteEx), "zip");
    EXPECT_EQ(dlg.controls.State(CActionSettingDlg::kIdKaisouKind), 1);
    EXPECT_EQ(dlg.controls.Text(CActionSettingDlg::kIdKaisou), "3");
    EXPECT_EQ(dlg.controls.Text(CActionSettingDlg::kIdMultiDownloadMax), "4");

    dlg.controls.SetState(CActionSettingDlg::kIdPriority, 1);
    dlg.controls.SetText(CActionSettingDlg::kIdPriorityOther, "gif");
    dlg.controls.SetState(CActionSettingDlg::kIdOtherSite, 2);
    dlg.controls.SetText(CActionSettingDlg::kIdOtherSiteEx, "pdf,doc");
    dlg.controls.SetState(CActionSettingDlg::kIdKaisouKind, 2);
    dlg.controls.SetText(CActionSettingDlg::kIdKaisou, "5");
    dlg.controls.SetText(CActionSettingDlg::kIdMultiDownloadMax, "6");
    platform::HeadlessUi ui;
    ASSERT_TRUE(dlg.OnOK(ui));

    Settings s = Sample();
    dlg.CopyBack(s);
    EXPECT_EQ(s.m_nPriorityEx, 1);
    EXPECT_EQ(s.m_sPriorityEx_Other, "gif");
    EXPECT_EQ(s.m_nOtherSite, 2);
    EXPECT_EQ(s.m_sOtherSiteEx, "pdf,doc");
    EXPECT_EQ(s.m_nKaisouKind, 2);
    EXPECT_EQ(s.m_nKaisou, 5);
    EXPECT_EQ(s.m_nMultiDownloadMax, 6);
    EXPECT_TRUE(ui.CallsOf("MessageBox").empty());
}

TEST(ActionSettingDlg, AGroupWithNoButtonSelectedIsStoredAsMinusOne)
{
    Settings s = Sample();
    s.m_nKaisouKind = 9;
    CActionSettingDlg dlg;
    dlg.CopyIn(s);
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.controls.State(CActionSettingDlg::kIdKaisouKind), -1);
    platform::HeadlessUi ui;
    ASSERT_TRUE(dlg.OnOK(ui));
    dlg.CopyBack(s);
    EXPECT_EQ(s.m_nKaisouKind, -1);
    EXPECT_EQ(s.m_nPriorityEx, 2);
}

TEST(ActionSettingDlg, IntegerFieldWithoutIntegerKeepsTheDialogOpenOnThatField)
{
    for (const int field : { CActionSettingDlg::kIdKaisou, CActionSettingDlg::kIdMultiDownloadMax }) {
        CActionSettingDlg dlg;
        dlg.CopyIn(Sample());
        dlg.OnInitDialog();
        dlg.controls.SetText(field, "");
        platform::HeadlessUi ui;
        EXPECT_FALSE(dlg.OnOK(ui));
        EXPECT_EQ(dlg.FocusControl(), field);
        const auto boxes = ui.CallsOf("MessageBox");
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, res::kMsgEnterInteger);
        EXPECT_EQ(boxes[0].number, static_cast<int>(platform::MbButtons::Ok));
    }
}

TEST(ItemSettingDlg, FlagsOutsideZeroToTwoOpenUncheckedAndComeBackAsZeroOrOne)
{
    Settings s = Sample();
    s.m_bDownloadedDelete = 5;
    s.m_bSaveExit = 1;
    s.m_bDefaultSave = -3;
    s.m_bDoubleDownloadItem = 0;
    s.m_bDownloadFileExist = 1;
    CItemSettingDlg dlg;
    dlg.CopyIn(s);
    dlg.OnInitDialog();
    const std::vector<int> shown = { dlg.controls.State(CItemSettingDlg::kIdDownloadedDelete),
        dlg.controls.State(CItemSettingDlg::kIdSaveExit), dlg.controls.State(CItemSettingDlg::kIdDefaultSave),
        dlg.controls.State(CItemSettingDlg::kIdDoubleDownloadItem),
        dlg.controls.State(CItemSettingDlg::kIdDownloadFileExist) };
    EXPECT_EQ(shown, (std::vector<int> { 0, 1, 0, 0, 1 }));

    dlg.controls.SetState(CItemSettingDlg::kIdDoubleDownloadItem, 1);
    dlg.controls.SetState(CItemSettingDlg::kIdDownloadFileExist, 0);
    platform::HeadlessUi ui;
    ASSERT_TRUE(dlg.OnOK(ui));
    dlg.CopyBack(s);
    EXPECT_EQ(s.m_bDownloadedDelete, 0);
    EXPECT_EQ(s.m_bSaveExit, 1);
    EXPECT_EQ(s.m_bDefaultSave, 0);
    EXPECT_EQ(s.m_bDoubleDownloadItem, 1);
    EXPECT_EQ(s.m_bDownloadFileExist, 0);
}

// Opens dialog 135 over m_nBytes, optionally types kilobytes, confirms it
// and returns the stored m_nBytes together with the shown text.
struct KbRun {
    std::string shown;
    int stored;
};
KbRun RunKilobytes(int bytes, const char* typed)
{
    Settings s = Sample();
    s.m_nBytes = bytes;
    CAnalysisSettingDlg dlg;
    dlg.CopyIn(s);
    dlg.OnInitDialog();
    KbRun r { dlg.controls.Text(CAnalysisSettingDlg::kIdKBytes), 0 };
    if (typed)
        dlg.controls.SetText(CAnalysisSettingDlg::kIdKBytes, typed);
    platform::HeadlessUi ui;
    EXPECT_TRUE(dlg.OnOK(ui));
    dlg.CopyBack(s);
    r.stored = s.m_nBytes;
    return r;
}

TEST(AnalysisSettingDlg, EditsTheSizeLimitInWholeKilobytes)
{
    struct Case {
        int bytes;
        const char* typed;
        const char* shown;
        int stored;
    };
    const Case cases[] = {
        { 307200, nullptr, "300", 307200 },
        { 307200, "1", "300", 1024 },
        { 307200, "0", "300", 0 },
        { 1000, nullptr, "0", 0 }, // below one kilobyte: lost on confirming
        { 1500, nullptr, "1", 1024 }, // truncated to a multiple of 1024
        { -3000, nullptr, "-2", -2048 }, // truncation goes toward zero
        { INT_MAX, nullptr, "2097151", 2147482624 },
        // Beyond what a 32-bit byte count holds: the largest whole-kilobyte
        // limit, never a wrapped negative one.
        { 0, "2097152", "0", 2147482624 },
        { 0, "99999999999", "0", 2147482624 },
    };
    for (const Case& c : cases) {
        const KbRun r = RunKilobytes(c.bytes, c.typed);
        EXPECT_EQ(r.shown, c.shown) << c.bytes;
        EXPECT_EQ(r.stored, c.stored) << c.bytes << " typed " << (c.typed ? c.typed : "-");
    }
}

TEST(AnalysisSettingDlg, DefaultButtonsResetTheirFieldAndDiscardUnreadTyping)
{
    Settings s = Sample();
    s.m_sAnalsysFileEx = "txt";
    s.m_sAnalsysTag = "data";
    CAnalysisSettingDlg dlg;
    dlg.CopyIn(s);
    dlg.OnInitDialog();
    dlg.controls.SetText(CAnalysisSettingDlg::kIdTag, "typed,tags");
    dlg.controls.SetText(CAnalysisSettingDlg::kIdKBytes, "77");
    dlg.OnDefaultFileEx();
    EXPECT_EQ(dlg.controls.Text(CAnalysisSettingDlg::kIdFileEx), "htm,html,shtm,shtml,cgi,mtxt");
    EXPECT_EQ(dlg.controls.Text(CAnalysisSettingDlg::kIdTag), "data");
    EXPECT_EQ(dlg.controls.Text(CAnalysisSettingDlg::kIdKBytes), "300");

    dlg.controls.SetText(CAnalysisSettingDlg::kIdFileEx, "typed");
    dlg.OnDefaultTag();
    EXPECT_EQ(dlg.controls.Text(CAnalysisSettingDlg::kIdTag), "href,background,src");
    EXPECT_EQ(dlg.controls.Text(CAnalysisSettingDlg::kIdFileEx), "htm,html,shtm,shtml,cgi,mtxt");
}

TEST(AnalysisSettingDlg, TodaysRulesAreOneCheckBox)
{
    for (const auto& [stored, checked, back] : {std::tuple {0, 0, 0}, {1, 1, 1}, {7, 0, 0}}) {
        Settings s = Sample();
        s.m_nWebRules = stored;
        CAnalysisSettingDlg dlg;
        dlg.CopyIn(s);
        dlg.OnInitDialog();
        EXPECT_EQ(dlg.controls.State(CAnalysisSettingDlg::kIdWebRulesToday), checked) << stored;
        platform::HeadlessUi ui;
        ASSERT_TRUE(dlg.OnOK(ui));
        dlg.CopyBack(s);
        EXPECT_EQ(s.m_nWebRules, back) << stored;
    }
}

TEST(AnalysisSettingDlg, LinkConversionFollowsTheRulesUntilTheUserDisagrees)
{
    // stored setting, rules, then: shown, what the user ticks, stored again
    const int cases[][5] = {
        {-1, 0, 0, 0, -1}, {-1, 1, 1, 1, -1}, {-1, 0, 0, 1, 1}, {-1, 1, 1, 0, 0}, {1, 0, 1, 0, -1}, {0, 1, 0, 0, 0},
    };
    for (const auto& c : cases) {
        Settings s = Sample();
        s.m_bConvertLinks = c[0];
        s.m_nWebRules = c[1];
        CAnalysisSettingDlg dlg;
        dlg.CopyIn(s);
        dlg.OnInitDialog();
        EXPECT_EQ(dlg.controls.State(CAnalysisSettingDlg::kIdConvertLinks), c[2]) << c[0] << c[1];
        dlg.controls.SetState(CAnalysisSettingDlg::kIdConvertLinks, c[3]);
        platform::HeadlessUi ui;
        ASSERT_TRUE(dlg.OnOK(ui));
        dlg.CopyBack(s);
        EXPECT_EQ(s.m_bConvertLinks, c[4]) << c[0] << c[1] << c[3];
    }
}

TEST(AnalysisSettingDlg, RequestFieldsAreCheckedBeforeTheyAreTaken)
{
    test::TempDir dir;
    test::WriteFileBytes(dir / "cookies.txt", "# Netscape HTTP Cookie File\n");
    Settings s = Sample();
    s.m_sHeaders = "X-A: 1\r\n";
    s.m_nRobots = 2;
    CAnalysisSettingDlg dlg;
    dlg.CopyIn(s);
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.controls.Text(CAnalysisSettingDlg::kIdHeaders), "X-A: 1\r\n");
    EXPECT_EQ(dlg.controls.State(CAnalysisSettingDlg::kIdRobots), 2);

    platform::HeadlessUi ui;
    ui.QueuePick(dir / "cookies.txt");
    dlg.controls.SetText(CAnalysisSettingDlg::kIdUserAgent, "Typed/1");
    dlg.OnBrowseCookies(ui);
    EXPECT_EQ(dlg.controls.Text(CAnalysisSettingDlg::kIdCookieFile), dir / "cookies.txt");
    EXPECT_EQ(dlg.controls.Text(CAnalysisSettingDlg::kIdUserAgent), "Typed/1") << "browsing read the typing first";

    // A header without a name, then an unreadable cookies file, keep the
    // dialog open and say why; fixed, OK takes every field.
    dlg.controls.SetText(CAnalysisSettingDlg::kIdHeaders, "X-A: 1\r\nno header here\r\n");
    EXPECT_FALSE(dlg.OnOK(ui));
    dlg.controls.SetText(CAnalysisSettingDlg::kIdHeaders, "X-A: 1\r\nX-B: 2");
    dlg.controls.SetText(CAnalysisSettingDlg::kIdCookieFile, dir / "gone.txt");
    EXPECT_FALSE(dlg.OnOK(ui));
    const auto boxes = ui.CallsOf("MessageBox");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, res::kCaptionInputError);
    EXPECT_NE(boxes[1].text.find("gone.txt"), std::string::npos);
    dlg.controls.SetText(CAnalysisSettingDlg::kIdCookieFile, dir / "cookies.txt");
    dlg.controls.SetState(CAnalysisSettingDlg::kIdRobots, 1);
    ASSERT_TRUE(dlg.OnOK(ui));
    Settings back = Sample();
    dlg.CopyBack(back);
    EXPECT_EQ(back.m_sCookieFile, dir / "cookies.txt");
    EXPECT_EQ(back.m_sUserAgent, "Typed/1");
    EXPECT_EQ(back.m_sHeaders, "X-A: 1\r\nX-B: 2");
    EXPECT_EQ(back.m_nRobots, 1);
}

TEST(ShortcutSettingDlg, FolderPickerReadsTypedControlsAndTakesOnlyANewFolder)
{
    CShortcutSettingDlg dlg;
    dlg.CopyIn(Sample());
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.controls.State(CShortcutSettingDlg::kIdShortCut), 1);
    EXPECT_EQ(dlg.controls.State(CShortcutSettingDlg::kIdShortCutKind), 1);

    platform::HeadlessUi ui;
    dlg.controls.SetText(CShortcutSettingDlg::kIdShortCutPath, "/typed/");
    dlg.OnBrowse(ui); // cancelled
    EXPECT_EQ(dlg.m_sShortCutPath, "/typed/");
    EXPECT_EQ(dlg.controls.Text(CShortcutSettingDlg::kIdShortCutPath), "/typed/");

    dlg.controls.SetState(CShortcutSettingDlg::kIdShortCutKind, 0);
    ui.QueuePick("/home/u/desk");
    dlg.OnBrowse(ui);
    EXPECT_EQ(dlg.m_sShortCutPath, "/home/u/desk/");
    EXPECT_EQ(dlg.controls.Text(CShortcutSettingDlg::kIdShortCutPath), "/home/u/desk/");
    EXPECT_EQ(dlg.m_nShortCutKind, 0) << "the picker read the radio choice first";
    EXPECT_EQ(ui.CallsOf("PickFolder").size(), 2u);
}

TEST(ShortcutSettingDlg, ChoiceClicksReadTheControlsAndHelpExplains)
{
    Settings s = Sample();
    s.m_bShortCut = 5;
    CShortcutSettingDlg dlg;
    dlg.CopyIn(s);
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.m_bShortCut, 0);
    dlg.controls.SetState(CShortcutSettingDlg::kIdShortCut, 1);
    dlg.controls.SetText(CShortcutSettingDlg::kIdShortCutPath, "/x/");
    dlg.OnClickChoice();
    EXPECT_EQ(dlg.m_bShortCut, 1);
    EXPECT_EQ(dlg.m_sShortCutPath, "/x/");

    platform::HeadlessUi ui;
    dlg.OnHelp(ui);
    const auto boxes = ui.CallsOf("MessageBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, res::kMsgShortcutHelp);
    EXPECT_EQ(boxes[0].caption, res::kCaptionShortcutHelp);
}

TEST(ManualDlg, ShowsTheManualLineByLineEndingInTwoEmptyLines)
{
    CManualDlg dlg;
    dlg.OnInitDialog();
    const std::string& text = dlg.controls.Text(CManualDlg::kIdText);
    EXPECT_EQ(text, dlg.m_sText);
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
        lines.push_back(text.substr(from, at - from));
    lines.push_back(text.substr(from));
    ASSERT_EQ(lines.size(), 12u);
    const std::string ideographicSpace = "\x81\x40";
    for (int i : { 1, 2, 5, 6 })
        EXPECT_EQ(lines[i].substr(0, 2), ideographicSpace) << "line " << i + 1;
    for (int i : { 3, 7, 10, 11 })
        EXPECT_EQ(lines[i], "") << "line " << i + 1;
    for (const std::string& line : lines)
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "no bare line ends";
}

TEST(DialogTable, EveryModelControlHasItsRowAndEveryDialogItsButtons)
{
    struct Expect {
        int idd;
        std::set<int> ids;
    };
    const Expect expected[] = {
        { 129, { 1012, 1013, 1014, 1015, 1028, 1029, 1030, 1031, 1022, 1023, 1024, 1025, 1048 } },
        { 134, { 1033, 1026, 1044, 1027, 1045, 1053, 1054, 1055 } },
        { 135, { 1016, 1035, 1034, 1036, 1037, 1060, 1061, 1062, 1063, 1064, 1065, 1066, 1067, 1068 } },
        { 141, { 1049, 1012, 1013, 1015, 1050, 1051 } },
        { 136, { 1002 } },
        { 133, { 1032 } },
    };
    for (const Expect& e : expected) {
        const res::DialogSpec* d = res::FindDialog(e.idd);
        ASSERT_NE(d, nullptr) << e.idd;
        EXPECT_NE(d->ok, nullptr);
        EXPECT_EQ(d->cancel == nullptr, e.idd == 133) << e.idd;
        std::set<int> ids;
        int open = 0;
        for (const res::ControlSpec& c : res::ControlsOf(e.idd)) {
            if (c.id != 0)
                ids.insert(c.id);
            open += c.kind == res::ControlKind::Group ? 1 : c.kind == res::ControlKind::GroupEnd ? -1 : 0;
            EXPECT_TRUE(open == 0 || open == 1) << e.idd << ": groups do not nest";
        }
        EXPECT_EQ(open, 0) << e.idd;
        EXPECT_EQ(ids, e.ids) << e.idd;
    }
    EXPECT_EQ(res::FindDialog(999), nullptr);
    EXPECT_TRUE(res::ControlsOf(999).empty());
}

} // namespace
} // namespace zorone
