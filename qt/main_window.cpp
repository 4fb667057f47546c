#include "qt/main_window.h"

#include "app/command_ids.h"
#include "engine/data_exchange.h"
#include "engine/output.h"
#include "qt/download_list_model.h"
#include "qt/list_filter.h"
#include "qt/main_layout.h"
#include "qt/menu_builder.h"
#include "qt/qt_icons.h"
#include "qt/qt_text.h"
#include "res/main_dialog.h"
#include "res/menus.h"
#include "res/texts.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QUrl>
#include <QWindow>

#include <algorithm>

namespace zorone::qt {
namespace {

// The designed widths; the URL column takes whatever the others leave.
constexpr int kColumnWidths[kColumnCount] = { 20, 100, 50, 60, 181 };
// Narrower than this, the filter row beside the list's label is hidden.
constexpr int kMinFilterRowWidth = 160;
constexpr int kLaidOutIds[] = { 1003, 1001, 1007, 1047, 1046, 1004, 1011, 1009, 1008, 1012 };

// The dialog's font: a proportional Japanese gothic when one is installed.
QFont DialogFont()
{
    QFont font = QApplication::font();
    for (const char* family : { "IPAPGothic", "IPAGothic" }) {
        if (QFontDatabase::hasFamily(QString::fromLatin1(family))) {
            font.setFamily(QString::fromLatin1(family));
            break;
        }
    }
    font.setPointSize(9);
    return font;
}

unsigned Bit(WindowPart part)
{
    return 1u << static_cast<unsigned>(part);
}

} // namespace

// The window's client area below the menu bar: dragging it moves the window,
// and a right click or a left double click opens the window pop-up.
class MainWindow::ClientArea final : public QWidget {
public:
    explicit ClientArea(MainWindow& owner)
        : QWidget(&owner)
        , m_owner(owner)
    {
    }

protected:
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton && m_owner.windowHandle())
            m_owner.windowHandle()->startSystemMove();
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::RightButton)
            ShowPopup();
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton)
            ShowPopup();
    }

private:
    void ShowPopup()
    {
        if (QMenu* menu = m_owner.WindowPopup())
            menu->exec(QCursor::pos());
    }

    MainWindow& m_owner;
};

MainWindow::MainWindow(CZoroneDlg& dlg, QWidget* parent)
    : QMainWindow(parent)
    , m_dlg(dlg)
    , m_core(dlg.core())
{
    setFont(DialogFont());
    setWindowIcon(ZoroneIcon(128));
    setAcceptDrops(true);
    m_client = new ClientArea(*this);
    setCentralWidget(m_client);
    BuildMenus();
    BuildControls();
    BuildFilterRow();
    SetUpListView();
    ConnectControls();

    const res::DialogTemplate& dialog = res::MainDialog();
    const DialogUnits units = DialogUnits::ForFont(font());
    resize(units.ToPixelsX(dialog.width), units.ToPixelsY(dialog.height) + menuBar()->sizeHint().height());
    UpdateMinimumSize();

    m_renderTimer.setSingleShot(true);
    m_renderTimer.setInterval(kRenderIntervalMs);
    connect(&m_renderTimer, &QTimer::timeout, this, &MainWindow::FlushRendering);
    m_core.window.AddObserver(this);
    m_dlg.SetSelectionSource([this] { return SelectedRows(); });
    m_dirtyParts = ~0u;
    FlushRendering();
    LayoutControls();
}

MainWindow::~MainWindow()
{
    m_dlg.SetSelectionSource({});
    m_core.window.RemoveObserver(this);
}

void MainWindow::BuildMenus()
{
    const CommandSink sink = [this](int id) { Command(id); };
    BuildMenuBar(*menuBar(), res::kMenuBar, sink);
    m_windowMenu = LoadMenu(res::kMenuWindowPopup, sink);
    m_trayMenu = LoadMenu(res::kMenuTrayPopup, sink);
    m_listMenu = LoadMenu(res::kMenuListPopup, sink);
}

QMenu* MainWindow::WindowPopup() const
{
    return FirstSubmenu(*m_windowMenu);
}

QMenu* MainWindow::TrayPopup() const
{
    return FirstSubmenu(*m_trayMenu);
}

