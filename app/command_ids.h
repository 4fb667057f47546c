#pragma once
// Command ids of the main window's menus, buttons and list.
namespace zorone::cmd {

constexpr int kBrowse = 1001;
constexpr int kStart = 1003;
constexpr int kAbortNoControl = 1006;
constexpr int kClear = 1007;

constexpr int kExit = 32771;
constexpr int kLoadList = 32772;
constexpr int kSaveList = 32773;
constexpr int kSettingsAction = 32774;
constexpr int kStatistics = 32776;
constexpr int kMakerImageBrowser = 32777;
constexpr int kMakerLatest = 32778;
constexpr int kMakerHome = 32779;
constexpr int kPickFolder = 32780;
constexpr int kStartMenu = 32781;
constexpr int kAbortMenu = 32782;
constexpr int kClearMenu = 32783;
constexpr int kTrayToggle = 32784;
constexpr int kManual = 32786;
constexpr int kSettingsItem = 32787;
constexpr int kSettingsAnalysis = 32788;
constexpr int kAddress = 32789;
constexpr int kWizard = 32790;
constexpr int kKeywordSave = 32791;
constexpr int kEditItems = 32792;
constexpr int kDeleteItems = 32793;
constexpr int kRemoveDuplicates = 32794;
constexpr int kOpenItems = 32795;
constexpr int kToggleSummary = 32796;
constexpr int kListInfo = 32797;
constexpr int kMakerFileMover = 32798;
constexpr int kSettingsShortcut = 32799;
constexpr int kOpenLocalTop = 32801;
constexpr int kOpenOnlineTop = 32803;
constexpr int kSaveSkipped = 32805;

} // namespace zorone::cmd
