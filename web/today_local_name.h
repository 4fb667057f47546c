#pragma once
// Where today's rules store the body of a URL under the download folder:
// names a browser can open and a reader can recognise, and never one file
// for two documents.
//
// The path is built from the normal form of the URL (NormaliseUrl):
// - first folder: the host, with ":port" when the port is not the scheme's
//   default; the scheme, user and password are not part of it, so
//   'http://h/x', 'https://h/x' and 'ftp://h/x' share 'h/x' on purpose.
//   An IPv6 host keeps its brackets ('[::1]:8080'), a valid name here.
// - folders and file name: the path's segments. Where the escaped non-ASCII
//   bytes of a segment form valid UTF-8 that CP932 holds without loss, they
//   and "%20" are written as the characters (in CP932, which the file-system
//   boundary turns back into the same UTF-8); otherwise the segment keeps its
//   escapes. All other escapes stay, so that "/" (%2F), NUL (%00) and "\"
//   (%5C) never act as separators or end a name.
// - "?" becomes "@": 'list?page=2' -> 'list@page=2'. To keep that readable
//   and unambiguous, "@" in a path segment is written "%40", "/" in a query
//   "%2F", and the escapes those two forms could be confused with ("%40" in
//   a path, "%2F" in a query, and "%25" anywhere) get their "%" written
//   "%25" ('a%40b' -> 'a%2540b').
// - a folder URL ('/dir/', '/dir/?p=1') is stored as 'dir/index.html',
//   'dir/index@p=1.html'.
// - a page served as HTML whose name does not end in ".html" or ".htm" gets
//   ".html", a style sheet without ".css" gets ".css"; the whole name counts,
//   query included ('a.php?x=1' -> 'a.php@x=1.html'), so that a browser
//   opens the local copy as what it is.
// - a segment that would be "." or ".." is written "%2E" or "%2E%2E", an
//   empty one ('a//b') "%"; none of these can come from another segment.
// - a name longer than 200 bytes in UTF-8 is cut and marked with "~" and 8
//   hex digits of a hash of the whole name, its extension kept at the end.
//   The marked name is 201 to 220 bytes long, so it never equals a name that
//   was short enough to keep.
//
// Two normalised URLs get the same path only on purpose: http, https and ftp
// of one host, with or without a user name and password; a folder URL and
// its index.html ('/d/' and '/d/index.html'; '/d/?q' and '/d/index?q.html');
// a name and the same name with the extension a type adds ('/a' served as
// HTML and '/a.html'); and two long names whose 32-bit hashes meet (about
// one in four thousand million).
#include <string>
#include <string_view>

namespace zorone::today {

// The path, in CP932 with "/" between components and no leading "/", under
// the download folder where the body of `url` is stored. `contentType` is the
// Content-Type of the answer, or "" before it is known. The URL is normalised
// first (a normalised URL stays as it is); "" when it cannot be.
std::string LocalRelativePath(std::string_view url, std::string_view contentType);

// Whether a Content-Type names an HTML page (text/html,
// application/xhtml+xml) or a style sheet (text/css); case and parameters
// ("; charset=utf-8") do not matter.
bool IsHtmlType(std::string_view contentType);
bool IsCssType(std::string_view contentType);
bool IsSvgType(std::string_view contentType);

} // namespace zorone::today
