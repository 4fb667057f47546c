#include "qt/qt_ui_services.h"

#include "platform/code_page.h"
#include "qt/qt_translations.h"
#include "res/texts.h"
#include "tests/qt/user_at_screen.h"
#include "tests/support/temp_dir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>

namespace zorone::test {
namespace {

using platform::MbAnswer;
using platform::MbButtons;

TEST(NameFilterTest, ListFilterBecomesQtFilter)
{
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        { "CSV (*.csv)|*.csv|", "CSV (*.csv) (*.csv)" },
        { "List|*.csv;*.txt;*.lst|All|*.*|", "List (*.csv *.txt *.lst);;All (*)" },
        { "", "" },
        { "Dangling|", "" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(qt::ToQtNameFilter(QString::fromUtf8(c.in)).toStdString(), c.out) << c.in;
}

TEST(NameFilterTest, SavedNamesTakeTheChosenFiltersExtension)
{
    struct Case {
        const char* path;
        const char* filter;
        const char* out;
    };
    const Case cases[] = {
        { "/home/u/list", "CSV(ｶﾝﾏ区切り) (*.csv)", "/home/u/list.csv" },
        { "/home/u/list", "ﾀﾞｳﾝﾛｰﾄﾞﾃﾞｰﾀ(*.txt) (*.txt)", "/home/u/list.txt" },
        { "/home/u/list.lst", "CSV(ｶﾝﾏ区切り) (*.csv)", "/home/u/list.lst" }, // the user's own extension stays
        { "/home/u.d/list", "URLリスト (*.lst)", "/home/u.d/list.lst" }, // a dot in a folder is no extension
        { "/home/u/list", "すべて (*)", "/home/u/list" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(qt::WithFilterExtension(QString::fromUtf8(c.path), QString::fromUtf8(c.filter)).toStdString(), c.out)
            << c.path;
}

TEST(QtTranslationsTest, QtsOwnButtonsSpeakJapanese)
{
    ASSERT_TRUE(qt::InstallQtTranslations(*QCoreApplication::instance()));
    QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Save);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8("キャンセル"));
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
}

// A stand-in for the desktop's opener in a folder put first on PATH: it
// fails (as when no program is set for the target) for targets containing
// "nohandler" and succeeds for any other.
class OpenerOnPath : public ::testing::Test {
protected:
    OpenerOnPath()
    {
        m_oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        ::setenv("PATH", (bin.Path() + ":" + m_oldPath).c_str(), 1);
    }
    ~OpenerOnPath() override { ::setenv("PATH", m_oldPath.c_str(), 1); }

    void InstallOpener()
    {
        const std::string script = bin / qt::QtUiServices::kOpener;
        WriteFileBytes(script, "#!/bin/sh\ncase \"$1\" in *nohandler*) exit 3;; esac\nexit 0\n");
        ::chmod(script.c_str(), 0755);
    }

    TempDir bin;

private:
    std::string m_oldPath;
};

TEST_F(OpenerOnPath, SaysSoWhenNothingCanOpenTheTarget)
{
    InstallOpener();
    qt::QtUiServices ui;
    UserAtScreen user;
    EXPECT_TRUE(ui.ShellOpen("http://127.0.0.1:9/page.html"));
    EXPECT_TRUE(ui.ShellOpen("/tmp/nohandler/index.htm"));
    ASSERT_TRUE(PumpUntil([&] { return !user.Boxes().empty(); }));
    ASSERT_EQ(user.Boxes().size(), 1u);
    EXPECT_EQ(user.Boxes()[0].caption, QString::fromUtf8("警告"));
    EXPECT_EQ(user.Boxes()[0].text,
        QString::fromUtf8("開くためのアプリケーションが見つかりません。\n/tmp/nohandler/index.htm"));
}

TEST_F(OpenerOnPath, SaysSoWhenTheDesktopHasNoOpenerAtAll)
{
    ::setenv("PATH", bin.Path().c_str(), 1);
    qt::QtUiServices ui;
    UserAtScreen user;
    ui.ShellOpen("http://127.0.0.1:9/");
    ASSERT_TRUE(PumpUntil([&] { return !user.Boxes().empty(); }));
    EXPECT_TRUE(user.Boxes()[0].text.endsWith(QStringLiteral("http://127.0.0.1:9/")));
}

// Answers the next message box by pressing the button with this caption,
// once the box runs its own loop, and records what the box showed.
struct BoxAnswerer {
    QString press;
    QString caption;
    QString text;
    QStringList buttons;

    void Arm()
    {
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            caption = box->windowTitle();
            text = box->text();
            for (QAbstractButton* b : box->buttons())
                buttons << b->text();
            for (QAbstractButton* b : box->buttons())
                if (b->text() == press)
                    b->click();
            if (press.isEmpty())
                box->reject();
        });
    }
};

TEST(QtUiServicesTest, MessageBoxesSpeakJapaneseAndReturnTheAnswer)
{
    qt::QtUiServices ui;
    struct Case {
        MbButtons buttons;
        const char* press; // "" closes the box without a button
        MbAnswer expected;
        QStringList shown;
    };
    const QString yes = QString::fromUtf8("はい");
    const QString no = QString::fromUtf8("いいえ");
    const QString cancel = QString::fromUtf8("キャンセル");
    const Case cases[] = {
        { MbButtons::Ok, "OK", MbAnswer::Ok, { "OK" } },
        { MbButtons::YesNo, "はい", MbAnswer::Yes, { yes, no } },
        { MbButtons::YesNo, "いいえ", MbAnswer::No, { yes, no } },
        { MbButtons::YesNo, "", MbAnswer::No, { yes, no } },
        { MbButtons::YesNoCancel, "キャンセル", MbAnswer::Cancel, { yes, no, cancel } },
        { MbButtons::YesNoCancel, "", MbAnswer::Cancel, { yes, no, cancel } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.press);
        BoxAnswerer answerer { QString::fromUtf8(c.press), {}, {}, {} };
        answerer.Arm();
        const MbAnswer answer
            = ui.MessageBox(platform::Utf8ToCp932("一行目\r\n二行目"), res::kCaptionQuestion, c.buttons);
        EXPECT_EQ(answer, c.expected);
        EXPECT_EQ(answerer.caption, QString::fromUtf8("質問"));
        EXPECT_EQ(answerer.text, QString::fromUtf8("一行目\n二行目"));
        QStringList shown = answerer.buttons;
        shown.sort();
        QStringList expected = c.shown;
        expected.sort();
        EXPECT_EQ(shown, expected);
    }
}

} // namespace
} // namespace zorone::test
