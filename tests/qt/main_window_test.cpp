#include "app/command_ids.h"
#include "engine/data_exchange.h"
#include "engine/output.h"
#include "platform/code_page.h"
#include "qt/download_list_model.h"
#include "qt/qt_text.h"
#include "res/texts.h"
#include "tests/qt/window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>

#include <cctype>
#include <string>
#include <vector>

namespace zorone::test {
namespace {

using MainWindowTest = WindowFixture;

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// A menu as indented lines: "text id" for commands, "-" for separators,
// "text" for submenus, two blanks per level; "(grey)" marks disabled items.
void Flatten(const QList<QAction*>& actions, int depth, std::vector<std::string>& out)
{
    const std::string indent(static_cast<size_t>(depth) * 2, ' ');
    for (QAction* a : actions) {
        if (a->isSeparator()) {
            out.push_back(indent + "-");
        } else if (a->menu()) {
            out.push_back(indent + a->text().toStdString());
            Flatten(a->menu()->actions(), depth + 1, out);
        } else {
            std::string line = indent + a->text().toStdString() + " " + std::to_string(a->data().toInt());
            if (a->objectName() != QString::number(a->data().toInt()))
                line += " (objectName differs)";
            if (!a->isEnabled())
                line += " (grey)";
            out.push_back(line);
        }
    }
}

const std::vector<std::string> kCommandTree = {
    "ファイル",
    "  ダウンロードの保存 32773",
    "  ダウンロードの再開 32772",
    "  -",
    "  拡張保存",
    "    特定キーワード指定保存 32791",
    "操作",
    "  保存場所指定 32780",
    "  アドレス指定 32789",
    "  ゾロネ 32781",
    "  中断 32782",
    "  リスト",
    "    リスト情報 32797",
    "    ゾロネしなかったリンクの保存 32805",
    "    -",
    "    クリア 32783",
    "    重複URL削除 32794",
    "    -",
    "    開く 32795",
    "    編集 32792",
    "    削除 32793",
    "  -",
    "  閲覧(LocalFile) 32801",
    "  閲覧(オンライン) 32803",
    "  -",
    "  ウィザード 32790",
    "  -",
    "  操作方法 32786",
    "表示",
    "  ダウンロードファイル - [拡張子一覧] 32796",
    "常駐 32784",
    "設定",
    "  設定 - 動作 32774",
    "  設定 - アイテム 32787",
    "  設定 - 解析 32788",
    "  設定 - ショートカット 32799",
    "その他",
    "  ナン・ゾロネ？ 32776",
    "  -",
    "  サイト画像、一括閲覧ソフトダウンロード 32777",
    "  ファイル移動ソフト、ダウンロード 32798",
    "  最新版をダウンロード 32778 (grey)",
    "  作者のページへ　Go！ 32779",
    "終了 32771",
};

TEST_F(MainWindowTest, MenuBarHoldsTheCommandTree)
{
    std::vector<std::string> lines;
    Flatten(window->menuBar()->actions(), 0, lines);
    EXPECT_EQ(lines, kCommandTree);
}

TEST_F(MainWindowTest, WindowAndTrayPopUpsHoldTheSameTree)
{
    for (QMenu* popup : { window->WindowPopup(), window->TrayPopup() }) {
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(popup->title(), U("PopUp"));
        std::vector<std::string> lines;
        Flatten(popup->actions(), 0, lines);
        EXPECT_EQ(lines, kCommandTree);
    }
    EXPECT_NE(window->WindowPopup(), window->TrayPopup());
}

TEST_F(MainWindowTest, ListPopUpHoldsTheItemCommands)
{
    std::vector<std::string> lines;
    Flatten(window->ListPopup()->actions(), 0, lines);
    const std::vector<std::string> expected = {
        "開く 32795",
        "編集 32792",
        "削除 32793",
        "-",
        "重複URL削除 32794",
        "クリア 32783",
        "-",
        "リスト情報 32797",
    };
    EXPECT_EQ(lines, expected);
}

TEST_F(MainWindowTest, ControlsCarryTheirIdsAndCaptions)
{
    struct Expected {
        int id;
        const char* className;
        const char* text; // caption, or null for controls without one
    };
    const Expected table[] = {
        { 1047, "QComboBox", nullptr },
        { 1046, "QComboBox", nullptr },
        { 1001, "QPushButton", "参照(&O)" },
        { 1003, "QPushButton", "ゾロネ！(&G)" },
        { 1007, "QPushButton", "クリア(&C)" },
        { 1004, "QTableView", nullptr },
        { 1011, "QPlainTextEdit", nullptr },
        { 1009, "QLabel", "状況：" },
        { 1008, "QProgressBar", nullptr },
        { 1012, "QLabel", "：" },
    };
    for (const Expected& e : table) {
        SCOPED_TRACE(e.id);
        QWidget* w = window->Control(e.id);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->objectName(), QString::number(e.id));
        EXPECT_STREQ(w->metaObject()->className(), e.className);
        if (!e.text)
            continue;
        if (auto* button = qobject_cast<QPushButton*>(w))
            EXPECT_EQ(button->text(), U(e.text));
        else
            EXPECT_EQ(static_cast<QLabel*>(w)->text(), U(e.text));
    }

