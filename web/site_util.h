#pragma once
// URL and path parts. Both "/" and "\" are separators; results are new texts.
#include <string>
#include <string_view>

namespace zorone::CSiteUtil {

// Prefix through the last separator, or "".
std::string GetUrlFolder(std::string_view url);
// Bytes after the last separator; "" when there is none or it ends the text.
std::string GetFileName(std::string_view url);
// GetFileName after dropping one trailing separator.
std::string GetFolderName(std::string_view url);
// Bytes after the last "." found at index 1 or above, or "".
std::string GetExtension(std::string_view name);
// "http://", "https://" or "ftp://" at the start, exact case.
int IsAbsoluteUrl(std::string_view text);
// Every byte is one allowed in a link (a colon only at index 3, 4 or 5).
int IsValidUrlText(std::string_view text);
// Number of "/" and "\" bytes.
int CountSeparators(std::string_view text);

} // namespace zorone::CSiteUtil
