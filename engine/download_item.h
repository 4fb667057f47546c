#pragma once
// One row of the download list: five texts in column order.
#include <array>
#include <cstdint>
#include <string>

namespace zorone {

enum Column { kColMark = 0, kColFileName = 1, kColExtension = 2, kColSize = 3, kColUrl = 4, kColumnCount = 5 };

// A row's hidden identity: never shown, never saved, kept by the row through
// every move (priority inserts, sorting, duplicate removal), so that a
// transfer finds its item wherever it stands. 0 is never used.
using ItemId = std::uint64_t;

struct DownloadItem {
    std::array<std::string, kColumnCount> cols;
    ItemId id = 0; // 0: a new item; the list assigns a fresh id
};

} // namespace zorone
