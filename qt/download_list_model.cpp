#include "qt/download_list_model.h"

#include "qt/qt_text.h"
#include "res/texts.h"

#include <QApplication>
#include <QPalette>

#include <algorithm>

namespace zorone::qt {

QColor ErrorTextColor()
{
    const QColor base = QApplication::palette().color(QPalette::Base);
    return base.lightness() < 128 ? QColor(0xff, 0x6b, 0x6b) : QColor(0xc0, 0x10, 0x10);
}

DownloadListModel::DownloadListModel(DownloadList& list, QObject* parent)
    : QAbstractTableModel(parent)
    , m_list(list)
    , m_rowCount(list.GetItemCount())
    , m_failedColor(ErrorTextColor())
{
    m_flushTimer.setSingleShot(true);
    m_flushTimer.setInterval(kFlushIntervalMs);
    connect(&m_flushTimer, &QTimer::timeout, this, &DownloadListModel::FlushChanges);
    m_list.AddObserver(this);
}

DownloadListModel::~DownloadListModel()
{
    m_list.RemoveObserver(this);
}

int DownloadListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int DownloadListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant DownloadListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return ToQt(m_list.GetItemText(index.row(), index.column()));
    case Qt::ToolTipRole:
        // The URL column is often narrower than its addresses.
        if (index.column() == kColUrl)
            return ToQt(m_list.GetItemText(index.row(), kColUrl));
        return {};
    case Qt::ForegroundRole:
        if (m_list.GetItemText(index.row(), kColMark) == res::kMarkCross)
            return m_failedColor;
        return {};
    default:
        return {};
    }
}

QVariant DownloadListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const std::string* const kHeaders[kColumnCount]
        = { &res::kColumnMark, &res::kColumnFileName, &res::kColumnExtension, &res::kColumnSize, &res::kColumnUrl };
    if (section < 0 || section >= kColumnCount)
        return {};
    return ToQt(*kHeaders[section]);
}

void DownloadListModel::FlushChanges()
{
    m_flushTimer.stop();
    if (!HasPendingChanges())
        return;
    const int low = m_dirtyLow;
    const int high = std::min(m_dirtyHigh, m_rowCount - 1);
    const int colLow = m_dirtyColLow;
    const int colHigh = m_dirtyColHigh;
    m_dirtyLow = 1;
    m_dirtyHigh = 0;
    // A changed mark recolours the whole row.
    const int lastCol = colLow == kColMark ? kColumnCount - 1 : colHigh;
    if (low <= high)
        emit dataChanged(
            index(low, colLow), index(high, lastCol), { Qt::DisplayRole, Qt::ForegroundRole, Qt::ToolTipRole });
}

void DownloadListModel::OnRowsInserted(int position, int count)
{
    if (count <= 0)
        return;
    // The list has already changed; the gathered rows at or below the new
    // ones have moved down with it.
    if (HasPendingChanges()) {
        if (position <= m_dirtyLow)
            m_dirtyLow += count;
        if (position <= m_dirtyHigh)
            m_dirtyHigh += count;
    }
    beginInsertRows(QModelIndex(), position, position + count - 1);
    m_rowCount += count;
    endInsertRows();
}

void DownloadListModel::OnRowsRemoved(int position, int count)
{
    if (count <= 0)
        return;
    if (HasPendingChanges()) {
        const int end = position + count;
        const auto shift = [&](int row) { return row >= end ? row - count : std::min(row, position); };
        m_dirtyLow = shift(m_dirtyLow);
        m_dirtyHigh = m_dirtyHigh >= end ? m_dirtyHigh - count : std::min(m_dirtyHigh, position - 1);
        if (m_dirtyLow > m_dirtyHigh) {
            m_dirtyLow = 1;
            m_dirtyHigh = 0;
        }
    }
    beginRemoveRows(QModelIndex(), position, position + count - 1);
    m_rowCount -= count;
    endRemoveRows();
}

void DownloadListModel::OnCellChanged(int row, int column)
{
    if (column == kColMark && onDownloadStarted && m_list.GetItemText(row, kColMark) == res::kMarkActive)
        onDownloadStarted(row);
    if (HasPendingChanges()) {
        m_dirtyLow = std::min(m_dirtyLow, row);
        m_dirtyHigh = std::max(m_dirtyHigh, row);
        m_dirtyColLow = std::min(m_dirtyColLow, column);
        m_dirtyColHigh = std::max(m_dirtyColHigh, column);
    } else {
        m_dirtyLow = m_dirtyHigh = row;
        m_dirtyColLow = m_dirtyColHigh = column;
    }
    if (!m_flushTimer.isActive())
        m_flushTimer.start();
}

void DownloadListModel::OnReset()
{
    m_flushTimer.stop();
    m_dirtyLow = 1;
    m_dirtyHigh = 0;
    beginResetModel();
    m_rowCount = m_list.GetItemCount();
    endResetModel();
}

} // namespace zorone::qt
