#include "listops/keyword_save.h"

#include "engine/output.h"
#include "engine/whole_file.h"
#include "listops/list_files.h"
#include "platform/code_page.h"
#include "res/texts.h"
#include "web/dialog_helpers.h"

namespace zorone {
using platform::MbButtons;

bool CKeywordSaveDlg::Validate(platform::UiServices& ui) const
{
    if (m_bUseResult != 1 && m_bUseFileName != 1 && m_bUseExt != 1 && m_bUseURL != 1) {
        ui.MessageBox(res::kMsgNoKeywordTarget, res::kCaptionInputError, MbButtons::Ok);
        return false;
    }
    if (m_sKeyResult.empty() && m_sKeyFileName.empty() && m_sKeyExt.empty() && m_sKeyURL.empty()) {
        ui.MessageBox(res::kMsgNoKeyword, res::kCaptionInputError, MbButtons::Ok);
        return false;
    }
    return true;
}

bool ContainsKeyword(std::string_view text, std::string_view keyword)
{
    if (keyword.empty())
        return true;
    size_t i = 0;
    while (i + keyword.size() <= text.size()) {
        if (text.compare(i, keyword.size(), keyword) == 0)
            return true;
        i += platform::IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    }
    return false;
}

bool RowMatchesKeywords(const DownloadItem& row, const CKeywordSaveDlg& dlg)
{
    if (dlg.m_bUseResult == 1 && !ContainsKeyword(row.cols[kColMark], dlg.m_sKeyResult))
        return false;
    if (dlg.m_bUseFileName == 1 && !ContainsKeyword(row.cols[kColFileName], dlg.m_sKeyFileName))
        return false;
    if (dlg.m_bUseExt == 1 && !ContainsKeyword(row.cols[kColExtension], dlg.m_sKeyExt))
        return false;
    return dlg.m_bUseURL != 1 || ContainsKeyword(row.cols[kColUrl], dlg.m_sKeyURL);
}

std::string BuildKeywordText(Core& core, const CKeywordSaveDlg& dlg, const std::string& path)
{
    const ListFormat format = ListFormatOf(path);
    if (format == ListFormat::Csv)
        SetStatusText(core, res::kStatusCsvSave);
    std::string text;
    DownloadItem row;
    const int count = core.list.GetItemCount();
    for (int i = 0; i < count; ++i) {
        for (int c = 0; c < kColumnCount; ++c)
            row.cols[static_cast<size_t>(c)] = core.list.GetItemText(i, c);
        if (!RowMatchesKeywords(row, dlg))
            continue;
        switch (format) {
        case ListFormat::Csv:
            AppendCsvField(text, row.cols[kColMark]);
            for (const int c : { kColFileName, kColExtension, kColUrl }) {
                text += ',';
                AppendCsvField(text, row.cols[static_cast<size_t>(c)]);
            }
            text += "\r\n";
            break;
        case ListFormat::Lst:
            AppendLstLine(text, row);
            break;
        case ListFormat::Txt:
            AppendTxtLine(text, row);
            break;
        }
    }
    if (format == ListFormat::Csv)
        SetStatusText(core, res::kStatusCsvSaveDone);
    return text;
}

void KeywordFilteredSave(Core& core, const CKeywordSaveDlg& dlg)
{
    const std::string path = CSiteUtil::AskSaveFileName(core.ui, "", res::kFilterListSave);
    SetStatusText(core, res::kStatusSaving);
    if (path.empty())
        return;
    const std::string text = BuildKeywordText(core, dlg, path);
    if (WriteWholeFile(core, path, text))
        core.ui.MessageBox(res::kMsgSaved, res::kCaptionSaved, MbButtons::Ok);
    else
        core.ui.MessageBox(res::kMsgSaveFailed, res::kCaptionWarning, MbButtons::Ok);
}

} // namespace zorone