QWidget* MainWindow::CreateControl(int kind, const QString& text)
{
    switch (static_cast<res::ControlKind>(kind)) {
    case res::ControlKind::Label:
        return new QLabel(text, m_client);
    case res::ControlKind::ComboSorted:
    case res::ControlKind::ComboUnsorted: {
        // The history lists come from the window model, already in order.
        auto* box = new QComboBox(m_client);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        return box;
    }
    case res::ControlKind::Button:
        return new QPushButton(text, m_client);
    case res::ControlKind::ListView:
        return new QTableView(m_client);
    case res::ControlKind::SummaryEdit: {
        auto* edit = new QPlainTextEdit(m_client);
        edit->setReadOnly(true);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
        return edit;
    }
    case res::ControlKind::ProgressBar: {
        auto* bar = new QProgressBar(m_client);
        bar->setTextVisible(false);
        return bar;
    }
    }
    return nullptr;
}

void MainWindow::BuildControls()
{
    const res::DialogTemplate& dialog = res::MainDialog();
    const DialogUnits units = DialogUnits::ForFont(font());
    for (const res::DialogControl& c : dialog.controls) {
        QWidget* w = CreateControl(static_cast<int>(c.kind), c.text ? ToQt(*c.text) : QString());
        w->setGeometry(units.ToPixels(c.x, c.y, c.width, c.height));
        if (c.id != res::kStaticId) {
            w->setObjectName(QString::number(c.id));
            m_controls[c.id] = w;
        } else if (c.text == &res::kLabelList) {
            m_listLabel = w;
        }
    }
    m_listView = static_cast<QTableView*>(Control(1004));
    m_urlBox = static_cast<QComboBox*>(Control(1047));
    m_folderBox = static_cast<QComboBox*>(Control(1046));
}

void MainWindow::BuildFilterRow()
{
    m_filterRow = new QWidget(m_client);
    m_filterRow->setObjectName(QStringLiteral("filterRow"));
    auto* row = new QHBoxLayout(m_filterRow);
    row->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(ToQt(res::kLabelFilter), m_filterRow);
    label->setObjectName(QStringLiteral("filterLabel"));
    m_filterText = new QLineEdit(m_filterRow);
    m_filterText->setObjectName(QStringLiteral("filterText"));
    m_filterText->setClearButtonEnabled(true);
    m_filterText->setPlaceholderText(ToQt(res::kColumnUrl));
    label->setBuddy(m_filterText);
    m_filterMarks = new QComboBox(m_filterRow);
    m_filterMarks->setObjectName(QStringLiteral("filterMarks"));
    // In the order of MarkFilter.
    for (const std::string* text :
        { &res::kFilterAllMarks, &res::kFilterWaiting, &res::kFilterDone, &res::kFilterFailed })
        m_filterMarks->addItem(ToQt(*text));
    m_followBox = new QCheckBox(ToQt(res::kCheckFollowDownload), m_filterRow);
    m_followBox->setObjectName(QStringLiteral("followDownload"));
    m_followBox->setChecked(true);
    row->addWidget(label);
    row->addWidget(m_filterText, 1);
    row->addWidget(m_filterMarks);
    row->addWidget(m_followBox);
}

void MainWindow::SetUpListView()
{
    m_listModel = std::make_unique<DownloadListModel>(m_core.list);
    m_filterModel = std::make_unique<ListFilterModel>(m_core.list);
    m_filterModel->setSourceModel(m_listModel.get());
    m_listView->setModel(m_filterModel.get());
    m_listView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_listView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_listView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_listView->setShowGrid(false);
    m_listView->setWordWrap(false);
    m_listView->setContextMenuPolicy(Qt::CustomContextMenu);
    // Fixed row heights keep a list of a hundred thousand rows cheap to
    // scroll: the view never measures rows.
    QHeaderView* rows = m_listView->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(m_listView->fontMetrics().height() + 2);
    QHeaderView* columns = m_listView->horizontalHeader();
    columns->setSectionsClickable(true);
    columns->setHighlightSections(false);
    columns->setStretchLastSection(true);
    columns->setMinimumSectionSize(0);
    for (int i = 0; i < kColumnCount; ++i)
        columns->resizeSection(i, kColumnWidths[i]);
}

