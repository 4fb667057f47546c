#include "listops/list_sort.h"

#include "tests/listops/list_fixture.h"

#include <random>

namespace zorone::test {
namespace {

using platform::MbAnswer;
using Sorting = ListTest;

TEST(CompareCp932, OrdersByCharacterCodes)
{
    struct Case {
        std::string a, b;
        int sign;
    };
    const std::vector<Case> cases = {
        { "10", "100", -1 }, // prefix first
        { "100", "9", -1 }, // text, not numbers
        { "Z", "a", -1 }, // no case folding
        { "abc", "abc", 0 },
        { "", "a", -1 },
        { "\xb1", "\x81\x40", -1 }, // half-width katakana before any double-byte character
        { "~", "\xb1", -1 },
        { "\x81\x9b", "\x81\x7c", 1 }, // ○ after －
        { "\x88\x9f", "\x81\xfc", 1 }, // lead byte decides before the trail byte
        { "a\x81\x40", "a\x81\x40z", -1 },
    };
    for (const Case& c : cases) {
        const int r = CompareCp932(c.a, c.b);
        EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " vs " << c.b;
        const int back = CompareCp932(c.b, c.a);
        EXPECT_EQ((back > 0) - (back < 0), -c.sign) << c.b << " vs " << c.a;
    }
}

TEST(CompareCells, SizesCompareAsNumbersWithEmptyCellsFirst)
{
    struct Case {
        int column;
        std::string a, b;
        int sign;
    };
    const std::vector<Case> cases = {
        { kColSize, "9", "10", -1 },
        { kColSize, "9671", "94788", -1 },
        { kColSize, "99814", "94788", 1 },
        { kColSize, "", "0", -1 }, // not fetched yet
        { kColSize, "007", "7", 0 },
        { kColSize, "18446744073709551616", "9", 1 }, // wider than any integer type
        { kColSize, "12", "12", 0 },
        { kColSize, "999", "abc", -1 }, // an edited, non-numeric size after every number
        { kColSize, "abc", "abd", -1 },
        { kColFileName, "9", "10", 1 }, // other columns stay text
        { kColUrl, "http://h/100", "http://h/9", -1 },
    };
    for (const Case& c : cases) {
        const int r = CompareCells(c.column, c.a, c.b);
        EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " vs " << c.b;
        const int back = CompareCells(c.column, c.b, c.a);
        EXPECT_EQ((back > 0) - (back < 0), -c.sign) << c.b << " vs " << c.a;
    }
}

// The straightforward reference: neighbours swapped when strictly out of
// order, so equal keys never move past each other.
void BubbleSort(std::vector<Row>& rows, int column, bool descending)
{
    const size_t n = rows.size();
    for (size_t p = 0; p < n; ++p) {
        for (size_t j = 0; j + 1 < n - p; ++j) {
            const int c
                = CompareCells(column, rows[j][static_cast<size_t>(column)], rows[j + 1][static_cast<size_t>(column)]);
            if (descending ? c < 0 : c > 0)
                std::swap(rows[j], rows[j + 1]);
        }
    }
}

std::string RandomKey(std::mt19937& rng)
{
    static const std::vector<std::string> pieces = { "a", "B", "z", "1", "10", "9", "\xb1", "\xdf", "\x81\x9b",
        "\x81\x7c", "\x95\x5c", "\x88\x9f", "\xe0\x40", "" };
    std::string key;
    const int len = static_cast<int>(rng() % 3);
    for (int i = 0; i < len; ++i)
        key += pieces[rng() % pieces.size()];
    return key;
}

TEST_F(Sorting, MatchesTheBubbleSortInBothDirectionsOnEveryColumn)
{
    std::mt19937 rng(1234);
    std::vector<Row> rows;
    for (int i = 0; i < 300; ++i) {
        Row r;
        for (int c = 0; c < 4; ++c)
            r.push_back(RandomKey(rng));
        r.push_back("http://h/" + std::to_string(i)); // identifies the row
        rows.push_back(r);
    }
    for (const Row& r : rows)
        AddRow(r);
    std::vector<Row> expected = rows;
    for (int column : { 0, 1, 2, 3, 0, 2 }) {
        const bool descending = core.m_bSortDescending == 0;
        SortByColumn(core, column);
        ASSERT_EQ(core.m_bSortDescending, descending ? 1 : 0);
        BubbleSort(expected, column, descending);
        ASSERT_EQ(Rows(), expected) << "column " << column;
    }
    EXPECT_EQ(Status(), res::kFullColon + res::kStatusSortDone);
    EXPECT_EQ(core.window.progressHigh, 900);
    EXPECT_EQ(core.window.progressPos, 0);
}

TEST_F(Sorting, ShortListsOnlyFlipTheDirection)
{
    SortByColumn(core, 1);
    EXPECT_EQ(core.m_bSortDescending, 1);
    AddRow({ "", "b" });
    SortByColumn(core, 1);
    EXPECT_EQ(core.m_bSortDescending, 0);
    AddRow({ "", "a" });
    AddRow({ "", "c" });
    SortByColumn(core, 1); // the first real sort goes descending
    EXPECT_EQ(RowAt(0)[1], "c");
    EXPECT_EQ(RowAt(2)[1], "a");
}

TEST_F(Sorting, TwentyThousandRowsAskFirst)
{
    for (int i = 0; i < kLongListRows - 1; ++i)
        AddRow({ "", std::to_string(i % 10) });
    SortByColumn(core, 1);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(RowAt(0)[1], "9");

    AddRow({ "", "0" });
    const std::vector<Row> before = Rows();
    ui.QueueAnswer(MbAnswer::No);
    SortByColumn(core, 1);
    EXPECT_EQ(Boxes(), (std::vector<std::string> { Box("", res::kMsgTakesTime) }));
    EXPECT_EQ(Rows(), before);
    EXPECT_EQ(Status(), res::kFullColon + res::kStatusSorting);

    ui.QueueAnswer(MbAnswer::Yes);
    SortByColumn(core, 1);
    EXPECT_EQ(RowAt(0)[1], "9");
}

} // namespace
} // namespace zorone::test
