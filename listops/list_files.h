#pragma once
// The three list file formats (CSV, download-data TXT, URL-list LST), their
// writers and readers. Files are CP932 bytes with CR LF line ends and are
// moved whole through WriteWholeFile/ReadWholeFile; no conversion happens.
#include "engine/core.h"

#include <string>
#include <string_view>

namespace zorone {

enum class ListFormat { Csv, Txt, Lst };

// The format a path stands for: its extension compared case-sensitively
// with "csv", then "lst"; anything else (".CSV" and no extension included)
// is TXT. Stored files rely on this, so ".CSV" stays TXT.
ListFormat ListFormatOf(std::string_view path);

// A CSV field: as it is, or, when it holds ",", '"', CR or LF, between quotes
// with every '"' doubled (RFC 4180). Fields without those bytes are written
// bare, so lists without them give the same bytes as they always did.
void AppendCsvField(std::string& out, std::string_view field);
// One line per row, CR LF after each: CSV "mark,name,ext,size,url" with
// AppendCsvField, TXT mark immediately followed by the URL, LST the URL alone.
void AppendCsvLine(std::string& out, const DownloadItem& row);
void AppendTxtLine(std::string& out, const DownloadItem& row);
void AppendLstLine(std::string& out, const DownloadItem& row);

// The whole list as CSV, with per-row status and progress; one pending
// window message is dispatched per row.
std::string BuildCsvText(Core& core);
// The whole list in the given format, as the save command writes it.
std::string BuildListText(Core& core, ListFormat format);

// Appends the rows of a CSV text. Fields end at ",", CR, LF and the last
// byte; CR stores a field without emptying the buffer and LF starts the next
// row, so CR LF files give one row per line, LF-only files too, and CR-only
// files a single row. Fields past the fifth are ignored. A field opening with
// '"' and closed by a '"' before a delimiter is read as AppendCsvField wrote
// it, commas, quotes and line ends included.
void ParseCsvText(Core& core, std::string_view text);
// Appends the rows of a TXT or LST text. Lines end at CR LF or at LF alone (a
// lone CR stays in the line); a last line without a line end is read too.
// TXT: the first two bytes are the mark.
void ParseLineListText(Core& core, std::string_view text, ListFormat format);
// Appends the rows of a list text in format and, when there were any,
// counts the whole list into the summary afresh.
void AddListRows(Core& core, std::string_view text, ListFormat format);

// Reads a list file and appends its rows, the reader chosen by the path's
// extension. 1 when the file was read; 0 when it could not be (missing,
// unreadable, or not a regular file: a folder, FIFO or device is refused
// without reading), which adds nothing and says so in the status line.
int LoadListFile(Core& core, const std::string& path);
// Writes the whole list to path in the format its extension names. 1 when
// the file now holds the list, 0 when it could not be written.
int WriteListFile(Core& core, const std::string& path);

} // namespace zorone
