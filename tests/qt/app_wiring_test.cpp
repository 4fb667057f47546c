// The whole window program driven through its widgets: a real URL service
// against a loopback server, the real message boxes answered from the screen.
#include "qt/app_wiring.h"

#include "engine/completion.h"
#include "listops/list_files.h"
#include "platform/code_page.h"
#include "qt/download_list_model.h"
#include "qt/list_filter.h"
#include "tests/app/scripted_runner.h"
#include "tests/qt/user_at_screen.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/temp_dir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QUrl>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zorone::test {
namespace {

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

std::string Cp(const char* utf8)
{
    return platform::Utf8ToCp932(utf8);
}

class AppTest : public ::testing::Test {
protected:
    AppTest()
    {
        // The lifetime counter follows ZORONE_HOME, so nothing of the user's
        // own profile is read or written.
        if (const char* old = std::getenv("ZORONE_HOME"))
            m_oldHome = old;
        ::setenv("ZORONE_HOME", home.Path().c_str(), 1);
    }
    ~AppTest() override
    {
        app.reset();
        if (m_oldHome)
            ::setenv("ZORONE_HOME", m_oldHome->c_str(), 1);
        else
            ::unsetenv("ZORONE_HOME");
    }

    // A returning user: the counter is not 0, so no first-run hint.
    void SetCounter(int n)
    {
        WriteFileBytes(home / "zorone.ini", "[Zorone]\r\nm_nTotalDownloadCount=" + std::to_string(n) + "\r\n");
    }

    void Make()
    {
        qt::DialogFactories dialogs;
        dialogs.settings = [this](QWidget*) {
            auto r = std::make_unique<ScriptedRunner>();
            runner = r.get();
            return r;
        };
        dialogs.list = [this](QWidget*) {
            ListDialogs d;
            d.itemEdit = [this](CItemEditDlg& edit) {
                editedUrls.push_back(edit.m_sURL);
                edit.m_sMark = Cp("×");
                return true;
            };
            return d;
        };
        app = std::make_unique<qt::CZoroneApp>(home.Path() + "/", dialogs);
    }

    void StartAndSettle()
    {
        app->Start();
        ASSERT_TRUE(PumpUntil([this] { return core().m_bFirstPaint == 0; }));
        window().FlushRendering();
    }

    Core& core() { return app->dlg().core(); }
    qt::MainWindow& window() { return app->window(); }
    QTableView& list() { return *window().ListView(); }

    void AddRows(const std::vector<const char*>& urls)
    {
        for (const char* url : urls) {
            DownloadItem item;
            item.cols = { Cp("－"), "", "", "", url };
            const std::string u(url);
            item.cols[kColFileName] = u.substr(u.rfind('/') + 1);
            core().list.InsertRow(core().list.GetItemCount(), item);
        }
        window().FlushRendering();
    }

    std::vector<std::string> Column(int column)
    {
        std::vector<std::string> out;
        for (int r = 0; r < core().list.GetItemCount(); ++r)
            out.push_back(core().list.GetItemText(r, column));
        return out;
    }

    void MouseOn(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        QMouseEvent e(type, at, target->mapToGlobal(at), button,
            type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &e);
    }

