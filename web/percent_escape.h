#pragma once
// Byte-level helpers for percent-encoded URL text: recognising an escape,
// writing one, and telling which bytes RFC 3986 calls unreserved.
#include <string>
#include <string_view>

namespace zorone::today {

// The value of one hexadecimal digit, either case; -1 for any other byte.
int HexDigitValue(char c);

// The value of the escape "%XY" starting at text[pos], or -1 when text[pos]
// does not start one (not "%", or fewer than two hex digits follow).
int EscapeValueAt(std::string_view text, size_t pos);

// Appends "%XY" with upper-case hex digits.
void AppendEscape(std::string& out, unsigned char byte);

// ALPHA / DIGIT / "-" / "." / "_" / "~": bytes whose escapes mean the same as
// the bytes themselves, so a normal form writes them plain.
bool IsUnreserved(unsigned char byte);

// The text with every escape "%XY" replaced by its byte; a "%" that starts
// none stays as it is.
std::string PercentDecoded(std::string_view text);

// The length of the strict UTF-8 sequence starting at text[i], or 0 when it
// is not a valid one.
size_t Utf8SequenceLength(std::string_view text, size_t i);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

} // namespace zorone::today
