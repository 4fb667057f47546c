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

// Reads the file's content into out, zero bytes left out (no text holds them,
// and the rest of the file is still wanted). False, with out empty, when the file cannot be opened, is not a regular
// file (a folder, FIFO or device is refused before any read) or a read
// fails. One pending window message is dispatched per 1024-byte block, so
// commands and transfer notifications may run in the middle of a read.
bool ReadWholeFile(Core& core, const std::string& path, std::string& out);
// The same, "" for a file that cannot be read.
std::string ReadWholeFile(Core& core, const std::string& path);

} // namespace zorone
