#pragma once
// Whole-list maintenance: duplicate URLs, the row count, clearing.
#include "engine/core.h"

namespace zorone {

// Keeps the first (top-most) row of every URL, compared byte for byte, and
// removes every later one whatever its mark. Neither m_bListModified nor the
// extension tally changes.
void RemoveDuplicateURLs(Core& core);
// "リストアイテム数：%d" in a message box.
void ShowListInfo(Core& core);
// Empties the list, the extension tally and the summary; the list then
// counts as unchanged. No question is asked.
void ClearList(Core& core);

} // namespace zorone
