#pragma once
// Reads one document for links and feeds each accepted link to AddURL.
#include "engine/core.h"

#include <string>

namespace zorone {

// Always returns 1.
int ExtractLinks(Core& core, const std::string& documentUrl, std::string_view text);

} // namespace zorone
