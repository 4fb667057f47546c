#include "qt/settings_dialogs.h"

#include "platform/headless_ui.h"
#include "qt/qt_text.h"
#include "res/dialogs.h"
#include "res/texts.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

namespace zorone::test {
namespace {

using qt::SettingsDialog;

template <typename T> T* Widget(SettingsDialog& dialog, int id)
{
    auto* widget = qobject_cast<T*>(dialog.Control(id));
    EXPECT_NE(widget, nullptr) << "control " << id;
    return widget;
}

QString Text(SettingsDialog& dialog, int id)
{
    return Widget<QLineEdit>(dialog, id)->text();
}

bool Checked(SettingsDialog& dialog, int id)
{
    return Widget<QAbstractButton>(dialog, id)->isChecked();
}

void Click(SettingsDialog& dialog, int id)
{
    Widget<QAbstractButton>(dialog, id)->click();
}

void Retype(SettingsDialog& dialog, int id, const char* utf8)
{
    QLineEdit* edit = Widget<QLineEdit>(dialog, id);
    edit->clear();
    // One character at a time, as typed: each goes through the validator.
    for (const QChar ch : QString::fromUtf8(utf8))
        edit->insert(QString(ch));
}

// Every dialog shows the title, buttons and captions of its table rows.
TEST(SettingsDialogTest, BuiltFromTheDialogTable)
{
    platform::HeadlessUi ui;
    CActionSettingDlg action;
    CItemSettingDlg item;
    CAnalysisSettingDlg analysis;
    CShortcutSettingDlg shortcut;
    CAddressDlg address;
    CManualDlg manual;
    const std::pair<int, DialogModel*> dialogs[] = { { 129, &action }, { 134, &item }, { 135, &analysis },
        { 141, &shortcut }, { 136, &address }, { 133, &manual } };
    for (const auto& [idd, model] : dialogs) {
        SCOPED_TRACE(idd);
        SettingsDialog dialog(idd, *model, ui);
        const res::DialogSpec* design = res::FindDialog(idd);
        EXPECT_EQ(dialog.windowTitle(), qt::ToQt(*design->title));
        EXPECT_EQ(Widget<QAbstractButton>(dialog, qt::kIdOk)->text(), qt::ToQt(*design->ok));
        EXPECT_EQ(dialog.Control(qt::kIdCancel) != nullptr, design->cancel != nullptr);
        if (design->cancel) {
            EXPECT_EQ(Widget<QAbstractButton>(dialog, qt::kIdCancel)->text(), qt::ToQt(*design->cancel));
        }
        QStringList labels;
        for (QLabel* label : dialog.findChildren<QLabel*>())
            labels << label->text();
        QStringList groups;
        for (QGroupBox* group : dialog.findChildren<QGroupBox*>())
            groups << group->title();
        for (const res::ControlSpec& c : res::ControlsOf(idd)) {
            const QString caption = c.caption ? qt::ToQt(*c.caption) : QString();
            if (c.kind == res::ControlKind::Label) {
                EXPECT_TRUE(labels.contains(caption)) << caption.toStdString();
            } else if (c.kind == res::ControlKind::Group) {
                EXPECT_TRUE(groups.contains(caption)) << caption.toStdString();
            } else if (c.id != 0 && c.caption) {
                EXPECT_EQ(Widget<QAbstractButton>(dialog, c.id)->text(), caption);
            } else if (c.id != 0) {
                EXPECT_NE(dialog.Control(c.id), nullptr) << c.id;
            }
        }
    }
}

TEST(SettingsDialogTest, ActionDialogShowsAndReadsEveryKindOfControl)
{
    platform::HeadlessUi ui;
    Settings s;
    s.m_nPriorityEx = 2;
    s.m_sPriorityEx_Other = "jpg,gif";
    s.m_nOtherSite = 7; // outside the group: no button selected
    s.m_sOtherSiteEx = "zip";
    s.m_nKaisouKind = 1;
    s.m_nKaisou = 3;
    s.m_nMultiDownloadMax = 4;
    CActionSettingDlg dlg;
    dlg.CopyIn(s);
    dlg.OnInitDialog();
    auto dialog = qt::MakeSettingsDialog(dlg, ui, nullptr);

    EXPECT_TRUE(Checked(*dialog, 1014));
    EXPECT_FALSE(Checked(*dialog, 1012) || Checked(*dialog, 1013));
    EXPECT_FALSE(Checked(*dialog, 1028) || Checked(*dialog, 1029) || Checked(*dialog, 1030));
    EXPECT_TRUE(Checked(*dialog, 1023));
    EXPECT_EQ(Text(*dialog, 1015), "jpg,gif");
    EXPECT_EQ(Text(*dialog, 1025), "3");
    EXPECT_EQ(Text(*dialog, 1048), "4");

    Click(*dialog, 1012);
    Retype(*dialog, 1015, "ＤＢ,mp3");
    Retype(*dialog, 1048, "12");
    Click(*dialog, qt::kIdOk);
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    dlg.CopyBack(s);
    EXPECT_EQ(s.m_nPriorityEx, 0);
    EXPECT_EQ(s.m_sPriorityEx_Other, qt::FromQt(QString::fromUtf8("ＤＢ,mp3")));
    EXPECT_EQ(s.m_nOtherSite, -1);
    EXPECT_EQ(s.m_sOtherSiteEx, "zip");
    EXPECT_EQ(s.m_nKaisouKind, 1);
    EXPECT_EQ(s.m_nMultiDownloadMax, 12);
    EXPECT_TRUE(ui.CallsOf("MessageBox").empty());
}

TEST(SettingsDialogTest, EmptyIntegerFieldKeepsTheDialogOpenOnThatField)
{
    platform::HeadlessUi ui;
    CActionSettingDlg dlg;
    dlg.m_nKaisou = 2;
    dlg.m_nMultiDownloadMax = 1;
    dlg.OnInitDialog();
    auto dialog = qt::MakeSettingsDialog(dlg, ui, nullptr);
    dialog->show();
    Widget<QLineEdit>(*dialog, 1025)->clear();
    Retype(*dialog, 1048, "6");
    Click(*dialog, qt::kIdOk);

    ASSERT_EQ(ui.CallsOf("MessageBox").size(), 1u);
    EXPECT_EQ(ui.CallsOf("MessageBox")[0].text, res::kMsgEnterInteger);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->focusWidget(), dialog->Control(1025));
    EXPECT_EQ(dlg.m_nMultiDownloadMax, 1);

