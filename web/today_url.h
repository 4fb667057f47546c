#pragma once
// The URL model of today's rules: every address a row holds is in one normal
// form, so that the duplicate rule can compare whole URLs byte for byte and a
// list file stays valid CP932.
//
// The normal form of an http, https or ftp URL with a host:
// - scheme and host lower-case; the port left out when it is the scheme's
//   default (80, 443, 21);
// - no fragment; an empty query ("page?") is dropped, because libcurl, which
//   parses and rebuilds the URL, keeps no empty query;
// - the path at least "/", with its dot segments removed (also those written
//   "%2E");
// - escapes with upper-case hex; escapes of unreserved bytes written plain
//   ("%7E" -> "~", "%41" -> "A"); every other byte that is not printable
//   ASCII, and the printable ones a URL may not hold plain (space, '"', "<",
//   ">", "\", "^", "`", "{", "|", "}", "[", "]" outside an IPv6 host),
//   escaped; "+" stays as it is;
// - a user name and password stay in the URL (the transfer needs them), with
//   their escapes normalised the same way; an empty one ("http://@h/") is
//   dropped.
// The result is ASCII. Host names outside ASCII are refused: they would have
// to be sent as punycode, and libcurl 7.88 makes that only under a UTF-8
// locale, so the same URL would be taken in one program and refused in
// another.
#include <cstddef>
#include <string>
#include <string_view>

namespace zorone::today {

// A URL longer than this, before or after normalising, is refused: no server
// answers a request line of that size, and a page must not be able to fill
// the list with megabyte rows.
inline constexpr std::size_t kMaxUrlBytes = 32768;

// An absolute URL, as typed or read from a list row, in the normal form; ""
// when it is not an http, https or ftp URL with a host. Leading and trailing
// blanks and control bytes are ignored, tab, CR and LF inside are removed, and
// "\" before the query counts as "/" (as browsers read them). Bytes that are
// valid UTF-8 are escaped as they are; other non-ASCII text is read as CP932
// when it converts cleanly (a URL typed into the window) and escaped as its
// UTF-8; anything else is escaped byte by byte.
std::string NormaliseUrl(std::string_view url);

// The reference `link`, found in the page at `baseUrl` (a normalised URL),
// resolved by RFC 3986 and normalised. `link` is the UTF-8 text of an
// attribute or CSS value with entities already decoded; it is trimmed and
// cleaned like NormaliseUrl's input, and its non-ASCII bytes are escaped as
// they are (UTF-8, as browsers send them; invalid bytes one by one).
// "" when the link leads to no new document: an empty link, a fragment alone
// ("#top" is the page itself), a scheme other than http, https or ftp
// (mailto:, javascript:, data:, ...), or text that does not parse.
std::string ResolveLink(std::string_view baseUrl, std::string_view link);

// The scheme of a reference, lower-cased, or "" when it has none (RFC 3986:
// a letter, then letters, digits, "+", "-" or ".", then ":", all before any
// "/", "?" or "#").
std::string SchemeOf(std::string_view reference);

// The URL up to and including the last "/" of its path; query ignored.
// 'https://h/a/b.html?x=/y' gives 'https://h/a/'.
std::string PathFolderOf(std::string_view normalisedUrl);

// The host and, when it is not the scheme's default, the port: what decides
// "same host" whatever the scheme. 'http://H:80/' and 'https://h/' both give
// "h"; 'http://u:p@h:8080/' gives "h:8080"; 'http://[::1]:81/' "[::1]:81".
std::string HostKeyOf(std::string_view normalisedUrl);

// The number of "/" in scheme, authority and path (the query is not
// counted): the figure the depth rule compares.
int PathSeparators(std::string_view normalisedUrl);

} // namespace zorone::today
