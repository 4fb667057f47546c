#pragma once
// Link resolution, query stripping and URL recognition in typed text. Pure
// byte-string functions; "positions" count bytes.
#include <string>
#include <string_view>
#include <vector>

namespace zorone::CUrlUtil {

// Resolves a link found in a document against the document's folder; a
// link of a single "/" against the host's root, and "../" never climbs
// above that root.
std::string ResolveUrl(std::string_view documentUrl, std::string_view link);
// Whether the link begins with a scheme other than http, https or ftp
// ("mailto:", "file:", "javascript:", ...): such a link is not followed.
bool HasOtherScheme(std::string_view link);
// An address without a path ("http://host:8080") with its root "/" added.
std::string WithRootPath(std::string_view url);
// The non-empty lines of a URL field (the top URLs, one a line, ended by CR,
// LF or both), as views into it.
std::vector<std::string_view> UrlLines(std::string_view field);
// The URL cut before its first "#" or "?".
std::string StripQueryAndFragment(std::string_view url);
// The "http://", "https://" and "ftp://" addresses found in free text,
// joined by CR LF.
std::string ExtractUrlsFromText(std::string_view text);

} // namespace zorone::CUrlUtil
