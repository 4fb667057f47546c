#include "listops/text_format.h"

#include <cstdio>

namespace zorone {
namespace {

// The formats come from the resource table, never from user input; each
// holds exactly as many "%d" as arguments are given.
template <typename... Args> std::string Format(const std::string& format, Args... args)
{
    char buffer[256];
    const int n = std::snprintf(buffer, sizeof buffer, format.c_str(), args...);
    if (n < 0)
        return {};
    if (static_cast<size_t>(n) < sizeof buffer)
        return std::string(buffer, static_cast<size_t>(n));
    std::string out(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(out.data(), out.size(), format.c_str(), args...);
    out.resize(static_cast<size_t>(n));
    return out;
}

} // namespace

std::string FormatCount(const std::string& format, int value)
{
    return Format(format, value);
}

std::string FormatCounts(const std::string& format, int first, int second)
{
    return Format(format, first, second);
}

} // namespace zorone
