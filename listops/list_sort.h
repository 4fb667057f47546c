#pragma once
// Sorting the whole list by one column's text (a click on its header).
#include "engine/core.h"

#include <string_view>

namespace zorone {

// The code page's character order: a double-byte character counts as
// lead × 256 + trail, a single byte as its value; the first differing
// character decides and a prefix sorts first. No case folding, no numbers.
// <0, 0 or >0.
int CompareCp932(std::string_view a, std::string_view b);

// The order of two cells of column. Sizes (column 3) compare as numbers, so
// that 9 < 10 < 100: an empty size (not fetched yet) first, then byte counts
// of any length, then any other text an edit may have left there, in the
// code page's order. Every other column compares by CompareCp932.
int CompareCells(int column, std::string_view a, std::string_view b);

// Flips core.m_bSortDescending, then sorts by column (0..4) in that
// direction. Rows with equal keys keep their relative order either way.
// Items keep their ids, so transfers in flight follow their rows.
void SortByColumn(Core& core, int column);

// From this many rows on, sorting and duplicate removal ask first.
constexpr int kLongListRows = 20000;

} // namespace zorone
