#include "qt/qt_dialog_runner.h"

#include "app/settings_commands.h"
#include "app/zorone_dlg.h"
#include "platform/headless_loop.h"
#include "platform/headless_ui.h"
#include "qt/qt_text.h"
#include "qt/settings_dialogs.h"
#include "res/texts.h"
#include "tests/support/temp_dir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace zorone::test {
namespace {

// Plays the user once the command's dialog runs modally. Whatever the
// script leaves open is cancelled, so a failing test cannot hang.
void WhenModal(std::function<void(QDialog&)> script)
{
    QTimer::singleShot(0, [script = std::move(script)] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        script(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

void Click(QDialog& dialog, int id)
{
    auto* button = dialog.findChild<QAbstractButton*>(QString::number(id));
    ASSERT_NE(button, nullptr) << id;
    button->click();
}

QLineEdit* Edit(QDialog& dialog, int id)
{
    return dialog.findChild<QLineEdit*>(QString::number(id));
}

class QtDialogRunnerTest : public ::testing::Test {
protected:
    QtDialogRunnerTest()
        : dlg(loop, ui, nullptr, home.Path() + "/")
        , runner(nullptr, &ui)
    {
    }

    Settings& settings() { return dlg.core().settings; }

    TempDir home;
    platform::HeadlessLoop loop;
    platform::HeadlessUi ui;
    CZoroneDlg dlg;
    qt::QtDialogRunner runner;
};

TEST_F(QtDialogRunnerTest, CancelKeepsSettingsAfterDefaultsAndPicker)
{
    settings().m_nBytes = 1500;
    settings().m_sAnalsysFileEx = "txt";
    settings().m_sAnalsysTag = "href";
    const Settings before = settings();
    WhenModal([](QDialog& d) {
        Click(d, 1034);
        Click(d, 1037);
        Edit(d, 1016)->setText("9");
        Click(d, qt::kIdCancel);
    });
    EditAnalysisSettings(dlg.core(), runner);

    ui.QueuePick("/picked");
    WhenModal([](QDialog& d) {
        Click(d, 1050);
        Click(d, 1049);
        Click(d, 1012);
        EXPECT_EQ(Edit(d, 1015)->text(), "/picked/");
        d.reject(); // Esc and the close box
    });
    EditShortcutSettings(dlg.core(), runner);

    EXPECT_EQ(settings().m_nBytes, before.m_nBytes);
    EXPECT_EQ(settings().m_sAnalsysFileEx, before.m_sAnalsysFileEx);
    EXPECT_EQ(settings().m_sAnalsysTag, before.m_sAnalsysTag);
    EXPECT_EQ(settings().m_sShortCutPath, before.m_sShortCutPath);
    EXPECT_EQ(settings().m_bShortCut, before.m_bShortCut);
    EXPECT_EQ(settings().m_nShortCutKind, before.m_nShortCutKind);
}

TEST_F(QtDialogRunnerTest, OkCopiesFlagsBackAsZeroOrOne)
{
    settings().m_bDownloadedDelete = 5;
    settings().m_bSaveExit = 1;
    WhenModal([](QDialog& d) {
        Click(d, 1033);
        Click(d, 1026);
        Click(d, qt::kIdOk);
    });
    EditItemSettings(dlg.core(), runner);
    EXPECT_EQ(settings().m_bDownloadedDelete, 1);
    EXPECT_EQ(settings().m_bSaveExit, 0);
}

TEST_F(QtDialogRunnerTest, AddressStartsEmptyAndAnEmptyOkClearsTheTopUrl)
{
    settings().m_sTopURL = "http://example.invalid/";
    QString shown = "unset";
    WhenModal([&](QDialog& d) {
        shown = Edit(d, 1002)->text();
        Click(d, qt::kIdOk);
    });
    EXPECT_TRUE(AskTopAddress(dlg.core(), runner));
    EXPECT_EQ(shown, "");
    EXPECT_EQ(settings().m_sTopURL, "");
}

} // namespace
} // namespace zorone::test
