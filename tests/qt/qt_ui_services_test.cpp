#include "qt/qt_ui_services.h"

#include "platform/code_page.h"
#include "res/texts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

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
