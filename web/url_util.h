#pragma once
// Link resolution, query stripping and URL recognition in typed text. Pure
// byte-string functions; "positions" count bytes.
#include <string>
#include <string_view>

namespace zorone::CUrlUtil {

// Resolves a link found in a document against the document's folder.
std::string ResolveUrl(std::string_view documentUrl, std::string_view link);
// The URL cut before its first "#" or "?".
std::string StripQueryAndFragment(std::string_view url);
// The "http://" and "ftp://" addresses found in free text, joined by CR LF.
std::string ExtractUrlsFromText(std::string_view text);

} // namespace zorone::CUrlUtil
