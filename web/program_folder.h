#pragma once
// Where Zorone keeps its own files. Paths are CP932 with "/" separators.
//
// The program folder holds Zorone.sav, the two history files, default.csv and
// the default download/ folder. It is, in this order:
//  1. $ZORONE_HOME when set: one switch that moves everything, for portable
//     setups, several independent configurations and hermetic tests;
//  2. the folder of the program file when it already holds Zorone.sav and
//     the user may write there: an unpacked copy keeps its settings beside
//     itself and travels with them;
//  3. $XDG_DATA_HOME/zorone (default ~/.local/share/zorone): an installed
//     program's folder holds programs, not the user's files, even where the
//     user could write to it.
// The folder is created when it does not exist yet.
#include <string>

namespace zorone::CSiteUtil {

// The program folder without a trailing separator ("" for the root folder).
std::string GetModuleFolder();
// The program folder with its trailing "/".
std::string GetModuleFolderPrefix();

// The profile file holding the lifetime download counter. The counter
// belongs to the user rather than to one copy of the program, so it lives in
// the user's configuration, $XDG_CONFIG_HOME/zorone/zorone.ini (default
// ~/.config/zorone/zorone.ini); with $ZORONE_HOME set it is
// $ZORONE_HOME/zorone.ini, so that the switch really moves everything. The
// folder is not created here; writing the profile creates it.
std::string ProfilePath();

} // namespace zorone::CSiteUtil
