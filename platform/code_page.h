#pragma once
// Conversions between the CP932 byte strings used everywhere inside Zorone and
// the UTF-8 of the window, the terminal and the file system.
#include <string>
#include <string_view>

namespace zorone::platform {

// CP932 -> UTF-8. Valid text converts losslessly; a byte that does not start a
// valid CP932 character is copied through unchanged, so nothing is dropped on
// the way to a file name.
std::string Cp932ToUtf8(std::string_view cp932);

// UTF-8 -> CP932. A character CP932 cannot express is kept as its UTF-8 bytes.
std::string Utf8ToCp932(std::string_view utf8);

// "" when this system can convert between CP932 and UTF-8; otherwise why
// not, in English for the terminal and the message box. Every text Zorone
// holds is CP932, so both programs check this first and stop when it fails.
std::string CodePageProblem();

// A CP932 path as the file system wants it: "\" becomes "/" and the text
// becomes UTF-8 (invalid bytes passed through).
std::string ToFsPath(std::string_view cp932Path);

// True for a CP932 lead byte (the first byte of a double-byte character).
constexpr bool IsLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

} // namespace zorone::platform
