#include "listops/list_files.h"

#include "engine/whole_file.h"
#include "tests/listops/list_fixture.h"
#include "web/site_util.h"

#include <sys/stat.h>

#include <filesystem>
#include <iterator>

namespace zorone::test {
namespace {

const std::string kDone = "\x81\x9b"; // ○
const std::string kWait = "\x81\x7c"; // －
const std::string kActive = "\x81\x9e"; // ◇
const std::string kHyou = "\x95\x5c"; // 表: its trail byte is "\"

using ListFiles = ListTest;

struct ParseCase {
    const char* name;
    std::string text;
    std::vector<Row> rows;
};

TEST_F(ListFiles, CsvReaderTurnsBytesIntoRows)
{
    const std::vector<ParseCase> cases = {
        { "five fields", "a,b,c,d,e\r\n", { { "a", "b", "c", "d", "e" } } },
        { "fewer fields: the last lands at CR and again at LF", "a,b\r\n", { { "a", "b", "b", "", "" } } },
        { "extra fields are ignored", "a,b,c,d,e,f,g\r\n", { { "a", "b", "c", "d", "e" } } },
        { "LF-only line ends", "a,b,c,d,e\nf,g,h,i,j\n", { { "a", "b", "c", "d", "e" }, { "f", "g", "h", "i", "j" } } },
        { "CR-only line ends give the first line only", "a,b,c,d,e\rf,g,h,i,j\r", { { "a", "b", "c", "d", "e" } } },
        { "last line without line end", "a,b,c,d,e\r\nf,g,h,i,j",
            { { "a", "b", "c", "d", "e" }, { "f", "g", "h", "i", "j" } } },
        { "blank line", "\r\n", { { "", "", "", "", "" } } },
        { "blank line after a row", "a,b,c,d,e\r\n\r\n", { { "a", "b", "c", "d", "e" }, { "", "", "", "", "" } } },
        { "single byte", "x", { { "x", "", "", "", "" } } },
        { "empty text", "", {} },
        { "comma inside a written field shifts the rest", kDone + ",a,b,htm,5,http://h/a,b.htm\r\n",
            { { kDone, "a", "b", "htm", "5" } } },
        { "quoted fields hold commas, quotes and line ends",
            kDone + ",\"a,b\",\"say \"\"hi\"\"\",htm,\"http://h/x\r\ny\"\r\n",
            { { kDone, "a,b", "say \"hi\"", "htm", "http://h/x\r\ny" } } },
        { "quoted field ending the text", "a,b,c,d,\"e,f\"", { { "a", "b", "c", "d", "e,f" } } },
        { "empty quoted field", "\"\",b,c,d,e\r\n", { { "", "b", "c", "d", "e" } } },
        { "a field that merely starts with a quote reads as it always did", "\"a,b\"c,d\r\n",
            { { "\"a", "b\"c", "d", "d", "" } } },
        { "unclosed quote reads as it always did", "\"a,b\r\n", { { "\"a", "b", "b", "", "" } } },
        { "double-byte texts pass unchanged", kDone + "," + kHyou + ".htm,htm,12,http://h/" + kHyou + ".htm\r\n",
            { { kDone, kHyou + ".htm", "htm", "12", "http://h/" + kHyou + ".htm" } } },
    };
    for (const ParseCase& c : cases) {
        core.list.DeleteAllItems();
        ParseCsvText(core, c.text);
        EXPECT_EQ(Rows(), c.rows) << c.name;
    }
}

TEST_F(ListFiles, TxtAndLstReadersSplitOnlyAtCrLf)
{
    struct LineCase {
        const char* name;
        ListFormat format;
        std::string text;
        std::vector<Row> rows;
    };
    const std::vector<LineCase> cases = {
        { "txt row", ListFormat::Txt, kDone + "http://h/a.htm\r\n",
            { { kDone, "a.htm", "htm", "", "http://h/a.htm" } } },
        { "txt without mark takes two URL bytes", ListFormat::Txt, "http://h/x/\r\n",
            { { "ht", "x", "", "", "tp://h/x/" } } },
        { "LF alone ends a line, a lone CR stays in it", ListFormat::Txt, kWait + "a\rb\n" + kDone + "c\r\n",
            { { kWait, "", "", "", "a\rb" }, { kDone, "", "", "", "c" } } },
        { "txt reads a last line without a line end", ListFormat::Txt, kDone + "u1\r\n" + kDone + "u2",
            { { kDone, "", "", "", "u1" }, { kDone, "", "", "", "u2" } } },
        { "txt blank line", ListFormat::Txt, "\r\n", { { "", "", "", "", "" } } },
        { "lst keeps the extension's case", ListFormat::Lst, "http://h/d/Photo.JPG\r\n",
            { { kWait, "Photo.JPG", "JPG", "", "http://h/d/Photo.JPG" } } },
        { "lst folder URL is named after its folder", ListFormat::Lst, "http://h/dir/\r\n",
            { { kWait, "dir", "", "", "http://h/dir/" } } },
        { "lst blank line", ListFormat::Lst, "\r\n", { { kWait, "", "", "", "" } } },
        { "lst written on Linux", ListFormat::Lst, "http://h/a.htm\nhttp://h/b.htm\n",
            { { kWait, "a.htm", "htm", "", "http://h/a.htm" }, { kWait, "b.htm", "htm", "", "http://h/b.htm" } } },
        { "lst without any line end", ListFormat::Lst, "http://h/a.htm",
            { { kWait, "a.htm", "htm", "", "http://h/a.htm" } } },
    };
    for (const LineCase& c : cases) {
        core.list.DeleteAllItems();
        ParseLineListText(core, c.text, c.format);
        EXPECT_EQ(Rows(), c.rows) << c.name;
    }
}

TEST_F(ListFiles, WritersProduceOneLinePerRowInEachFormat)
{
    AddRow({ kDone, "index.htm", "htm", "5120", "http://host/index.htm" });
    AddRow({ "", "a,b", "", "", "http://host/a,b" });
    AddRow({ kDone, "q\"", "", "", "x\r\n" });
    EXPECT_EQ(BuildListText(core, ListFormat::Csv),
        kDone + ",index.htm,htm,5120,http://host/index.htm\r\n,\"a,b\",,,\"http://host/a,b\"\r\n" + kDone
            + ",\"q\"\"\",,,\"x\r\n\"\r\n");
    core.list.DeleteAllItems();
    AddRow({ kDone, "index.htm", "htm", "5120", "http://host/index.htm" });
    AddRow({ "", "a,b", "", "", "http://host/a,b" });
    EXPECT_EQ(BuildListText(core, ListFormat::Txt), kDone + "http://host/index.htm\r\nhttp://host/a,b\r\n");
    EXPECT_EQ(BuildListText(core, ListFormat::Lst), "http://host/index.htm\r\nhttp://host/a,b\r\n");
    EXPECT_EQ(Status(), res::kFullColon + res::kStatusCsvSaveDone);
}

TEST_F(ListFiles, FormatFollowsTheCaseSensitiveExtension)
{
    EXPECT_EQ(ListFormatOf("/x/list.csv"), ListFormat::Csv);
    EXPECT_EQ(ListFormatOf("/x/list.lst"), ListFormat::Lst);
    EXPECT_EQ(ListFormatOf("/x/list.txt"), ListFormat::Txt);
    EXPECT_EQ(ListFormatOf("/x/list.CSV"), ListFormat::Txt);
    EXPECT_EQ(ListFormatOf("/x/list"), ListFormat::Txt);

    AddRow({ kDone, "a.htm", "htm", "9", "http://h/a.htm" });
    const std::string path = dir / "upper.CSV";
    ASSERT_EQ(WriteListFile(core, path), 1);
    EXPECT_EQ(ReadFileBytes(path), kDone + "http://h/a.htm\r\n");
    core.list.DeleteAllItems();
    EXPECT_EQ(LoadListFile(core, path), 1);
    EXPECT_EQ(Rows(), (std::vector<Row> { { kDone, "a.htm", "htm", "", "http://h/a.htm" } }));
}

TEST_F(ListFiles, EmptyListGivesZeroByteFilesAndLoadingAppends)
{
    for (const char* name : { "e.csv", "e.txt", "e.lst" }) {
        WriteFileBytes(dir / name, "old content");
        ASSERT_EQ(WriteListFile(core, dir / name), 1) << name;
        EXPECT_TRUE(PathExists(dir / name)) << name;
        EXPECT_EQ(ReadFileBytes(dir / name), "") << name;
    }
    AddRow({ kWait, "", "", "", "http://h/1" });
    WriteFileBytes(dir / "two.lst", "http://h/2\r\nhttp://h/3\r\n");
    LoadListFile(core, dir / "two.lst");
    LoadListFile(core, dir / "two.lst");
    EXPECT_EQ(
        Urls(), (std::vector<std::string> { "http://h/1", "http://h/2", "http://h/3", "http://h/2", "http://h/3" }));
    EXPECT_EQ(core.m_bListModified, 0);
    EXPECT_EQ(Status(), res::kFullColon + res::kStatusListLoadDone);

}

TEST_F(ListFiles, FilesThatCannotBeReadAreReportedAndFifosAndDevicesRefused)
{
    ASSERT_EQ(::mkfifo((dir / "fifo.lst").c_str(), 0600), 0);
    std::filesystem::create_directory(dir / "folder.csv");
    // Without the refusal a FIFO blocks for ever and /dev/zero never ends.
    for (const std::string& path : { dir / "missing.csv", dir / "fifo.lst", dir / "folder.csv", std::string("/dev/zero") }) {
        EXPECT_EQ(LoadListFile(core, path), 0) << path;
        EXPECT_EQ(core.list.GetItemCount(), 0) << path;
        EXPECT_EQ(Status(), res::kFullColon + res::kStatusReadFailed + path);
    }
}

TEST_F(ListFiles, NulBytesAreDroppedAndEveryOtherByteKept)
{
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "http://h/" + std::to_string(i) + (i == 3 ? std::string("\0x", 2) : std::string("x")) + ".htm\r\n";
    WriteFileBytes(dir / "nul.lst", text);
    ASSERT_EQ(LoadListFile(core, dir / "nul.lst"), 1);
    ASSERT_EQ(core.list.GetItemCount(), 100);
    EXPECT_EQ(core.list.GetItemText(3, kColUrl), "http://h/3x.htm");
    EXPECT_EQ(core.list.GetItemText(99, kColUrl), "http://h/99x.htm");
}

// Rows each format can hold in full: no comma, CR or LF; TXT marks of two
// bytes and names and extensions as the loaders derive them.
std::vector<Row> MakeRows(int n)
{
    const std::string marks[] = { kDone, kWait, kActive, "\x81\x5a" };
    std::vector<Row> rows;
    rows.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const std::string name = (i % 7 == 0 ? std::string("\x82\xa0") : std::string("f")) + std::to_string(i)
            + (i % 3 == 0        ? ".HTM"
                    : i % 3 == 1 ? ".gif"
                                 : "");
        rows.push_back({ marks[i % 4], name, CSiteUtil::GetExtension(name), i % 5 == 0 ? "" : std::to_string(i * 13),
            "http://h/d" + std::to_string(i % 50) + "/" + name });
    }
    return rows;
}

// CSV carries every column as it is: commas, quotes, CR and LF included.
std::vector<Row> WithCsvSpecials(std::vector<Row> rows)
{
    const std::string specials[] = { ",", "\"", "\r\n", "\n", "\r", "\",\"", "\"\"" };
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i][i % kColumnCount].insert(i % 3 == 0 ? 0 : rows[i][i % kColumnCount].size() / 2, specials[i % 7]);
    return rows;
}

