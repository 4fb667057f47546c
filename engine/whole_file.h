#pragma once
// A whole text moved between memory and a file while the status line and the
// progress bar show it: the list files, default.csv, the keyword save and the
// documents the crawl analyses go through these.
#include "engine/core.h"

#include <string>
#include <string_view>

namespace zorone {

constexpr int kWholeFileWriteBlock = 10240;
constexpr int kWholeFileReadBlock = 1024;

// Replaces the file at path with text. The new content is written beside the
// old file and then takes its place, so a failed save leaves the old file
// whole. TRUE when the file now holds exactly text; FALSE when it could not
// be written (a read-only file is not overwritten), with the failure and the
// path in the status line.
int WriteWholeFile(Core& core, const std::string& path, std::string_view text);

// The file's content, each 1024-byte block cut at its first zero byte; ""
// when the file cannot be opened or a read fails. One pending window message
// is dispatched per block, so commands and transfer notifications may run in
// the middle of a read.
std::string ReadWholeFile(Core& core, const std::string& path);

} // namespace zorone
