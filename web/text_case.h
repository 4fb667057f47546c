#pragma once
// ASCII case folding that respects CP932: the trail byte of a double-byte
// character may fall in 'A'..'Z' and must not be touched.
#include <string>
#include <string_view>

namespace zorone {

void MakeLowerCp932(std::string& text);
std::string ToLowerCp932(std::string_view text);

} // namespace zorone
