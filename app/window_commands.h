#pragma once
// The main window's own life cycle and commands, without a toolkit: what
// happens when it is created, first painted and destroyed, the folder command
// and the summary toggle.
namespace zorone {

class CZoroneDlg;

// Window initialisation: index name, histories loaded, crawl flag cleared,
// the first-run hint, the tray icon, and the fields written to the controls.
void OnInitDialog(CZoroneDlg& dlg);
// Window destruction: histories saved, tray icon removed.
void OnDestroyWindow(CZoroneDlg& dlg);
// Folder command (1001, 32780): pick a download folder.
void PickDownloadFolder(CZoroneDlg& dlg);
// Command 32796: show or hide the summary box.
void ToggleSummary(CZoroneDlg& dlg);

void RegisterWindowCommands(CZoroneDlg& dlg);

} // namespace zorone
