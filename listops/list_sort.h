#pragma once
// Sorting the whole list by one column's text (a click on its header).
#include "engine/core.h"

#include <string_view>

namespace zorone {

// The code page's character order: a double-byte character counts as
// lead × 256 + trail, a single byte as its value; the first differing
// character decides and a prefix sorts first. No case folding, no numbers
// (sizes sort as text: "10" < "100" < "9"). <0, 0 or >0.
int CompareCp932(std::string_view a, std::string_view b);

// Flips core.m_bSortDescending, then sorts by column (0..4) in that
// direction. Rows with equal keys keep their relative order either way.
// Items keep their ids, so transfers in flight follow their rows.
void SortByColumn(Core& core, int column);

// From this many rows on, sorting and duplicate removal ask first.
constexpr int kLongListRows = 20000;

} // namespace zorone
