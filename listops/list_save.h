#pragma once
// The commands that move the list to and from files: save, load, dropped
// files, the save question at exit and the carry-over file default.csv.
#include "engine/core.h"

#include <string>
#include <vector>

namespace zorone {

// Asks for a path and writes the list in the format its extension names.
// 1 when a file was written; 0 when the user cancelled (silently) or the
// file could not be written (with a message).
int SaveListFile(Core& core);
// Asks for a path and appends the rows of that file. 1 when it was read or
// the dialog cancelled; 0 when it could not be read (with a message).
int OpenListFile(Core& core);

// Commands 32773 and 32772 with their status texts.
void SaveListCommand(Core& core);
void LoadListCommand(Core& core);

// Files and folders dropped on the window, in the order the desktop gives
// them: list files are appended (one that cannot be read with a message); a folder dropped alone becomes the download
// folder. A path whose status cannot be read counts as a folder.
void OnDropFiles(Core& core, const std::vector<std::string>& paths);

// 1 when the exit may go on: the save question (when the list changed and
// m_bSaveExit is 1) was answered or the list saved, then the carry-over file
// written when m_bDefaultSave is 1. 0 when the user chose to stay.
int PrepareExit(Core& core);
int ConfirmSaveOnExit(Core& core);

// programFolderPrefix + "default.csv".
std::string CarryOverPath(const Core& core);
// Replaces the carry-over file with the list (none for an empty list or a
// declined long one). When it cannot be written the old file is kept and a
// message says so.
void SaveCarryOverList(Core& core);
// Offers the carry-over file when m_bDefaultSave is 1 and appends its rows
// when the user accepts. The window calls it once, at its first paint.
void RestoreCarryOverList(Core& core);

// Lists up to this many rows are kept for the next start without a question;
// carry-over files up to this many bytes are offered with the short question.
constexpr int kCarryOverQuietRows = 2000;
constexpr std::int64_t kCarryOverQuietBytes = 500000;

} // namespace zorone
