#include "engine/download_list.h"

#include "res/texts.h"

#include <algorithm>

namespace zorone {
namespace {
const std::string kEmpty;
}

const std::string& DownloadList::GetItemText(int row, int column) const
{
    if (row < 0 || row >= GetItemCount() || column < 0 || column >= kColumnCount)
        return kEmpty;
    return m_rows[static_cast<size_t>(row)].item.cols[static_cast<size_t>(column)];
}

bool DownloadList::SetItemText(int row, int column, std::string text)
{
    if (row < 0 || row >= GetItemCount() || column < 0 || column >= kColumnCount)
        return false;
    Row& r = m_rows[static_cast<size_t>(row)];
    std::string& cell = r.item.cols[static_cast<size_t>(column)];
    if (column == kColUrl) {
        UnindexUrl(cell);
        IndexUrl(text);
    } else if (column == kColMark) {
        TrackWaiting(r, false);
        m_failedIds.erase(r.item.id);
    }
    cell = std::move(text);
    if (column == kColMark)
        TrackWaiting(r, true);
    for (ListObserver* o : m_observers)
        o->OnCellChanged(row, column);
    return true;
}

int DownloadList::InsertItem(int position, std::string mark)
{
    DownloadItem item;
    item.cols[kColMark] = std::move(mark);
    return InsertRow(position, std::move(item));
}

int DownloadList::InsertRow(int position, DownloadItem item)
{
    const int count = GetItemCount();
    position = std::clamp(position, 0, count);
    if (item.id == 0)
        item.id = m_nextId++;
    Row row;
    if (count == 0)
        row.key = 0;
    else if (position == 0)
        row.key = m_rows.front().key - 1;
    else if (position == count)
        row.key = m_rows.back().key + 1;
    IndexUrl(item.cols[kColUrl]);
    m_keyOfId[item.id] = row.key;
    row.item = std::move(item);
    TrackWaiting(row, true);
    m_rows.insert(m_rows.begin() + position, std::move(row));
    if (position > 0 && position < count)
        Renumber();
    for (ListObserver* o : m_observers)
        o->OnRowsInserted(position, 1);
    return position;
}

bool DownloadList::DeleteItem(int row)
{
    if (row < 0 || row >= GetItemCount())
        return false;
    const auto it = m_rows.begin() + row;
    UnindexUrl(it->item.cols[kColUrl]);
    TrackWaiting(*it, false);
    m_failedIds.erase(it->item.id);
    m_keyOfId.erase(it->item.id);
    m_rows.erase(it);
    for (ListObserver* o : m_observers)
        o->OnRowsRemoved(row, 1);
    return true;
}

void DownloadList::DeleteAllItems()
{
    m_rows.clear();
    m_keyOfId.clear();
    m_urlCount.clear();
    m_waitingKeys.clear();
    m_failedIds.clear();
    for (ListObserver* o : m_observers)
        o->OnReset();
}

ItemId DownloadList::GetItemId(int row) const
{
    if (row < 0 || row >= GetItemCount())
        return 0;
    return m_rows[static_cast<size_t>(row)].item.id;
}

int DownloadList::PositionOfKey(std::int64_t key) const
{
    const auto it = std::lower_bound(m_rows.begin(), m_rows.end(), key,
                                     [](const Row& r, std::int64_t k) { return r.key < k; });
    if (it == m_rows.end() || it->key != key)
        return -1;
    return static_cast<int>(it - m_rows.begin());
}

int DownloadList::FindItem(ItemId id) const
{
    const auto it = m_keyOfId.find(id);
    return it == m_keyOfId.end() ? -1 : PositionOfKey(it->second);
}

bool DownloadList::ContainsUrl(std::string_view url) const
{
    return m_urlCount.find(url) != m_urlCount.end();
}

std::vector<DownloadItem> DownloadList::CopyRows() const
{
    std::vector<DownloadItem> rows;
    rows.reserve(m_rows.size());
    for (const Row& r : m_rows)
        rows.push_back(r.item);
    return rows;
}

void DownloadList::ReplaceRows(std::vector<DownloadItem> rows)
{
    m_rows.clear();
    m_keyOfId.clear();
    m_urlCount.clear();
    m_waitingKeys.clear();
    std::int64_t key = 0;
    for (DownloadItem& item : rows) {
        if (item.id == 0 || m_keyOfId.count(item.id))
            item.id = m_nextId++;
        IndexUrl(item.cols[kColUrl]);
        m_keyOfId[item.id] = key;
        m_rows.push_back(Row {std::move(item), key++});
        TrackWaiting(m_rows.back(), true);
    }
    for (ListObserver* o : m_observers)
        o->OnReset();
}

void DownloadList::Renumber()
{
    m_waitingKeys.clear();
    std::int64_t key = 0;
    for (Row& r : m_rows) {
        r.key = key++;
        m_keyOfId[r.item.id] = r.key;
        TrackWaiting(r, true);
    }
}

bool DownloadList::IsWaitingMark(const std::string& mark)
{
    return mark != res::kMarkDone && mark != res::kMarkActive;
}

void DownloadList::TrackWaiting(const Row& row, bool add)
{
    if (!IsWaitingMark(row.item.cols[kColMark]) || (add && m_failedIds.count(row.item.id)))
        return;
    if (add)
        m_waitingKeys.insert(row.key);
    else
        m_waitingKeys.erase(row.key);
}

int DownloadList::FirstWaitingRow() const
{
    return m_waitingKeys.empty() ? -1 : PositionOfKey(*m_waitingKeys.begin());
}

void DownloadList::MarkFailed(int row)
{
    if (!SetItemText(row, kColMark, res::kMarkCross))
        return;
    const Row& r = m_rows[static_cast<size_t>(row)];
    m_failedIds.insert(r.item.id);
    m_waitingKeys.erase(r.key);
}

void DownloadList::ReleaseFailedRows()
{
    for (const ItemId id : m_failedIds) {
        const auto it = m_keyOfId.find(id);
        if (it != m_keyOfId.end())
            m_waitingKeys.insert(it->second);
    }
    m_failedIds.clear();
}

void DownloadList::IndexUrl(const std::string& url)
{
    ++m_urlCount[url];
}

void DownloadList::UnindexUrl(const std::string& url)
{
    const auto it = m_urlCount.find(url);
    if (it != m_urlCount.end() && --it->second == 0)
        m_urlCount.erase(it);
}

void DownloadList::AddObserver(ListObserver* observer)
{
    m_observers.push_back(observer);
}

void DownloadList::RemoveObserver(ListObserver* observer)
{
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer), m_observers.end());
}

} // namespace zorone
