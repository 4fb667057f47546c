#include "listops/list_files.h"

#include "engine/dispatch.h"
#include "engine/output.h"
#include "engine/whole_file.h"
#include "listops/text_format.h"
#include "res/texts.h"
#include "web/site_util.h"

#include <algorithm>
#include <climits>

namespace zorone {
namespace {

constexpr char kCr = '\r';
constexpr char kLf = '\n';
// Bytes that make a CSV field quoted; no trail byte of a double-byte
// character is among them.
constexpr std::string_view kCsvSpecial = ",\"\r\n";

// A rough line length, so that the text grows in a few steps.
constexpr size_t kLineEstimate = 96;

// Where the CSV reader puts a field: the row it inserted last, followed by
// its id so that rows inserted or removed by a command dispatched in between
// do not receive the fields of this one.
void StoreField(Core& core, ItemId row, int column, const std::string& field)
{
    const int position = core.list.FindItem(row);
    if (position >= 0)
        core.list.SetItemText(position, column, field);
}

// A field that opens with a quote holds everything up to the closing quote,
// a doubled quote standing for one. It counts as quoted only when the
// closing quote is followed by a delimiter or the end: files written before
// fields were quoted may hold a field that merely starts with a quote, and
// those read as they always did. On success field holds the content and
// after the position behind the closing quote.
bool ReadQuotedField(std::string_view text, size_t open, std::string& field, size_t& after)
{
    std::string content;
    for (size_t j = open + 1; j < text.size(); ++j) {
        if (text[j] != '"') {
            content += text[j];
            continue;
        }
        if (j + 1 < text.size() && text[j + 1] == '"') {
            content += '"';
            ++j;
            continue;
        }
        const size_t next = j + 1;
        if (next < text.size() && text[next] != ',' && text[next] != kCr && text[next] != kLf)
            return false;
        field = std::move(content);
        after = next;
        return true;
    }
    return false;
}

void AppendRowFromLine(Core& core, const std::string& line, ListFormat format)
{
    DownloadItem item;
    if (format == ListFormat::Lst) {
        item.cols[kColMark] = res::kMarkWaiting;
        item.cols[kColUrl] = line;
    } else {
        item.cols[kColMark] = line.substr(0, 2);
        item.cols[kColUrl] = line.size() > 2 ? line.substr(2) : std::string();
    }
    // The loaders name a folder URL after its last folder and keep the
    // extension's case, unlike rows added by the crawl.
    item.cols[kColFileName] = CSiteUtil::GetFolderName(item.cols[kColUrl]);
    item.cols[kColExtension] = CSiteUtil::GetExtension(item.cols[kColFileName]);
    core.list.InsertRow(core.list.GetItemCount(), std::move(item));
}

} // namespace

ListFormat ListFormatOf(std::string_view path)
{
    const std::string ext = CSiteUtil::GetExtension(path);
    if (ext == "csv")
        return ListFormat::Csv;
    if (ext == "lst")
        return ListFormat::Lst;
    return ListFormat::Txt;
}

void AppendCsvField(std::string& out, std::string_view field)
{
    if (field.find_first_of(kCsvSpecial) == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char b : field) {
        if (b == '"')
            out += '"';
        out += b;
    }
    out += '"';
}

void AppendCsvLine(std::string& out, const DownloadItem& row)
{
    for (int c = 0; c < kColumnCount; ++c) {
        if (c > 0)
            out += ',';
        AppendCsvField(out, row.cols[static_cast<size_t>(c)]);
    }
    out += "\r\n";
}

void AppendTxtLine(std::string& out, const DownloadItem& row)
{
    out += row.cols[kColMark];
    out += row.cols[kColUrl];
    out += "\r\n";
}

void AppendLstLine(std::string& out, const DownloadItem& row)
{
    out += row.cols[kColUrl];
    out += "\r\n";
}

std::string BuildCsvText(Core& core)
{
    SetStatusText(core, res::kStatusCsvSave);
    std::string text;
    const int count = core.list.GetItemCount();
    text.reserve(static_cast<size_t>(count) * kLineEstimate);
    SetProgressRange(core, 0, count);
    DownloadItem row;
    // The count is read again every row: a command dispatched below may
    // have added or removed rows.
    for (int i = 0; i < core.list.GetItemCount(); ++i) {
        for (int c = 0; c < kColumnCount; ++c)
            row.cols[static_cast<size_t>(c)] = core.list.GetItemText(i, c);
        AppendCsvLine(text, row);
        SetStatusText(core, FormatCounts(res::kStatusCsvSaving, i, core.list.GetItemCount()));
        SetProgressPos(core, i);
        DispatchOnePending(core);
    }
    SetProgressPos(core, 0);
    SetStatusText(core, res::kStatusCsvSaveDone);
    return text;
}

std::string BuildListText(Core& core, ListFormat format)
{
    if (format == ListFormat::Csv)
        return BuildCsvText(core);
    std::string text;
    const int count = core.list.GetItemCount();
    text.reserve(static_cast<size_t>(count) * kLineEstimate);
    DownloadItem row;
    for (int i = 0; i < count; ++i) {
        row.cols[kColMark] = core.list.GetItemText(i, kColMark);
        row.cols[kColUrl] = core.list.GetItemText(i, kColUrl);
        if (format == ListFormat::Lst)
            AppendLstLine(text, row);
        else
            AppendTxtLine(text, row);
    }
    return text;
}

void ParseCsvText(Core& core, std::string_view text)
{
    SetStatusText(core, res::kStatusCsvLoad);
    const size_t length = text.size();
    const int high = static_cast<int>(std::min<size_t>(length, INT_MAX));
    SetProgressRange(core, 0, high);
    std::string field;
    int column = 0;
    ItemId current = 0;
    const auto endField = [&](size_t at) {
        if (column == 0) {
            DownloadItem item;
            item.cols[kColMark] = field;
            const int position = core.list.InsertRow(core.list.GetItemCount(), std::move(item));
            current = core.list.GetItemId(position);
        } else if (column < kColumnCount) {
            StoreField(core, current, column, field);
            if (column == kColUrl) {
                const int pos = static_cast<int>(std::min<size_t>(at, INT_MAX));
                SetStatusText(core, FormatCounts(res::kStatusCsvLoading, pos, high));
                SetProgressPos(core, pos);
                DispatchOnePending(core);
            }
        }
        ++column;
    };
    bool fieldStart = true;
    size_t i = 0;
    while (i < length) {
        size_t after = 0;
        if (fieldStart && text[i] == '"' && ReadQuotedField(text, i, field, after)) {
            fieldStart = false;
            i = after;
            // The delimiter after the closing quote is handled as usual.
            if (i == length)
                endField(i - 1);
            continue;
        }
        fieldStart = false;
        const char b = text[i];
        const bool last = i + 1 == length;
        // A final line without a line end still makes a complete row.
        if (last && b != kCr && b != kLf)
            field += b;
        if (b == ',' || b == kCr || b == kLf || last)
            endField(i);
        if (b == ',') {
            field.clear();
            fieldStart = true;
        } else if (b == kCr) {
            // Neither stored nor emptying: the LF that follows ends the row.
        } else if (b == kLf) {
            column = 0;
            field.clear();
            fieldStart = true;
        } else {
            field += b;
        }
        ++i;
    }
    SetProgressPos(core, 0);
    SetStatusText(core, res::kStatusCsvLoadDone);
}

void ParseLineListText(Core& core, std::string_view text, ListFormat format)
{
    const size_t length = text.size();
    SetProgressRange(core, 0, static_cast<int>(std::min<size_t>(length, INT_MAX)));
    std::string line;
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == kLf || (text[i] == kCr && i + 1 < length && text[i + 1] == kLf)) {
            SetProgressPos(core, static_cast<int>(std::min<size_t>(i, INT_MAX)));
            AppendRowFromLine(core, line, format);
            line.clear();
            if (text[i] == kCr)
                ++i;
        } else {
            line += text[i];
        }
    }
    if (!line.empty())
        AppendRowFromLine(core, line, format);
}

void AddListRows(Core& core, std::string_view text, ListFormat format)
{
    const int before = core.list.GetItemCount();
    if (format == ListFormat::Csv)
        ParseCsvText(core, text);
    else
        ParseLineListText(core, text, format);
    // The title and summary show the list as it now is, not only the rows
    // added before the file.
    if (core.list.GetItemCount() != before)
        RecountSummary(core);
}

int LoadListFile(Core& core, const std::string& path)
{
    SetStatusText(core, res::kStatusListLoading);
    std::string text;
    if (!ReadWholeFile(core, path, text)) {
        SetStatusText(core, res::kStatusReadFailed + path);
        return 0;
    }
    AddListRows(core, text, ListFormatOf(path));
    SetStatusText(core, res::kStatusListLoadDone);
    SetProgressPos(core, 0);
    return 1;
}

int WriteListFile(Core& core, const std::string& path)
{
    const std::string text = BuildListText(core, ListFormatOf(path));
    return WriteWholeFile(core, path, text);
}

} // namespace zorone
