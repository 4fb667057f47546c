#pragma once
// The download list: the only store of rows. Rows are addressed by position,
// as the list view addresses them, and carry a stable ItemId besides.
//
// The list also keeps an index from URL text (column 4) to the number of rows
// holding it, so "is this URL in any row?" costs a hash lookup, not a scan.
#include "engine/download_item.h"

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace zorone {

class ListObserver {
public:
    virtual ~ListObserver() = default;
    virtual void OnRowsInserted(int position, int count) = 0;
    virtual void OnRowsRemoved(int position, int count) = 0;
    virtual void OnCellChanged(int row, int column) = 0;
    // Every row may have changed (cleared, rebuilt by a sort, ...).
    virtual void OnReset() = 0;
};

class DownloadList {
public:
    int GetItemCount() const { return static_cast<int>(m_rows.size()); }

    // The text of (row, column); "" for an invalid row or column.
    const std::string& GetItemText(int row, int column) const;
    bool SetItemText(int row, int column, std::string text);

    // Inserts a row at position (clamped to 0..count) with its column-0 text;
    // returns the position, or -1.
    int InsertItem(int position, std::string mark);
    // Inserts a whole row; a row whose id is 0 gets a fresh one.
    int InsertRow(int position, DownloadItem item);
    bool DeleteItem(int row);
    void DeleteAllItems();

    ItemId GetItemId(int row) const;
    // Where the item stands now, or -1 when it is no longer in the list.
    int FindItem(ItemId id) const;

    // Whether any row's URL column equals url byte for byte.
    bool ContainsUrl(std::string_view url) const;

    // The topmost row whose mark is neither the done mark nor the active
    // mark (every other mark, the empty one included, means waiting), or -1.
    // Kept in an ordered index so picking the next item never scans the
    // finished rows above it.
    int FirstWaitingRow() const;

    // Marks the row failed ("×"). "×" means waiting to every reader of the
    // list, but a row the crawl itself failed is held back from
    // FirstWaitingRow until ReleaseFailedRows (the next crawl's start), so a
    // crawl does not fetch a failing URL over and over. Any later change of
    // the row's mark (an edit) releases it at once.
    void MarkFailed(int row);
    void ReleaseFailedRows();

    // The whole list, copied out, and its replacement: used by operations that
    // rebuild the list. Ids travel with the rows.
    std::vector<DownloadItem> CopyRows() const;
    void ReplaceRows(std::vector<DownloadItem> rows);

    void AddObserver(ListObserver* observer);
    void RemoveObserver(ListObserver* observer);

private:
    struct Row {
        DownloadItem item;
        // Strictly increasing from the top; lets FindItem binary-search.
        std::int64_t key = 0;
    };

    int PositionOfKey(std::int64_t key) const;
    void IndexUrl(const std::string& url);
    void UnindexUrl(const std::string& url);
    void Renumber();
    static bool IsWaitingMark(const std::string& mark);
    void TrackWaiting(const Row& row, bool add);

    std::deque<Row> m_rows;
    std::unordered_map<ItemId, std::int64_t> m_keyOfId;
    // Looked up by string_view, without a copy of each link read.
    struct UrlHash {
        using is_transparent = void;
        size_t operator()(std::string_view url) const { return std::hash<std::string_view> {}(url); }
    };
    std::unordered_map<std::string, int, UrlHash, std::equal_to<>> m_urlCount;
    std::set<std::int64_t> m_waitingKeys;
    std::unordered_set<ItemId> m_failedIds;
    ItemId m_nextId = 1;
    std::vector<ListObserver*> m_observers;
};

} // namespace zorone