    void ClickHeader(int column)
    {
        QHeaderView* header = list().horizontalHeader();
        const QPoint at(
            header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
        MouseOn(header->viewport(), QEvent::MouseButtonPress, at);
        MouseOn(header->viewport(), QEvent::MouseButtonRelease, at);
    }

    TempDir home;
    UserAtScreen user;
    ScriptedRunner* runner = nullptr;
    std::vector<std::string> editedUrls;
    std::unique_ptr<qt::CZoroneApp> app;

private:
    std::optional<std::string> m_oldHome;
};

TEST_F(AppTest, CrawlStartedFromTheButtonFillsTheListAndReports)
{
    LoopbackHttpServer server;
    server.Add("/site/top.html",
        HttpResponse::Ok("<a href=\"a.html\">a</a><img src=\"pic.png\"><a href=\"sub/b.html\">b</a>"));
    server.Add("/site/a.html", HttpResponse::Ok("<a href=\"top.html\">back</a>"));
    server.Add("/site/pic.png", HttpResponse::Ok(std::string(3000, 'p'), "image/png"));
    server.Add("/site/sub/b.html", HttpResponse::Ok("<a href=\"c.txt\">c</a>"));
    server.Add("/site/sub/c.txt", HttpResponse::Ok("text", "text/plain"));

    Make();
    user.Press("OK"); // the first-run hint
    StartAndSettle();
    ASSERT_EQ(user.Boxes().size(), 1u);
    EXPECT_EQ(user.Boxes()[0].caption, U("使用方法"));

    auto* urlBox = static_cast<QComboBox*>(window().Control(1047));
    auto* folderBox = static_cast<QComboBox*>(window().Control(1046));
    urlBox->lineEdit()->setText(QString::fromStdString(server.Url("/site/top.html")));
    folderBox->lineEdit()->setText(QString::fromStdString(home / "dl/"));
    user.Press("OK"); // the report
    user.Press("いいえ"); // do not open the downloaded page
    static_cast<QPushButton*>(window().Control(1003))->click();
    window().FlushRendering();
    EXPECT_EQ(static_cast<QPushButton*>(window().Control(1003))->text(), U("中断(&G)"));

    ASSERT_TRUE(PumpUntil([this] { return core().finishedCrawls == 1; }));
    window().FlushRendering();

    ASSERT_EQ(user.Boxes().size(), 3u);
    EXPECT_EQ(user.Boxes()[1].caption, U("報告"));
    // The report goes on with the links that were not followed, by reason.
    EXPECT_TRUE(user.Boxes()[1].text.startsWith(U("5個のファイルをゾロネしました。\nゾロネしなかったリンク：\n")))
        << user.Boxes()[1].text.toStdString();
    EXPECT_EQ(user.Boxes()[2].text, U("ダウンロードしたファイルを開きますか？"));
    EXPECT_EQ(user.Unused(), 0u);

    EXPECT_EQ(list().model()->rowCount(), 5);
    for (const std::string& mark : Column(kColMark))
        EXPECT_EQ(mark, Cp("○"));
    for (const std::string& url : Column(kColUrl))
        EXPECT_TRUE(PathExists(platform::ToFsPath(LocalPathOf(core(), url)))) << url;
    EXPECT_EQ(ReadFileBytes(platform::ToFsPath(LocalPathOf(core(), server.Url("/site/sub/c.txt")))), "text");

    const QString summary = static_cast<QPlainTextEdit*>(window().Control(1011))->toPlainText();
    EXPECT_TRUE(summary.startsWith(U("total:5/5 ( 0/ 1)"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(U("html:3/3"))) << summary.toStdString();
    EXPECT_EQ(window().windowTitle(), U("ホームページ ゾロネ!!  5/5 ( 0/ 1)"));
    EXPECT_EQ(static_cast<QPushButton*>(window().Control(1003))->text(), U("ゾロネ！(&G)"));
    EXPECT_EQ(core().settings.m_nTotalDownloadCount, 5);
}

TEST_F(AppTest, ListAnswersHeaderClicksRightClicksDoubleClicksAndDrops)
{
    SetCounter(7);
    Make();
    StartAndSettle();
    EXPECT_TRUE(user.Boxes().empty()) << "no first-run hint for a returning user";

    // A list file dropped on the window is appended to the list.
    AddRows({ "http://h/b.html", "http://h/c.gif", "http://h/a.txt" });
    const std::string listFile = home / "dropped.csv";
    ASSERT_EQ(WriteListFile(core(), platform::Utf8ToCp932(listFile)), 1);
    core().list.DeleteAllItems();
    window().FlushRendering();
    QMimeData mime;
    mime.setUrls({ QUrl::fromLocalFile(QString::fromStdString(listFile)) });
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window(), &drop);
    window().FlushRendering();
    EXPECT_EQ(Column(kColUrl), (std::vector<std::string> { "http://h/b.html", "http://h/c.gif", "http://h/a.txt" }));
    EXPECT_EQ(list().model()->rowCount(), 3);

    // Header clicks sort by that column, the direction alternating.
    ClickHeader(kColFileName);
    window().FlushRendering();
    const std::vector<std::string> first = Column(kColFileName);
    ClickHeader(kColFileName);
    window().FlushRendering();
    const std::vector<std::string> second = Column(kColFileName);
    const std::vector<std::string> ascending { "a.txt", "b.html", "c.gif" };
    const std::vector<std::string> descending { "c.gif", "b.html", "a.txt" };
    EXPECT_TRUE((first == ascending && second == descending) || (first == descending && second == ascending));
    EXPECT_EQ(list().model()->index(0, kColFileName).data().toString().toStdString(), second.front());

    // A right click on the list opens its item menu (138).
    QContextMenuEvent menuEvent(
        QContextMenuEvent::Mouse, QPoint(20, 10), list().viewport()->mapToGlobal(QPoint(20, 10)));
    QCoreApplication::sendEvent(list().viewport(), &menuEvent);
    ASSERT_EQ(user.Menus().size(), 1u);
    EXPECT_EQ(user.Menus()[0], window().ListPopup());

    // A double click on a row edits it through the item dialog.
    const QRect row1 = list().visualRect(list().model()->index(1, kColUrl));
    for (QEvent::Type type : { QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
             QEvent::MouseButtonRelease })
        MouseOn(list().viewport(), type, row1.center());
    window().FlushRendering();
    ASSERT_EQ(editedUrls.size(), 1u);
    EXPECT_EQ(editedUrls[0], core().list.GetItemText(1, kColUrl));
    EXPECT_EQ(core().list.GetItemText(1, kColMark), Cp("×"));
    EXPECT_EQ(list().model()->index(1, kColMark).data().toString(), U("×"));
}

TEST_F(AppTest, CloseBoxAsksToSaveStaysOnCancelAndSavesEverythingOnQuit)
{
    SetCounter(7);
    Make();
    AddRows({ "http://h/kept.html" });
    core().m_bListModified = 1;

    bool stayedVisible = false;
    const auto offerCarryOver = window().onFirstShown;
    window().onFirstShown = [&] {
        offerCarryOver();
        user.Press("キャンセル");
        window().close();
        stayedVisible = window().isVisible();
        user.Press("いいえ");
        window().close();
    };
    EXPECT_EQ(app->Run(), 0) << "the quit of the exit flow is a normal end";

    EXPECT_TRUE(stayedVisible);
    ASSERT_EQ(user.Boxes().size(), 2u);
    for (const UserAtScreen::Seen& box : user.Boxes()) {
        EXPECT_EQ(box.caption, U("さる、去る！"));
        EXPECT_EQ(box.text, U("現在のリスト状態を保存しますか？"));
    }
    EXPECT_FALSE(window().isVisible());
    EXPECT_TRUE(PathExists(home / "Zorone.sav"));
    EXPECT_NE(ReadFileBytes(home / "default.csv").find("http://h/kept.html"), std::string::npos);
    EXPECT_NE(ReadFileBytes(home / "zorone.ini").find("m_nTotalDownloadCount=7"), std::string::npos);
    EXPECT_TRUE(PathExists(home / "Zorone-m_sPath.sav"));
}

TEST_F(AppTest, ResidenceWithoutATrayMinimisesRatherThanLosingTheWindow)
{
    if (QSystemTrayIcon::isSystemTrayAvailable())
        GTEST_SKIP() << "this desktop has a notification area";
    SetCounter(7);
    Make();
    StartAndSettle();
    window().Command(32784);
    QCoreApplication::processEvents();
    EXPECT_TRUE(window().isVisible());
    EXPECT_TRUE(window().isMinimized());
    EXPECT_EQ(core().m_bWindowShown, 1);
}

} // namespace
} // namespace zorone::test

namespace zorone::test {
namespace {

int CountMark(Core& core, const std::string& mark)
{
    int n = 0;
    for (int r = 0; r < core.list.GetItemCount(); ++r)
        n += core.list.GetItemText(r, kColMark) == mark ? 1 : 0;
    return n;
}

TEST_F(AppTest, EnterInTheUrlBoxStartsACrawlWhoseProgressTheBarShows)
{
    LoopbackHttpServer server;
    std::string top;
    for (int i = 0; i < 40; ++i) {
        top += "<a href=\"p" + std::to_string(i) + ".html\">p</a>";
        server.Add("/site/p" + std::to_string(i) + ".html", HttpResponse::Ok("leaf"));
    }
    // The last page never answers: the crawl stays running with 41 of 42 done.
    top += "<a href=\"slow.html\">slow</a>";
    HttpResponse slow = HttpResponse::Ok("late");
    slow.stallBeforeHeaders = true;
    server.Add("/site/slow.html", slow);
    server.Add("/site/top.html", HttpResponse::Ok(top));

    SetCounter(7);
    Make();
    StartAndSettle();
    window().resize(700, 300); // room for a few rows only
    auto* urlBox = static_cast<QComboBox*>(window().Control(1047));
    static_cast<QComboBox*>(window().Control(1046))->lineEdit()->setText(QString::fromStdString(home / "dl/"));
    urlBox->lineEdit()->setText(QString::fromStdString(server.Url("/site/top.html")));
    urlBox->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(urlBox->lineEdit(), &enter);
    EXPECT_EQ(core().m_bRunning, 1);

    ASSERT_TRUE(PumpUntil([this] { return CountMark(core(), Cp("○")) == 41 && CountMark(core(), Cp("◇")) == 1; }));
    window().FlushRendering();
    const auto* bar = static_cast<QProgressBar*>(window().Control(1008));
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 42);
    EXPECT_EQ(bar->value(), 41);
    // The row being downloaded was kept in view although it is far below.
    int active = -1;
    for (int r = 0; r < core().list.GetItemCount(); ++r)
        if (core().list.GetItemText(r, kColMark) == Cp("◇"))
            active = r;
    ASSERT_GT(active, 10);
    const QRect shown = list().visualRect(list().model()->index(active, 0));
    EXPECT_TRUE(list().viewport()->rect().intersects(shown));