void MainWindow::ConnectControls()
{
    for (int id : { 1001, 1003, 1007 })
        connect(static_cast<QPushButton*>(Control(id)), &QPushButton::clicked, this, [this, id] { Command(id); });

    connect(m_listView->horizontalHeader(), &QHeaderView::sectionClicked, this, &MainWindow::OnColumnClicked);
    connect(m_filterText, &QLineEdit::textChanged, this, &MainWindow::ApplyFilter);
    connect(m_filterMarks, &QComboBox::currentIndexChanged, this, &MainWindow::ApplyFilter);
    m_listModel->onDownloadStarted = [this](int row) { FollowDownload(row); };
    // Only the user's own scrolling (wheel, bar) and moving through the rows
    // count as theirs; the view's scrolling to follow a download does not.
    connect(m_listView->verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { m_userScrolled.start(); });
    connect(m_listView->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this] { m_userScrolled.start(); });
    connect(m_listView, &QWidget::customContextMenuRequested, this, [this] { m_listMenu->exec(QCursor::pos()); });
    connect(m_listView, &QAbstractItemView::doubleClicked, this, [this] { Command(cmd::kEditItems); });

    // Typing in the folder box takes every control into the fields at once;
    // typing in the URL box waits for the next read.
    connect(m_folderBox, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (m_renderingCombos)
            return;
        m_core.window.folderCombo.SetEditText(FromQt(text));
        ReadFieldsFromControls(m_core);
    });
    connect(m_urlBox, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (!m_renderingCombos)
            m_core.window.urlCombo.SetEditText(FromQt(text));
    });
}

