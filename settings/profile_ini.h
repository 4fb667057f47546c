#pragma once
// Integer values in an INI file ("[section]" headers, "key=value" lines), as
// the lifetime download counter is kept. Section and key names ignore ASCII
// case and surrounding blanks, as INI readers commonly do.
#include <optional>
#include <string>
#include <string_view>

namespace zorone {

// The value of key in section, read like a Zorone.sav integer; def when the
// file, the section or the key is missing.
int ReadProfileInt(const std::string& path, std::string_view section, std::string_view key, int def);

// The text after "key=" in section, blanks around it removed; nothing when
// the file, the section or the key is missing.
std::optional<std::string> ReadProfileText(const std::string& path, std::string_view section, std::string_view key);

// Sets key in section to value, keeping every other line of the file as it
// was; creates the file (and its folder), the section and the key as needed.
// The file is replaced atomically. 1 on success.
int WriteProfileInt(const std::string& path, std::string_view section, std::string_view key, int value);
// The same for a text value (a single line).
int WriteProfileText(const std::string& path, std::string_view section, std::string_view key, std::string_view value);

} // namespace zorone