    QStringList labels;
    for (QLabel* label : window->findChildren<QLabel*>())
        if (label->objectName().isEmpty())
            labels << label->text();
    EXPECT_EQ(labels, (QStringList { U("URL"), U("保存場所"), U("ダウンロードファイルリスト：") }));

    EXPECT_EQ(window->windowTitle(), U("ホームページ ゾロネ!! Ver3.21"));
    EXPECT_TRUE(static_cast<QPlainTextEdit*>(window->Control(1011))->isReadOnly());
    EXPECT_TRUE(static_cast<QComboBox*>(window->Control(1047))->isEditable());
    EXPECT_TRUE(static_cast<QComboBox*>(window->Control(1046))->isEditable());
}

TEST_F(MainWindowTest, ListViewHasTheFiveColumns)
{
    QTableView* view = window->ListView();
    const char* headers[] = { "  ", "FileName", "拡張子", "サイズ", "URL" };
    const int widths[] = { 20, 100, 50, 60 };
    ASSERT_EQ(view->model()->columnCount(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(view->model()->headerData(i, Qt::Horizontal, Qt::DisplayRole).toString(), U(headers[i]));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(view->horizontalHeader()->sectionSize(i), widths[i]);
    // The URL column takes the width the others leave.
    EXPECT_TRUE(view->horizontalHeader()->stretchLastSection());
    EXPECT_EQ(view->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(view->selectionMode(), QAbstractItemView::ExtendedSelection);
}

// The command ids of a menu, top to bottom, as the flattened lines show them.
std::vector<int> IdsOf(const std::vector<std::string>& lines, bool withGreyed)
{
    std::vector<int> ids;
    for (std::string line : lines) {
        const bool greyed = line.ends_with(" (grey)");
        if (greyed)
            line.resize(line.size() - 7);
        const size_t space = line.rfind(' ');
        // Submenus and separators end in text, commands in their id.
        if (space == std::string::npos || !std::isdigit(static_cast<unsigned char>(line[space + 1])))
            continue;
        if (withGreyed || !greyed)
            ids.push_back(std::stoi(line.substr(space + 1)));
    }
    return ids;
}

void TriggerAll(const QList<QAction*>& actions)
{
    for (QAction* a : actions) {
        if (a->menu())
            TriggerAll(a->menu()->actions());
        else if (!a->isSeparator())
            a->trigger();
    }
}

TEST_F(MainWindowTest, MenusButtonsAndListSendTheirCommandIds)
{
    std::vector<int> received;
    for (int id : IdsOf(kCommandTree, true))
        dlg.Route(id, [&received, id] { received.push_back(id); });
    for (int id : { 1001, 1003, 1007 })
        dlg.Route(id, [&received, id] { received.push_back(id); });

    TriggerAll(window->menuBar()->actions());
    EXPECT_EQ(received, IdsOf(kCommandTree, false));
    received.clear();

    TriggerAll(window->WindowPopup()->actions());
    EXPECT_EQ(received, IdsOf(kCommandTree, false));
    received.clear();

    for (int id : { 1001, 1003, 1007 })
        static_cast<QPushButton*>(window->Control(id))->click();
    EXPECT_EQ(received, (std::vector<int> { 1001, 1003, 1007 }));
    received.clear();

    core().list.InsertItem(0, res::kMarkWaiting);
    QTableView* view = window->ListView();
    emit view->doubleClicked(view->model()->index(0, 1));
    EXPECT_EQ(received, (std::vector<int> { cmd::kEditItems }));

    int clickedColumn = -1;
    window->onColumnClick = [&](int column) { clickedColumn = column; };
    emit view->horizontalHeader()->sectionClicked(3);
    EXPECT_EQ(clickedColumn, 3);
}

TEST_F(MainWindowTest, RendersTheWindowModelOnlyWhenFlushed)
{
    WindowModel& model = core().window;
    auto* status = static_cast<QLabel*>(window->Control(1012));
    for (int i = 0; i < 1000; ++i) {
        model.statusText = std::to_string(i);
        model.Notify(WindowPart::Status);
    }
    model.startCaption = res::kCaptionAbort;
    model.Notify(WindowPart::StartCaption);
    model.summaryText = "total:1/2 ( 1/ 1)\r\nhtml:1/2";
    model.Notify(WindowPart::Summary);
    model.title = res::kTitlePrefix + "1/2 ( 1/ 1)";
    model.Notify(WindowPart::Title);
    model.progressLow = 0;
    model.progressHigh = 200;
    model.progressPos = 150;
    model.Notify(WindowPart::Progress);
    EXPECT_EQ(status->text(), U("："));

    window->FlushRendering();
    EXPECT_EQ(status->text(), U("999"));
    EXPECT_EQ(static_cast<QPushButton*>(window->Control(1003))->text(), U("中断(&G)"));
    EXPECT_EQ(static_cast<QPlainTextEdit*>(window->Control(1011))->toPlainText(), U("total:1/2 ( 1/ 1)\nhtml:1/2"));
    EXPECT_EQ(window->windowTitle(), U("ホームページ ゾロネ!!  1/2 ( 1/ 1)"));
    auto* bar = static_cast<QProgressBar*>(window->Control(1008));
    EXPECT_EQ(bar->maximum(), 200);
    EXPECT_EQ(bar->value(), 150);
}

TEST_F(MainWindowTest, EmptyProgressRangeShowsAnEmptyBarNotABusyOne)
{
    WindowModel& model = core().window;
    model.progressLow = 0;
    model.progressHigh = 0;
    model.progressPos = 0;
    model.Notify(WindowPart::Progress);
    window->FlushRendering();
    auto* bar = static_cast<QProgressBar*>(window->Control(1008));
    EXPECT_LT(bar->minimum(), bar->maximum());
    EXPECT_EQ(bar->value(), bar->minimum());
}

TEST_F(MainWindowTest, TrayFollowsTheModel)
{
    core().window.trayIcon = 144;
    core().window.trayTip = res::kTrayTip;
    core().window.Notify(WindowPart::Tray);
    window->FlushRendering();
    ASSERT_FALSE(ui.CallsOf("TrayModify").empty());
    EXPECT_EQ(ui.CallsOf("TrayModify").back().number, 144);
    EXPECT_EQ(ui.CallsOf("TrayModify").back().text, res::kTrayTip);
}

TEST_F(MainWindowTest, CombosShowTheModelAndWriteEditsBack)
{
    Core& c = core();
    c.window.urlCombo.AddString("http://b.example/");
    c.window.urlCombo.AddString("http://a.example/");
    c.window.folderCombo.InsertString(-1, platform::Utf8ToCp932("/tmp/ダウンロード/"));
    c.settings.m_sTopURL = "http://b";
    c.settings.m_sPath = platform::Utf8ToCp932("/tmp/ダ");
    WriteFieldsToControls(c);
    window->FlushRendering();

    auto* urlBox = static_cast<QComboBox*>(window->Control(1047));
    auto* folderBox = static_cast<QComboBox*>(window->Control(1046));
    ASSERT_EQ(urlBox->count(), 2);
    EXPECT_EQ(urlBox->itemText(0), U("http://a.example/"));
    // Only an exact entry is selected: what was typed is shown as typed.
    EXPECT_EQ(urlBox->currentText(), U("http://b"));
    EXPECT_EQ(folderBox->currentText(), U("/tmp/ダ"));
    // Rendering is not typing: the fields stay as they were.
    EXPECT_EQ(c.settings.m_sTopURL, "http://b");

    urlBox->lineEdit()->setText(U("http://new.example/"));
    EXPECT_EQ(c.window.urlCombo.EditText(), "http://new.example/");
    EXPECT_EQ(c.settings.m_sTopURL, "http://b");

    folderBox->lineEdit()->setText(U("/tmp/新しい/"));
    EXPECT_EQ(c.settings.m_sPath, platform::Utf8ToCp932("/tmp/新しい/"));
    EXPECT_EQ(c.settings.m_sTopURL, "http://new.example/");
}

TEST_F(MainWindowTest, SelectionReachesTheDialog)
{
    for (int i = 0; i < 8; ++i)
        core().list.InsertItem(i, res::kMarkWaiting);
    QItemSelectionModel* selection = window->ListView()->selectionModel();
    for (int row : { 5, 2, 7 })
        selection->select(
            window->ListView()->model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int> { 2, 5, 7 }));

    // A row inserted above moves the selection with its rows.
    core().list.InsertItem(0, res::kMarkWaiting);
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int> { 3, 6, 8 }));
}

void Press(QWidget* target, Qt::Key key)
{
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &e);
}