QWidget* MainWindow::Control(int id) const
{
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

void MainWindow::Command(int id)
{
    m_dlg.OnCommand(id);
    if (SummaryShown() != m_laidOutSummary)
        LayoutControls();
}

bool MainWindow::SummaryShown() const
{
    return m_core.settings.m_nDisplayDownloadFileExList == 1;
}

void MainWindow::LayoutControls()
{
    const QRect window = frameGeometry();
    m_laidOutSummary = SummaryShown();
    for (int id : kLaidOutIds) {
        QWidget* w = Control(id);
        if (!w)
            continue;
        const QRect current(w->mapToGlobal(QPoint(0, 0)), w->size());
        std::optional<QRect> r = LayoutRect(id, window, current, m_laidOutSummary);
        if (!r)
            continue;
        // A control collapsed to nothing (the hidden summary) has lost its
        // left edge; measuring from 0 would bring it back wider than before.
        if (current.isEmpty() && !r->isEmpty())
            r = LayoutRect(id, window, QRect(m_client->mapToGlobal(r->topLeft()), current.size()), m_laidOutSummary);
        w->setGeometry(*r);
    }
    LayoutFilterRow();
}

void MainWindow::LayoutFilterRow()
{
    // Between the list's label and the start button, on the buttons' line,
    // so that the list keeps all of its height.
    QWidget* start = Control(1003);
    if (!m_filterRow || !m_listLabel || !start)
        return;
    const int left = m_listLabel->x() + m_listLabel->sizeHint().width() + 8;
    const int right = start->x() - 8;
    if (right - left < kMinFilterRowWidth) {
        m_filterRow->hide();
        return;
    }
    m_filterRow->setGeometry(left, start->y(), right - left, start->height());
    m_filterRow->show();
}

void MainWindow::ApplyFilter()
{
    m_filterModel->SetFilter(m_filterText->text(), static_cast<MarkFilter>(std::max(0, m_filterMarks->currentIndex())));
}

void MainWindow::OnColumnClicked(int column)
{
    if (!onColumnClick)
        return;
    onColumnClick(column);
    // A list too short to sort, a declined long sort or a lack of memory
    // leave the order as it was; only a finished sort moves the indicator.
    if (m_core.list.GetItemCount() >= 2 && m_core.window.statusText == res::kFullColon + res::kStatusSortDone)
        m_sortColumn = column;
    ShowSortIndicator();
}

void MainWindow::ShowSortIndicator()
{
    QHeaderView* header = m_listView->horizontalHeader();
    header->setSortIndicatorShown(m_sortColumn >= 0);
    header->setSortIndicator(m_sortColumn, m_core.m_bSortDescending == 1 ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void MainWindow::FollowDownload(int row)
{
    if (!m_followBox->isChecked() || m_core.m_bRunning != 1)
        return;
    if (m_userScrolled.isValid() && m_userScrolled.elapsed() < kFollowPauseMs)
        return;
    const QModelIndex shown = m_filterModel->mapFromSource(m_listModel->index(row, 0));
    if (shown.isValid())
        m_listView->scrollTo(shown, QAbstractItemView::EnsureVisible);
}

void MainWindow::ApplyProfile(const WindowProfile& profile)
{
    QList<QRect> screens;
    for (const QScreen* s : QGuiApplication::screens())
        screens << s->availableGeometry();
    QRect frame = PlaceOnScreens(profile.geometry, screens);
    if (frame.isEmpty()) {
        const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
        frame = FirstStartFrame(
            s ? s->availableGeometry() : QRect(0, 0, 1024, 768), QSize(kMinTrackWidth, kMinTrackHeight));
    }
    setGeometry(frame);
    if (profile.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    QHeaderView* columns = m_listView->horizontalHeader();
    for (size_t i = 0; i < profile.columnWidths.size(); ++i)
        if (profile.columnWidths[i] > 0)
            columns->resizeSection(static_cast<int>(i), profile.columnWidths[i]);
    m_sortColumn = profile.sortColumn;
    if (m_sortColumn >= 0)
        m_core.m_bSortDescending = profile.sortDescending ? 1 : 0;
    ShowSortIndicator();
    m_followBox->setChecked(profile.followDownload);
    if (profile.summaryShown >= 0 && profile.summaryShown != m_core.settings.m_nDisplayDownloadFileExList) {
        m_core.settings.m_nDisplayDownloadFileExList = profile.summaryShown;
        LayoutControls();
    }
}

WindowProfile MainWindow::Profile() const
{
    WindowProfile p;
    p.maximized = isMaximized();
    p.geometry = p.maximized ? normalGeometry() : geometry();
    for (size_t i = 0; i < p.columnWidths.size(); ++i)
        p.columnWidths[i] = m_listView->horizontalHeader()->sectionSize(static_cast<int>(i));
    p.sortColumn = m_sortColumn;
    p.sortDescending = m_core.m_bSortDescending == 1;
    p.followDownload = m_followBox->isChecked();
    p.summaryShown = m_core.settings.m_nDisplayDownloadFileExList;
    return p;
}

void MainWindow::UpdateMinimumSize()
{
    // The limit is on the outer window; Qt's is on the inside of the frame.
    const QSize frame = frameGeometry().size() - geometry().size();
    setMinimumSize(kMinTrackWidth - frame.width(), kMinTrackHeight - frame.height());
}

void MainWindow::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    LayoutControls();
}

void MainWindow::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    UpdateMinimumSize();
    if (m_firstShown)
        return;
    m_firstShown = true;
    // Queued, so that the window is on screen and painted first.
    QTimer::singleShot(0, this, [this] {
        if (onFirstShown)
            onFirstShown();
    });
}

void MainWindow::dragEnterEvent(QDragEnterEvent* e)
{
    if (e->mimeData()->hasUrls())
        e->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* e)
{
    std::vector<std::string> paths;
    for (const QUrl& url : e->mimeData()->urls())
        if (url.isLocalFile())
            paths.push_back(FromQt(url.toLocalFile()));
    if (paths.empty())
        return;
    e->acceptProposedAction();
    if (onDropFiles)
        onDropFiles(paths);
}

void MainWindow::closeEvent(QCloseEvent* e)
{
    // Closing goes through the exit flow, which may keep the window open.
    e->ignore();
    RequestExit();
}

void MainWindow::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter on a focused button presses it. In the URL and folder boxes
        // it starts the crawl, as the start menu command does: it never stops
        // a running one. Elsewhere it does nothing, so that a stray Enter
        // never loses the user's work.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
            button->click();
        else if (InField(focusWidget()))
            Command(cmd::kStartMenu);
        return;
    case Qt::Key_Escape:
        AskExit();
        return;
    default:
        QMainWindow::keyPressEvent(e);
    }
}

bool MainWindow::InField(const QWidget* w) const
{
    for (const QComboBox* box : { m_urlBox, m_folderBox })
        if (w && (w == box || box->isAncestorOf(w)))
            return true;
    return false;
}

void MainWindow::RequestExit()
{
    Command(cmd::kExit);
}

