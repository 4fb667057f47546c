#pragma once
// The single gate through which work enters the download list.
#include "engine/core.h"

#include <string>

namespace zorone {

// Normalises url (query and fragment cut, a folder URL expanded into its
// index-file candidates), applies the site, depth and duplicate rules and
// inserts the row ("－", at the top for priority files). Returns 1 when a row
// was added for url itself, 0 when a rule refused it.
int AddURL(Core& core, std::string url);

} // namespace zorone
