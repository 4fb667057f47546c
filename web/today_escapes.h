#pragma once
// The text-level decoding of a reference once it is UTF-8: HTML character
// references, CSS escapes, and the last clean-up every link gets.
#include <cstdint>
#include <string>
#include <string_view>

namespace zorone::today {

// Appends code point cp as UTF-8 (a surrogate or a value past U+10FFFF as
// U+FFFD).
void AppendCodePoint(std::string& out, std::uint32_t cp);

// Appends an attribute value with its character references decoded: numeric
// ones (&#38; &#x26;, the semicolon optional; zero, surrogates and values
// past U+10FFFF give U+FFFD, 0x80-0x9F the Windows-1252 character a browser
// shows) and the named ones of a table of the frequent names. A name written
// without its semicolon is decoded only where HTML allows it (the Latin-1
// names such as amp, lt, gt, quot, nbsp, copy, reg) and, as in attribute
// values, not when a letter, a digit or "=" follows: "?a=1&copy=2" keeps its
// "&copy". Anything else is kept as written.
void AppendCharRefsDecoded(std::string& out, std::string_view utf8);

// Appends CSS text with its escapes decoded: "\" and 1 to 6 hex digits (and
// one whitespace after them) is that code point, "\" and a line break is
// nothing (a string's continuation), "\" and any other character is that
// character.
void AppendCssUnescaped(std::string& out, std::string_view utf8);

// The final form of a link: invalid UTF-8 bytes and NUL become U+FFFD, tabs
// and line breaks are dropped (a URL parser ignores them), and leading and
// trailing ASCII whitespace is trimmed.
std::string FinishLink(std::string_view text);

} // namespace zorone::today
