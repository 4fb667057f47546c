#include "listops/list_save.h"

#include "engine/data_exchange.h"
#include "engine/output.h"
#include "engine/whole_file.h"
#include "listops/list_files.h"
#include "platform/files.h"
#include "res/texts.h"
#include "web/dialog_helpers.h"
#include "web/file_text.h"

namespace zorone {
namespace files = platform::files;
using platform::MbAnswer;
using platform::MbButtons;

int SaveListFile(Core& core)
{
    const std::string path = CSiteUtil::AskSaveFileName(core.ui, "", res::kFilterListSave);
    SetStatusText(core, res::kStatusSaving);
    if (path.empty())
        return 0;
    // Cleared before the rows are read: a transfer completing while the CSV
    // text is built (messages are dispatched per row) sets it again, and
    // that change is not in the file.
    const int wasModified = core.m_bListModified;
    core.m_bListModified = 0;
    if (!WriteListFile(core, path)) {
        if (core.m_bListModified == 0)
            core.m_bListModified = wasModified;
        core.ui.MessageBox(res::kMsgSaveFailed, res::kCaptionWarning, MbButtons::Ok);
        return 0;
    }
    core.ui.MessageBox(res::kMsgSaved, res::kCaptionSaved, MbButtons::Ok);
    return 1;
}

namespace {

// Loads a list file the user named; a file that cannot be read is reported
// in a message box too, as the status line alone is easily missed.
int LoadNamedListFile(Core& core, const std::string& path)
{
    if (LoadListFile(core, path))
        return 1;
    core.ui.MessageBox(res::kMsgLoadFailed + "\r\n" + path, res::kCaptionWarning, MbButtons::Ok);
    return 0;
}

} // namespace

int OpenListFile(Core& core)
{
    SetStatusText(core, res::kStatusListOpen);
    const std::string path = CSiteUtil::AskOpenFileName(core.ui, "", res::kFilterListOpen);
    // A cancelled dialog loads nothing and is no failure.
    if (path.empty())
        return 1;
    return LoadNamedListFile(core, path);
}

void SaveListCommand(Core& core)
{
    SetStatusText(core, res::kStatusSaveCommand);
    const int saved = SaveListFile(core);
    SetStatusText(core, saved ? res::kStatusSaveSuccess : std::string());
}

void LoadListCommand(Core& core)
{
    SetStatusText(core, res::kStatusLoadCommand);
    SetStatusText(core, OpenListFile(core) ? res::kStatusLoadSuccess : res::kStatusLoadFailed);
}

void OnDropFiles(Core& core, const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        const files::Status status = files::GetStatus(path);
        const bool folder = !status.exists || status.isDirectory;
        if (!folder) {
            LoadNamedListFile(core, path);
        } else if (paths.size() == 1) {
            core.settings.m_sPath = path + "/";
            WriteFieldsToControls(core);
        }
    }
}

int ConfirmSaveOnExit(Core& core)
{
    if (!(core.m_bListModified == 1 && core.settings.m_bSaveExit == 1))
        return 1;
    for (int attempt = 0;; ++attempt) {
        const MbAnswer answer = core.ui.MessageBox(res::kMsgSaveOnExit, res::kCaptionExit, MbButtons::YesNoCancel);
        if (answer == MbAnswer::No)
            return 1;
        if (answer != MbAnswer::Yes)
            return 0;
        if (SaveListFile(core))
            return 1;
        if (core.ui.MessageBox(res::kMsgRetry, res::kCaptionQuestion, MbButtons::YesNo) != MbAnswer::Yes)
            return 1;
        // Offered once, after the second failure: enough attempts to tell a
        // slip from a real problem, without nagging on every later one.
        if (attempt == 1
            && core.ui.MessageBox(res::kMsgStopExit, res::kCaptionResume, MbButtons::YesNo) == MbAnswer::Yes)
            return 0;
    }
}

int PrepareExit(Core& core)
{
    if (!ConfirmSaveOnExit(core))
        return 0;
    if (core.settings.m_bDefaultSave == 1)
        SaveCarryOverList(core);
    return 1;
}

std::string CarryOverPath(const Core& core)
{
    return core.programFolderPrefix + "default.csv";
}

void SaveCarryOverList(Core& core)
{
    const std::string path = CarryOverPath(core);
    const bool keep = core.list.GetItemCount() <= kCarryOverQuietRows
        || core.ui.MessageBox(res::kMsgCarryOverLong, res::kCaptionQuestion, MbButtons::YesNoCancel) == MbAnswer::Yes;
    // The old file stays until the new one replaces it whole: building the
    // text of a long list takes a while, and a kill in between must not cost
    // the user the list kept last time. A declined or empty list leaves
    // nothing to offer.
    if (keep) {
        const std::string text = BuildCsvText(core);
        if (text.empty()) {
            CSiteUtil::RemoveFile(path);
        } else if (!WriteWholeFile(core, path, text)) {
            // A full disk or a read-only folder: the list kept last time is
            // better than none. The status line is frozen while closing, so
            // only a message box can tell the user.
            core.ui.MessageBox(res::kMsgCarryOverKeptOld + "\r\n" + path, res::kCaptionWarning, MbButtons::Ok);
        }
        return;
    }
    CSiteUtil::RemoveFile(path);
}

void RestoreCarryOverList(Core& core)
{
    if (core.settings.m_bDefaultSave != 1)
        return;
    const std::string path = CarryOverPath(core);
    const files::Status status = files::GetStatus(path);
    if (!status.exists || status.isDirectory)
        return;
    const std::string& question
        = status.size <= kCarryOverQuietBytes ? res::kMsgCarryOverOffer : res::kMsgCarryOverOfferLong;
    if (core.ui.MessageBox(question, res::kCaptionQuestion, MbButtons::YesNo) != MbAnswer::Yes)
        return;
    AddListRows(core, ReadWholeFile(core, path), ListFormat::Csv);
}

} // namespace zorone
