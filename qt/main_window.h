#pragma once
// The main window: dialog 102 with menu bar 131, drawn from the window model
// and the download list of a CZoroneDlg, and sending every menu command and
// button click to it.
//
// The core's state is exact after every call; this window only renders it,
// at most once per kRenderIntervalMs, so a crawl's stream of updates costs a
// few repaints a second rather than one per event.
#include "app/zorone_dlg.h"
#include "qt/window_profile.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QTableView;

namespace zorone::qt {

class DownloadListModel;
class ListFilterModel;

class MainWindow final : public QMainWindow, public WindowObserver {
public:
    explicit MainWindow(CZoroneDlg& dlg, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The control with this dialog id (its objectName), or null.
    QWidget* Control(int id) const;
    QTableView* ListView() const { return m_listView; }
    DownloadListModel* ListModel() const { return m_listModel.get(); }
    // The view shows the list through this filter; its rows map to list
    // rows with mapToSource.
    ListFilterModel* FilterModel() const { return m_filterModel.get(); }
    // The filter row above the list: the URL text, the kind of mark (all,
    // waiting, done, failed) and the option that keeps the row being
    // downloaded in view.
    QLineEdit* FilterField() const { return m_filterText; }
    QComboBox* MarkFilterBox() const { return m_filterMarks; }
    QCheckBox* FollowBox() const { return m_followBox; }

    // Puts the window where the profile says (a first-start frame when it
    // holds none or only a place on a screen that is gone) and restores the
    // column widths, the sort indicator, the follow option and the summary's
    // visibility. Call before the window is shown.
    void ApplyProfile(const WindowProfile& profile);
    WindowProfile Profile() const;
    // The column the list was last sorted by, -1 for none.
    int SortColumn() const { return m_sortColumn; }
    // The pop-ups built from the menu resources: window (130, its "PopUp"),
    // tray (132, its "PopUp") and list (138).
    QMenu* WindowPopup() const;
    QMenu* TrayPopup() const;
    QMenu* ListPopup() const { return m_listMenu.get(); }

    // Runs a command through the dialog's routing table, then follows a
    // change of the summary setting with a new layout.
    void Command(int id);

    // Moves and sizes the controls for the current window size.
    void LayoutControls();

    // Draws every pending change of the window model and the list now.
    void FlushRendering();

    // The selected rows of the download list, from the top.
    std::vector<int> SelectedRows();

    // Called with the column index when a list header is clicked.
    std::function<void(int column)> onColumnClick;
    // Called with the local paths (CP932) of files dropped on the window.
    std::function<void(const std::vector<std::string>& paths)> onDropFiles;
    // Called once, after the window has first been shown and painted.
    std::function<void()> onFirstShown;

    static constexpr int kRenderIntervalMs = 40;
    // After the user scrolls the list, it stays where they put it this long
    // before it follows the downloads again.
    static constexpr int kFollowPauseMs = 5000;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    class ClientArea;

    void BuildControls();
    QWidget* CreateControl(int kind, const QString& text);
    void BuildMenus();
    void BuildFilterRow();
    void LayoutFilterRow();
    void ApplyFilter();
    void OnColumnClicked(int column);
    void ShowSortIndicator();
    void FollowDownload(int row);
    void RenderProgress();
    void AskExit();
    // Whether w is the URL or the folder box or a part of one.
    bool InField(const QWidget* w) const;
    void SetUpListView();
    void ConnectControls();
    void OnWindowChanged(WindowPart part) override;
    void RenderPart(WindowPart part);
    void RenderCombo(QComboBox& box, const ComboModel& model, std::vector<std::string>& shownItems);
    void UpdateMinimumSize();
    void RequestExit();
    bool SummaryShown() const;

    CZoroneDlg& m_dlg;
    Core& m_core;
    ClientArea* m_client = nullptr;
    std::unordered_map<int, QWidget*> m_controls;
    QTableView* m_listView = nullptr;
    QComboBox* m_urlBox = nullptr;
    QComboBox* m_folderBox = nullptr;
    std::unique_ptr<DownloadListModel> m_listModel;
    // Declared after the list model, so that it goes first.
    std::unique_ptr<ListFilterModel> m_filterModel;
    QWidget* m_listLabel = nullptr;
    QWidget* m_filterRow = nullptr;
    QLineEdit* m_filterText = nullptr;
    QComboBox* m_filterMarks = nullptr;
    QCheckBox* m_followBox = nullptr;
    int m_sortColumn = -1;
    // Since the user last scrolled the list or moved through its rows;
    // invalid while they have not.
    QElapsedTimer m_userScrolled;
    std::unique_ptr<QMenu> m_windowMenu;
    std::unique_ptr<QMenu> m_trayMenu;
    std::unique_ptr<QMenu> m_listMenu;

    QTimer m_renderTimer;
    unsigned m_dirtyParts = 0;
    bool m_renderingCombos = false;
    std::vector<std::string> m_shownUrlItems;
    std::vector<std::string> m_shownFolderItems;
    bool m_laidOutSummary = false;
    bool m_firstShown = false;
};

} // namespace zorone::qt
