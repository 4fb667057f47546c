#include "qt/list_dialogs.h"

#include "platform/headless_ui.h"
#include "qt/qt_text.h"
#include "qt/settings_dialogs.h"
#include "res/texts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

namespace zorone::test {
namespace {

template <typename T> T* Child(QDialog& dialog, int id)
{
    auto* widget = dialog.findChild<T*>(QString::number(id));
    EXPECT_NE(widget, nullptr) << id;
    return widget;
}

QStringList Labels(QDialog& dialog)
{
    QStringList texts;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

TEST(KeywordSaveDialogTest, ShowsItsRowsAndButtons)
{
    platform::HeadlessUi ui;
    CKeywordSaveDlg fields;
    qt::KeywordSaveDialog dialog(fields, ui);
    EXPECT_EQ(dialog.windowTitle(), qt::ToQt(res::kTitleKeywordSave));
    EXPECT_TRUE(Labels(dialog).contains(qt::ToQt(res::kLabelKeyword)));
    const std::pair<int, const std::string*> checks[] = { { 1038, &res::kCheckKeyResult },
        { 1039, &res::kCheckKeyFileName }, { 1040, &res::kCheckKeyExt }, { 1041, &res::kCheckKeyUrl } };
    for (const auto& [id, caption] : checks) {
        EXPECT_EQ(Child<QCheckBox>(dialog, id)->text(), qt::ToQt(*caption));
        EXPECT_FALSE(Child<QCheckBox>(dialog, id)->isChecked());
        EXPECT_EQ(Child<QLineEdit>(dialog, id + 4)->text(), "");
    }
    EXPECT_EQ(Child<QAbstractButton>(dialog, qt::kIdOk)->text(), qt::ToQt(res::kButtonRun));
    EXPECT_EQ(Child<QAbstractButton>(dialog, qt::kIdCancel)->text(), qt::ToQt(res::kButtonCancel));
}

TEST(KeywordSaveDialogTest, RunStaysOpenUntilATargetAndAKeywordAreGiven)
{
    platform::HeadlessUi ui;
    CKeywordSaveDlg fields;
    qt::KeywordSaveDialog dialog(fields, ui);
    dialog.show();
    const auto run = [&] { Child<QAbstractButton>(dialog, qt::kIdOk)->click(); };

    run();
    Child<QCheckBox>(dialog, 1039)->setChecked(true);
    run();
    const auto messages = ui.CallsOf("MessageBox");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, res::kMsgNoKeywordTarget);
    EXPECT_EQ(messages[1].text, res::kMsgNoKeyword);
    EXPECT_EQ(messages[1].caption, res::kCaptionInputError);
    EXPECT_TRUE(dialog.isVisible());

    // A keyword under a clear box is enough to pass.
    Child<QLineEdit>(dialog, 1045)->setText(QString::fromUtf8(".jpg"));
    run();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(fields.m_bUseFileName, 1);
    EXPECT_EQ(fields.m_bUseURL, 0);
    EXPECT_EQ(fields.m_sKeyFileName, "");
    EXPECT_EQ(fields.m_sKeyURL, ".jpg");
}

TEST(ItemEditDialogTest, OffersTheFiveMarksAndKeepsTheIdeographicZero)
{
    CItemEditDlg fields { res::kMarkDone, "http://a.invalid/x.htm" };
    qt::ItemEditDialog dialog(fields);
    EXPECT_EQ(dialog.windowTitle(), qt::ToQt(res::kTitleItemEdit));
    const QStringList labels = Labels(dialog);
    EXPECT_TRUE(labels.contains(qt::ToQt(res::kLabelItemMark)));
    EXPECT_TRUE(labels.contains(qt::ToQt(res::kLabelItemUrl)));
    EXPECT_TRUE(labels.contains(qt::ToQt(res::kFullColon)));
    EXPECT_EQ(Child<QAbstractButton>(dialog, qt::kIdOk)->text(), qt::ToQt(res::kButtonApply));

    auto* mark = Child<QComboBox>(dialog, 1043);
    ASSERT_TRUE(mark->isEditable());
    ASSERT_EQ(mark->count(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(qt::FromQt(mark->itemText(i)), ItemEditMarks()[static_cast<size_t>(i)]) << i;
    EXPECT_EQ(mark->currentText(), qt::ToQt(res::kMarkDone));
    EXPECT_EQ(Child<QLineEdit>(dialog, 1045)->text(), "http://a.invalid/x.htm");

    mark->setCurrentIndex(2);
    Child<QLineEdit>(dialog, 1045)->setText("http://a.invalid/dir/");
    Child<QAbstractButton>(dialog, qt::kIdOk)->click();
    EXPECT_EQ(fields.m_sMark, "\x81\x5A");
    EXPECT_EQ(fields.m_sURL, "http://a.invalid/dir/");
}

TEST(ListDialogRunnersTest, ReturnOkOnlyForTheOkButton)
{
    platform::HeadlessUi ui;
    const ListDialogs dialogs = qt::MakeQtListDialogs(nullptr, &ui);
    const auto whenModal = [](std::function<void(QDialog&)> script) {
        QTimer::singleShot(0, [script] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            script(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
    };

    CItemEditDlg typed;
    whenModal([](QDialog& d) {
        Child<QComboBox>(d, 1043)->setEditText(qt::ToQt(res::kMarkDone));
        Child<QAbstractButton>(d, qt::kIdOk)->click();
    });
    EXPECT_TRUE(dialogs.itemEdit(typed));
    EXPECT_EQ(typed.m_sMark, res::kMarkDone);

    CItemEditDlg cancelled { "x", "u" };
    whenModal([](QDialog& d) {
        Child<QLineEdit>(d, 1045)->setText("changed");
        Child<QAbstractButton>(d, qt::kIdCancel)->click();
    });
    EXPECT_FALSE(dialogs.itemEdit(cancelled));
    EXPECT_EQ(cancelled.m_sURL, "u");

    CKeywordSaveDlg keywords;
    whenModal([](QDialog& d) { Child<QAbstractButton>(d, qt::kIdOk)->click(); });
    EXPECT_FALSE(dialogs.keywordSave(keywords)); // refused, then closed
    EXPECT_EQ(ui.CallsOf("MessageBox").size(), 1u);
}

} // namespace
} // namespace zorone::test
