#pragma once
// Integer values in an INI file ("[section]" headers, "key=value" lines), as
// the lifetime download counter is kept. Section and key names ignore ASCII
// case and surrounding blanks, as INI readers commonly do.
#include <string>
#include <string_view>

namespace zorone {

// The value of key in section, read like a Zorone.sav integer; def when the
// file, the section or the key is missing.
int ReadProfileInt(const std::string& path, std::string_view section, std::string_view key, int def);

// The text of key in section, blanks around it trimmed; def when missing.
std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view def);

// Sets key in section to value, keeping every other line of the file as it
// was; creates the file (and its folder), the section and the key as needed.
// The file is replaced atomically. 1 on success.
int WriteProfileInt(const std::string& path, std::string_view section, std::string_view key, int value);
// The same for a text, which must not hold a line break.
int WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                       std::string_view value);

} // namespace zorone
