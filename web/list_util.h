#pragma once
// Membership in the comma-separated setting lists ("htm,html,...").
#include <string>
#include <string_view>

namespace zorone::CListUtil {

// Without leading and trailing spaces, CR and LF (tabs stay).
std::string TrimBlanks(std::string_view text);
// Whether word equals an element of list, ASCII case ignored, elements trimmed.
int IsInList(std::string_view word, std::string_view list);

} // namespace zorone::CListUtil
