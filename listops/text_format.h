#pragma once
// printf-style filling of the "%d" texts of the resource table.
#include <string>

namespace zorone {

std::string FormatCount(const std::string& format, int value);
std::string FormatCounts(const std::string& format, int first, int second);

} // namespace zorone
