#pragma once
// Whole files as byte strings: the settings file, the histories and the list
// files go through these. No conversion of line ends or code page happens;
// failures are reported only by the result, never to the user.
#include <string>
#include <string_view>

namespace zorone::CSiteUtil {

// 1 when the file could be opened and read; out then holds its bytes up to
// the first zero byte. 0 otherwise, and out is left untouched.
int ReadFileText(std::string_view path, std::string& out);
// Every byte of the file, zero bytes included; "" when it cannot be read.
std::string LoadFileText(std::string_view path);

// Replaces the file's content with text, clearing a read-only attribute
// first. The new content goes to a temporary file that then takes the old
// one's place, so a crash or a full disk never leaves a cut-off file: 1 when
// the file now holds exactly text, 0 when it still holds what it held.
int WriteFileText(std::string_view path, std::string_view text);
// The same replacement without touching the attribute: a file the user made
// read-only (or a folder in the way) is left alone and the result is 0.
int ReplaceFileText(std::string_view path, std::string_view text);

// 1 when the file was deleted.
int RemoveFile(std::string_view path);

} // namespace zorone::CSiteUtil