TEST_F(MainWindowTest, EnterStartsFromEitherFieldAndEscAsksBeforeTheExitFlow)
{
    int exits = 0;
    int starts = 0;
    dlg.Route(cmd::kExit, [&] { ++exits; });
    dlg.Route(cmd::kStartMenu, [&] { ++starts; });
    window->show();
    window->close();
    EXPECT_TRUE(window->isVisible()) << "the exit flow decides whether the window goes";
    EXPECT_EQ(exits, 1);

    for (int id : { 1047, 1046 }) {
        auto* box = static_cast<QComboBox*>(window->Control(id));
        box->setFocus();
        Press(box->lineEdit(), Qt::Key_Return);
        Press(box->lineEdit(), Qt::Key_Enter);
    }
    EXPECT_EQ(starts, 4);
    window->ListView()->setFocus();
    Press(window->ListView(), Qt::Key_Return);
    Press(window->FilterField(), Qt::Key_Return);
    EXPECT_EQ(starts, 4);
    EXPECT_EQ(exits, 1) << "Enter never ends the program";

    ui.QueueAnswer(platform::MbAnswer::No);
    Press(window.get(), Qt::Key_Escape);
    EXPECT_EQ(exits, 1);
    ui.QueueAnswer(platform::MbAnswer::Yes);
    Press(window.get(), Qt::Key_Escape);
    EXPECT_EQ(exits, 2);
    ASSERT_EQ(ui.CallsOf("MessageBox").size(), 2u);
    EXPECT_EQ(ui.CallsOf("MessageBox")[0].text, res::kMsgExitConfirm);

    // When the exit flow will ask to save the list, that is the question.
    core().m_bListModified = 1;
    core().settings.m_bSaveExit = 1;
    Press(window.get(), Qt::Key_Escape);
    EXPECT_EQ(exits, 3);
    EXPECT_EQ(ui.CallsOf("MessageBox").size(), 2u);
}