TEST_F(ListFiles, HundredThousandRowsRoundTripThroughEachFormat)
{
    for (const char* name : { "big.csv", "big.txt", "big.lst" }) {
        const std::vector<Row> rows = ListFormatOf(name) == ListFormat::Csv ? WithCsvSpecials(MakeRows(100000)) : MakeRows(100000);
        core.list.DeleteAllItems();
        for (const Row& r : rows)
            AddRow(r);
        const std::string path = dir / name;
        ASSERT_EQ(WriteListFile(core, path), 1);
        core.list.DeleteAllItems();
        ASSERT_EQ(LoadListFile(core, path), 1);
        ASSERT_EQ(core.list.GetItemCount(), static_cast<int>(rows.size())) << name;
        const ListFormat format = ListFormatOf(path);
        for (size_t i = 0; i < rows.size(); ++i) {
            Row expected = rows[i];
            if (format != ListFormat::Csv)
                expected[kColSize].clear();
            if (format == ListFormat::Lst)
                expected[kColMark] = kWait;
            ASSERT_EQ(RowAt(static_cast<int>(i)), expected) << name << " row " << i;
        }
    }
}

TEST_F(ListFiles, CsvFieldsGoToTheirOwnRowWhenRowsAreAddedMeanwhile)
{
    // A command dispatched while the CSV text is read (one per row) may add
    // rows at the end; the fields of the row being read stay with it.
    int injected = 0;
    loop.PostTask([&] {
        core.list.InsertItem(core.list.GetItemCount(), "X");
        ++injected;
    });
    ParseCsvText(core, "a,b,c,d,e\r\nf,g,h,i,j\r\n");
    ASSERT_EQ(injected, 1);
    EXPECT_EQ(Rows(),
        (std::vector<Row> { { "a", "b", "c", "d", "e" }, { "X", "", "", "", "" }, { "f", "g", "h", "i", "j" } }));
}

} // namespace
} // namespace zorone::test