    Retype(*dialog, 1025, "5");
    Click(*dialog, qt::kIdOk);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_nKaisou, 5);
    EXPECT_EQ(dlg.m_nMultiDownloadMax, 6);
}

TEST(SettingsDialogTest, IntegerFieldsTakeDigitsOnlyAndKilobytesNeverOverflow)
{
    struct Case {
        int bytes;
        const char* shown;
        const char* typed; // nullptr: confirmed unchanged
        int stored;
    };
    const Case cases[] = {
        { 307200, "300", nullptr, 307200 },
        { 1500, "1", nullptr, 1024 },
        { 307200, "300", "1", 1024 },
        { 307200, "300", "0", 0 },
        { 307200, "300", "-1x2", 12 * 1024 },
        { 0, "0", "99999999999999", 2097151 * 1024 },
    };
    platform::HeadlessUi ui;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        Settings s;
        s.m_nBytes = c.bytes;
        CAnalysisSettingDlg dlg;
        dlg.CopyIn(s);
        dlg.OnInitDialog();
        auto dialog = qt::MakeSettingsDialog(dlg, ui, nullptr);
        EXPECT_EQ(Text(*dialog, 1016), c.shown);
        if (c.typed)
            Retype(*dialog, 1016, c.typed);
        EXPECT_LE(Text(*dialog, 1016).size(), 10);
        Click(*dialog, qt::kIdOk);
        ASSERT_EQ(dialog->result(), QDialog::Accepted);
        dlg.CopyBack(s);
        EXPECT_EQ(s.m_nBytes, c.stored);
    }
}