void MainWindow::AskExit()
{
    // Esc is easily pressed by mistake: it ends the program only after a
    // question, the exit flow's own when it will ask to save the list, this
    // one otherwise.
    const bool exitFlowAsks = m_core.m_bListModified == 1 && m_core.settings.m_bSaveExit == 1;
    if (!exitFlowAsks
        && m_core.ui.MessageBox(res::kMsgExitConfirm, res::kCaptionExit, platform::MbButtons::YesNo)
            != platform::MbAnswer::Yes)
        return;
    RequestExit();
}

std::vector<int> MainWindow::SelectedRows()
{
    std::vector<int> rows;
    for (const QModelIndex& index : m_listView->selectionModel()->selectedRows())
        rows.push_back(m_filterModel->mapToSource(index).row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void MainWindow::OnWindowChanged(WindowPart part)
{
    // Moving the controls is rare and the user expects it at once.
    if (part == WindowPart::Layout) {
        LayoutControls();
        return;
    }
    m_dirtyParts |= Bit(part);
    if (!m_renderTimer.isActive())
        m_renderTimer.start();
}

void MainWindow::FlushRendering()
{
    m_renderTimer.stop();
    const unsigned dirty = m_dirtyParts;
    m_dirtyParts = 0;
    for (WindowPart part : { WindowPart::Status, WindowPart::Progress, WindowPart::Summary, WindowPart::StartCaption,
             WindowPart::Title, WindowPart::Tray, WindowPart::Combos })
        if (dirty & Bit(part))
            RenderPart(part);
    // During a crawl the bar counts the list's progress, which moves with the
    // title; a crawl's start and end change the caption.
    if (dirty & (Bit(WindowPart::Title) | Bit(WindowPart::StartCaption)))
        RenderProgress();
    m_listModel->FlushChanges();
    if (SummaryShown() != m_laidOutSummary)
        LayoutControls();
}

void MainWindow::RenderPart(WindowPart part)
{
    const WindowModel& model = m_core.window;
    switch (part) {
    case WindowPart::Status:
        static_cast<QLabel*>(Control(1012))->setText(ToQt(model.statusText));
        break;
    case WindowPart::Progress:
        RenderProgress();
        break;
    case WindowPart::Summary: {
        auto* edit = static_cast<QPlainTextEdit*>(Control(1011));
        const QString text = ToQtLines(model.summaryText);
        if (edit->toPlainText() != text)
            edit->setPlainText(text);
        break;
    }
    case WindowPart::StartCaption:
        static_cast<QPushButton*>(Control(1003))->setText(ToQt(model.startCaption));
        break;
    case WindowPart::Title:
        setWindowTitle(ToQt(model.title));
        break;
    case WindowPart::Tray:
        m_core.ui.TrayModify(model.trayIcon, model.trayTip);
        break;
    case WindowPart::Combos:
        RenderCombo(*m_urlBox, model.urlCombo, m_shownUrlItems);
        RenderCombo(*m_folderBox, model.folderCombo, m_shownFolderItems);
        break;
    case WindowPart::Layout:
        LayoutControls();
        break;
    }
}

void MainWindow::RenderProgress()
{
    const WindowModel& model = m_core.window;
    int low = model.progressLow;
    int high = model.progressHigh;
    int pos = model.progressPos;
    // A file or list operation moves the position off 0 while it works and
    // puts it back at its end; in between, a running crawl shows done/listed.
    if (m_core.m_bRunning == 1 && pos == 0) {
        const TallyTotals totals = SumTally(m_core);
        low = 0;
        high = totals.listed;
        pos = totals.done;
    }
    auto* bar = static_cast<QProgressBar*>(Control(1008));
    // Qt shows an empty range as a busy animation; an empty bar is meant.
    high = std::max(high, low + 1);
    bar->setRange(low, high);
    bar->setValue(std::clamp(pos, low, high));
}

void MainWindow::RenderCombo(QComboBox& box, const ComboModel& model, std::vector<std::string>& shownItems)
{
    m_renderingCombos = true;
    if (shownItems != model.Items()) {
        box.clear();
        for (const std::string& item : model.Items())
            box.addItem(ToQt(item));
        shownItems = model.Items();
    }
    const QString edit = ToQt(model.EditText());
    if (box.currentText() != edit)
        box.setEditText(edit);
    m_renderingCombos = false;
}

} // namespace zorone::qt