    // Pressing Enter again while it runs neither stops it nor ends anything.
    QCoreApplication::sendEvent(urlBox->lineEdit(), &enter);
    EXPECT_EQ(core().m_bRunning, 1);
    EXPECT_TRUE(window().isVisible());
    user.Press("OK");
    window().Command(32782); // stop
    window().FlushRendering();
    EXPECT_EQ(core().m_bRunning, 0);
}

TEST_F(AppTest, WindowPlaceColumnsSortAndFollowOptionComeBackAtTheNextStart)
{
    SetCounter(7);
    Make();
    StartAndSettle();
    const QRect screen = window().screen()->availableGeometry();
    const QRect first = window().geometry();
    EXPECT_NEAR(first.width(), screen.width() * 6 / 10, 2) << "a first start takes 60% of the screen's width";
    QHeaderView* header = list().horizontalHeader();
    EXPECT_GT(header->sectionSize(kColUrl), 181) << "the URL column takes the room the others leave";

    AddRows({ "http://h/b.html", "http://h/a.html" });
    ClickHeader(kColFileName);
    const Qt::SortOrder order = header->sortIndicatorOrder();
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), kColFileName);
    const QRect placed(screen.x() + 30, screen.y() + 40, 500, 400);
    window().setGeometry(placed);
    header->resizeSection(kColFileName, 230);
    window().FollowBox()->setChecked(false);
    window().Command(32796); // hide the summary
    app->Finish();
    app.reset();
    // Another program folder's Zorone.sav would show it again; the user's
    // profile keeps it hidden.
    WriteFileBytes(home / "Zorone.sav", "");

