#pragma once
// The three standard pickers as the commands use them: a cancelled picker
// gives the empty text (folders) or the caller's default (files).
#include "platform/ui_services.h"

#include <string>

namespace zorone::CSiteUtil {

// The chosen folder ending in "/" (one separator, also for the root folder),
// or "" when cancelled. current is not preselected: the picker starts where
// the desktop's picker starts.
std::string BrowseForFolder(platform::UiServices& ui, const std::string& current);
// The chosen full path, or defaultName when cancelled. filter is the
// "description|pattern|...|" text.
std::string AskOpenFileName(platform::UiServices& ui, const std::string& defaultName, const std::string& filter);
// The chosen full path, or defaultExtension when cancelled; callers pass ""
// so that a cancelled dialog gives "".
std::string AskSaveFileName(platform::UiServices& ui, const std::string& defaultExtension, const std::string& filter);

} // namespace zorone::CSiteUtil
