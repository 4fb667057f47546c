#pragma once
// The download list as a Qt table model. The DownloadList stays the only
// store; this model only tells the view what changed.
//
// Row insertions and removals reach the view at once, as row insertions and
// removals (never as a reset), so selection and scroll position survive a
// crawl. Cell changes arrive far more often (every received block updates a
// size column) and are gathered into one dataChanged range that is flushed by
// a short timer or before the next structural change.
#include "engine/download_list.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QTimer>

#include <functional>

namespace zorone::qt {

class DownloadListModel final : public QAbstractTableModel, public ListObserver {
public:
    explicit DownloadListModel(DownloadList& list, QObject* parent = nullptr);
    ~DownloadListModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Failed rows ("×") are drawn in this colour; by default an error red
    // that reads on the current palette, light or dark.
    void SetFailedColor(const QColor& color) { m_failedColor = color; }
    QColor FailedColor() const { return m_failedColor; }

    // Called with the row whose mark has just become "◇": its download began.
    std::function<void(int row)> onDownloadStarted;

    // Sends the gathered cell changes now.
    void FlushChanges();
    bool HasPendingChanges() const { return m_dirtyLow <= m_dirtyHigh; }

    static constexpr int kFlushIntervalMs = 50;

private:
    void OnRowsInserted(int position, int count) override;
    void OnRowsRemoved(int position, int count) override;
    void OnCellChanged(int row, int column) override;
    void OnReset() override;

    DownloadList& m_list;
    // The row count the view has been told about.
    int m_rowCount;
    // Gathered cell changes: rows and columns, empty when low > high.
    int m_dirtyLow = 1;
    int m_dirtyHigh = 0;
    int m_dirtyColLow = 0;
    int m_dirtyColHigh = 0;
    QTimer m_flushTimer;
    QColor m_failedColor;
};

// An error red for text on the application's palette: darker on light
// backgrounds, lighter on dark ones, so that it stays readable on both.
QColor ErrorTextColor();

} // namespace zorone::qt