    Make();
    StartAndSettle();
    EXPECT_EQ(window().geometry(), placed);
    EXPECT_EQ(list().horizontalHeader()->sectionSize(kColFileName), 230);
    EXPECT_EQ(list().horizontalHeader()->sectionSize(kColMark), 20);
    EXPECT_EQ(list().horizontalHeader()->sortIndicatorSection(), kColFileName);
    EXPECT_EQ(list().horizontalHeader()->sortIndicatorOrder(), order);
    EXPECT_FALSE(window().FollowBox()->isChecked());
    EXPECT_EQ(core().settings.m_nDisplayDownloadFileExList, 0);
    EXPECT_TRUE(window().Control(1011)->geometry().isEmpty());
    // Zorone.sav keeps its own values only.
    EXPECT_EQ(ReadFileBytes(home / "Zorone.sav").find("Column"), std::string::npos);
}

TEST_F(AppTest, ClearedAndLoadedListsShowTheirOwnTotals)
{
    SetCounter(7);
    Make();
    StartAndSettle();
    AddRows({ "http://h/a.html", "http://h/b.html", "http://h/c.gif" });
    core().list.SetItemText(0, kColMark, Cp("○"));
    for (int r = 0; r < 3; ++r)
        core().list.SetItemText(r, kColExtension, r == 2 ? "gif" : "html");
    const std::string listFile = home / "three.csv";
    ASSERT_EQ(WriteListFile(core(), platform::Utf8ToCp932(listFile)), 1);

    static_cast<QPushButton*>(window().Control(1007))->click();
    window().FlushRendering();
    EXPECT_EQ(window().windowTitle(), U("ホームページ ゾロネ!!  0/0 ( 0/ 1)"));

    QMimeData mime;
    mime.setUrls({ QUrl::fromLocalFile(QString::fromStdString(listFile)) });
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window(), &enter);
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window(), &drop);
    window().FlushRendering();
    EXPECT_EQ(core().list.GetItemCount(), 3);
    EXPECT_EQ(Column(kColExtension), (std::vector<std::string> { "html", "html", "gif" }));
    EXPECT_EQ(window().windowTitle(), U("ホームページ ゾロネ!!  1/3 ( 0/ 1)"));
    const QString summary = static_cast<QPlainTextEdit*>(window().Control(1011))->toPlainText();
    EXPECT_TRUE(summary.contains(U("html:1/2"))) << summary.toStdString();
}

} // namespace
} // namespace zorone::test
