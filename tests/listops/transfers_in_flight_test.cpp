// List commands while transfers are open: every later update of a transfer
// (size, done mark) must reach its own item wherever it stands, or nothing
// when the item is gone, never another row.
#include "engine/crawl_control.h"
#include "listops/item_edit.h"
#include "listops/list_maintenance.h"
#include "listops/list_sort.h"
#include "tests/listops/list_fixture.h"

namespace zorone::test {
namespace {

const std::string kDone = "\x81\x9b";
const std::string kActive = "\x81\x9e";

class InFlight : public ListTest {
protected:
    // Three finished rows and three waiting ones, all three waiting ones in
    // flight.
    void StartThree()
    {
        for (const char* u :
            { "http://h/d0", "http://h/w0", "http://h/d1", "http://h/w1", "http://h/d2", "http://h/w2" })
            AddRow({ std::string(u).find("/d") != std::string::npos ? kDone : "", "", "", "7", u });
        core.settings.m_nMultiDownloadMax = 3;
        StartCrawl(core);
        Pump();
        ASSERT_EQ(urls.OpenHandles().size(), 3u);
    }

    int RowOf(const std::string& url) const
    {
        for (int i = 0; i < core.list.GetItemCount(); ++i)
            if (core.list.GetItemText(i, kColUrl) == url)
                return i;
        return -1;
    }

    // Completes url's transfer with body and checks that only the row of
    // expectRow (by URL, or none) changed.
    void CompleteAndExpect(const std::string& url, const std::string& body, bool rowStillListed)
    {
        const std::vector<Row> before = Rows();
        auto* t = urls.FindOpen(url);
        ASSERT_NE(t, nullptr) << url;
        urls.Complete(t->handle, body);
        Pump();
        const std::vector<Row> after = Rows();
        ASSERT_EQ(after.size(), before.size());
        for (size_t i = 0; i < after.size(); ++i) {
            if (rowStillListed && after[i][kColUrl] == url) {
                EXPECT_EQ(after[i][kColMark], kDone);
                EXPECT_EQ(after[i][kColSize], std::to_string(body.size()));
            } else {
                EXPECT_EQ(after[i], before[i]) << "row " << i << " changed";
            }
        }
    }
};

TEST_F(InFlight, SortedRowsStillGetTheirOwnUpdates)
{
    StartThree();
    core.m_bSortDescending = 0;
    SortByColumn(core, kColUrl); // descending: w2 w1 w0 d2 d1 d0
    ASSERT_EQ(RowOf("http://h/w0"), 2);
    CompleteAndExpect("http://h/w0", "abcd", true);
    SortByColumn(core, kColMark);
    CompleteAndExpect("http://h/w2", "xy", true);
}

TEST_F(InFlight, RemovedDuplicateLeavesTheSurvivorAlone)
{
    AddRow({ kDone, "", "", "99", "http://h/w1" }); // w1 done once already, listed first
    StartThree();
    RemoveDuplicateURLs(core);
    ASSERT_EQ(RowOf("http://h/w1"), 0);
    CompleteAndExpect("http://h/w1", "abc", false);
    EXPECT_EQ(RowAt(0), (Row { kDone, "", "", "99", "http://h/w1" }));
}

TEST_F(InFlight, DeletedRowsTakeTheirUpdatesWithThem)
{
    StartThree();
    DeleteSelectedItems(core, { RowOf("http://h/d0"), RowOf("http://h/w1") });
    CompleteAndExpect("http://h/w0", "abc", true);
    CompleteAndExpect("http://h/w1", "abcdef", false);
    EXPECT_EQ(RowOf("http://h/w1"), -1);
}

TEST_F(InFlight, ClearedListIsNotRefilledByOldTransfers)
{
    StartThree();
    const auto open = urls.OpenHandles();
    ClearList(core);
    for (int i = 0; i < 3; ++i)
        AddRow({ "", "", "", "", "http://h/new" + std::to_string(i) });
    core.settings.m_nMultiDownloadMax = 3; // every slot stays busy until the old transfers end
    urls.Deliver(open[0], "12345");
    Pump();
    EXPECT_EQ(Rows(),
        (std::vector<Row> { { "", "", "", "", "http://h/new0" }, { "", "", "", "", "http://h/new1" },
            { "", "", "", "", "http://h/new2" } }));
    for (auto h : open)
        urls.Stop(h);
    Pump();
    EXPECT_EQ(core.m_nActiveDownloads, 3); // the new rows have taken the freed slots
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(RowAt(i)[kColMark], kActive);
        EXPECT_EQ(RowAt(i)[kColSize], "");
    }
}

} // namespace
} // namespace zorone::test