TEST(SettingsDialogTest, DefaultButtonRewritesAllThreeFields)
{
    platform::HeadlessUi ui;
    CAnalysisSettingDlg dlg;
    dlg.m_nKBytes = 300;
    dlg.m_sAnalsysFileEx = "htm";
    dlg.m_sAnalsysTag = "src";
    dlg.OnInitDialog();
    auto dialog = qt::MakeSettingsDialog(dlg, ui, nullptr);
    Retype(*dialog, 1016, "7");
    Retype(*dialog, 1035, "txt");
    Retype(*dialog, 1036, "href");

    Click(*dialog, 1034);
    EXPECT_EQ(Text(*dialog, 1035), "htm,html,shtm,shtml,cgi,mtxt");
    EXPECT_EQ(Text(*dialog, 1036), "src");
    EXPECT_EQ(Text(*dialog, 1016), "300");

    Click(*dialog, 1037);
    EXPECT_EQ(Text(*dialog, 1036), "href,background,src");
    EXPECT_EQ(Text(*dialog, 1035), "htm,html,shtm,shtml,cgi,mtxt");
}

TEST(SettingsDialogTest, ShortcutDialogPicksAFolderAndExplainsItself)
{
    platform::HeadlessUi ui;
    CShortcutSettingDlg dlg;
    dlg.m_bShortCut = 5;
    dlg.m_nShortCutKind = 1;
    dlg.m_sShortCutPath = "/old/";
    dlg.OnInitDialog();
    auto dialog = qt::MakeSettingsDialog(dlg, ui, nullptr);
    EXPECT_FALSE(Checked(*dialog, 1049));
    EXPECT_TRUE(Checked(*dialog, 1013));

    Click(*dialog, 1050); // picker cancelled: the path stays
    EXPECT_EQ(Text(*dialog, 1015), "/old/");
    ui.QueuePick(qt::FromQt(QString::fromUtf8("/home/u/リンク"))); // pickers answer in CP932
    Click(*dialog, 1050);
    EXPECT_EQ(Text(*dialog, 1015), QString::fromUtf8("/home/u/リンク/"));

    Click(*dialog, 1051);
    ASSERT_EQ(ui.CallsOf("MessageBox").size(), 1u);
    EXPECT_EQ(ui.CallsOf("MessageBox")[0].text, res::kMsgShortcutHelp);
    EXPECT_EQ(ui.CallsOf("MessageBox")[0].caption, res::kCaptionShortcutHelp);

    Click(*dialog, 1049);
    EXPECT_EQ(dlg.m_bShortCut, 1); // a click reads the controls at once
    Click(*dialog, qt::kIdOk);
    ASSERT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_sShortCutPath, qt::FromQt(QString::fromUtf8("/home/u/リンク/")));
    EXPECT_EQ(dlg.m_nShortCutKind, 1);
}

TEST(SettingsDialogTest, ManualShowsItsLinesReadOnly)
{
    platform::HeadlessUi ui;
    CManualDlg dlg;
    dlg.OnInitDialog();
    auto dialog = qt::MakeSettingsDialog(dlg, ui, nullptr);
    auto* text = Widget<QPlainTextEdit>(*dialog, 1032);
    EXPECT_TRUE(text->isReadOnly());
    const QStringList lines = text->toPlainText().split(u'\n');
    ASSERT_GE(lines.size(), 10);
    EXPECT_EQ(lines[0], QString::fromUtf8("①通常ダイアログ"));
    EXPECT_EQ(lines[9], QString::fromUtf8("保存先の設定・・・フォルダをドラッグ＆ドロップすることで設定される。"));
}

} // namespace
} // namespace zorone::test
