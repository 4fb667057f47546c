#pragma once
// Saving only the rows whose columns contain given keywords (command 32791,
// dialog 137).
#include "engine/core.h"
#include "platform/ui_services.h"

#include <string>
#include <string_view>

namespace zorone {

// The fields of dialog 137. A new object per command: all boxes start clear.
struct CKeywordSaveDlg {
    int m_bUseResult = 0; // 1038, tests column 0 (mark)
    int m_bUseFileName = 0; // 1039, column 1
    int m_bUseExt = 0; // 1040, column 2
    int m_bUseURL = 0; // 1041, column 4
    std::string m_sKeyResult;
    std::string m_sKeyFileName;
    std::string m_sKeyExt;
    std::string m_sKeyURL;

    // The "実行" button: false (after telling the user why) while no box is
    // ticked or every keyword is empty; the dialog then stays open.
    bool Validate(platform::UiServices& ui) const;
};

// Whether keyword occurs in text starting at a character boundary of the
// code page (never inside a double-byte character); case-sensitive. The
// empty keyword occurs in every text.
bool ContainsKeyword(std::string_view text, std::string_view keyword);
// Whether the row satisfies every ticked box of the dialog.
bool RowMatchesKeywords(const DownloadItem& row, const CKeywordSaveDlg& dlg);

// The text the keyword save writes for path's format: CSV lines with four
// fields (mark, name, extension, URL; no size), or TXT and LST lines.
std::string BuildKeywordText(Core& core, const CKeywordSaveDlg& dlg, const std::string& path);

// After the dialog ended with OK: asks for a path and writes the matching
// rows. Leaves m_bListModified as it was.
void KeywordFilteredSave(Core& core, const CKeywordSaveDlg& dlg);

} // namespace zorone
