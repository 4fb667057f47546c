#pragma once
// The request settings kept per user in the profile file (section
// [Requests]): cookies file, User-Agent, extra headers and the robots.txt
// choice. Zorone.sav keeps its 21 values; these live beside the counter.
#include "settings/settings.h"

#include <string>
#include <string_view>

namespace zorone {

constexpr std::string_view kRequestSection = "Requests";

void LoadRequestProfile(Settings& settings, const std::string& profilePath);
// 1 when every value was written.
int SaveRequestProfile(const Settings& settings, const std::string& profilePath);

// The headers (lines) as one profile value and back: "\" and line breaks
// escaped as "\\" and "\n".
std::string EscapeProfileLines(std::string_view text);
std::string UnescapeProfileLines(std::string_view text);

} // namespace zorone