TEST_F(MainWindowTest, FilterShowsMatchingRowsWithoutTouchingTheList)
{
    const std::pair<const std::string*, const char*> rows[] = {
        { &res::kMarkDone, "http://h/a/one.html" },
        { &res::kMarkCross, "http://h/B/two.html" },
        { &res::kMarkWaiting, "http://h/b/three.gif" },
        { &res::kMarkActive, "http://h/b/four.html" },
        { &res::kMarkCross, "http://x/b/five.html" },
    };
    for (const auto& [mark, url] : rows) {
        const int row = core().list.InsertItem(core().list.GetItemCount(), *mark);
        core().list.SetItemText(row, kColUrl, url);
    }
    std::vector<std::string> before;
    for (int r = 0; r < 5; ++r)
        before.push_back(core().list.GetItemText(r, kColUrl));
    QAbstractItemModel* shown = window->ListView()->model();
    const auto shownUrls = [&] {
        QStringList urls;
        for (int r = 0; r < shown->rowCount(); ++r)
            urls << shown->index(r, kColUrl).data().toString();
        return urls.join(u' ');
    };

    window->FilterField()->setText(U("/b/"));
    EXPECT_EQ(shownUrls(), U("http://h/B/two.html http://h/b/three.gif http://h/b/four.html http://x/b/five.html"));
    window->MarkFilterBox()->setCurrentIndex(3); // failed
    EXPECT_EQ(shownUrls(), U("http://h/B/two.html http://x/b/five.html"));
    // Commands act on the list rows behind the shown ones.
    window->ListView()->selectionModel()->select(
        shown->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(dlg.SelectedRows(), (std::vector<int> { 4 }));

    window->FilterField()->clear();
    window->MarkFilterBox()->setCurrentIndex(1); // waiting: neither done, active nor failed
    EXPECT_EQ(shownUrls(), U("http://h/b/three.gif"));
    // A row whose mark changes joins or leaves at once.
    core().list.SetItemText(2, kColMark, res::kMarkDone);
    core().list.SetItemText(0, kColMark, res::kMarkWaiting);
    window->FlushRendering();
    EXPECT_EQ(shownUrls(), U("http://h/a/one.html"));
    window->MarkFilterBox()->setCurrentIndex(0);
    EXPECT_EQ(shown->rowCount(), 5);

    std::vector<std::string> after;
    for (int r = 0; r < 5; ++r)
        after.push_back(core().list.GetItemText(r, kColUrl));
    EXPECT_EQ(after, before) << "filtering never reorders or changes the list";
    EXPECT_EQ(core().m_bListModified, 0);
}

TEST_F(MainWindowTest, FailedRowsStandOutAndUrlsShowWhole)
{
    core().list.InsertItem(0, res::kMarkDone);
    core().list.InsertItem(1, res::kMarkCross);
    core().list.SetItemText(1, kColUrl, "http://h/a/very/long/path/failed.html");
    QAbstractItemModel* shown = window->ListView()->model();
    for (int col = 0; col < 5; ++col) {
        EXPECT_EQ(shown->index(1, col).data(Qt::ForegroundRole).value<QColor>(), window->ListModel()->FailedColor());
        EXPECT_FALSE(shown->index(0, col).data(Qt::ForegroundRole).isValid());
    }
    EXPECT_EQ(shown->index(1, kColUrl).data(Qt::ToolTipRole).toString(), U("http://h/a/very/long/path/failed.html"));
    // A row that fails later is recoloured with the rest of its row.
    QList<QModelIndex> changed;
    QObject::connect(shown, &QAbstractItemModel::dataChanged,
        [&](const QModelIndex& from, const QModelIndex& to) { changed << from << to; });
    core().list.SetItemText(0, kColMark, res::kMarkCross);
    window->FlushRendering();
    ASSERT_EQ(changed.size(), 2);
    EXPECT_EQ(changed[1].column(), kColUrl);
}

TEST_F(MainWindowTest, DuringACrawlAnIdleBarCountsDoneAgainstListed)
{
    Core& c = core();
    auto* bar = static_cast<QProgressBar*>(window->Control(1008));
    c.m_bRunning = 1;
    for (int i = 0; i < 4; ++i)
        c.tally.TallyListed("html");
    c.tally.TallyDownloaded("html");
    UpdateSummary(c);
    window->FlushRendering();
    EXPECT_EQ(bar->maximum(), 4);
    EXPECT_EQ(bar->value(), 1);

    // A file or list operation has the bar while it works.
    SetProgressRange(c, 0, 200);
    SetProgressPos(c, 50);
    window->FlushRendering();
    EXPECT_EQ(bar->maximum(), 200);
    EXPECT_EQ(bar->value(), 50);
    SetProgressPos(c, 0);
    window->FlushRendering();
    EXPECT_EQ(bar->maximum(), 4);
    EXPECT_EQ(bar->value(), 1);

    c.m_bRunning = 0;
    c.window.startCaption = res::kCaptionStart;
    c.window.Notify(WindowPart::StartCaption);
    window->FlushRendering();
    EXPECT_EQ(bar->value(), 0) << "after the crawl the bar is the operations' again";
}

TEST_F(MainWindowTest, FollowsTheDownloadingRowUntilTheUserScrolls)
{
    window->resize(600, 400);
    window->show();
    QCoreApplication::processEvents();
    for (int i = 0; i < 300; ++i)
        core().list.InsertItem(i, res::kMarkWaiting);
    QTableView* view = window->ListView();
    const auto inView = [&](int row) {
        QCoreApplication::processEvents();
        return view->viewport()->rect().intersects(view->visualRect(view->model()->index(row, 0)));
    };
    core().m_bRunning = 1;

    window->FollowBox()->setChecked(false);
    core().list.SetItemText(200, kColMark, res::kMarkActive);
    EXPECT_FALSE(inView(200)) << "the option is off";
    window->FollowBox()->setChecked(true);
    core().list.SetItemText(250, kColMark, res::kMarkActive);
    EXPECT_TRUE(inView(250));

    view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    core().list.SetItemText(290, kColMark, res::kMarkActive);
    EXPECT_TRUE(inView(0)) << "the user's scrolling is not undone";
    EXPECT_FALSE(inView(290));
}

} // namespace
} // namespace zorone::test
