#include "engine/download_list.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace zorone {
namespace {

int AddRow(DownloadList& list, int pos, const std::string& url)
{
    const int row = list.InsertItem(pos, "m");
    list.SetItemText(row, kColUrl, url);
    return row;
}

// The byte-for-byte scan the index replaces.
bool ScanForUrl(const DownloadList& list, const std::string& url)
{
    for (int i = 0; i < list.GetItemCount(); ++i)
        if (list.GetItemText(i, kColUrl) == url)
            return true;
    return false;
}

TEST(DownloadList, InvalidRowsReadEmptyAndRefuseWrites)
{
    DownloadList list;
    EXPECT_EQ(list.GetItemText(0, 0), "");
    EXPECT_FALSE(list.SetItemText(0, 0, "x"));
    AddRow(list, 0, "u");
    EXPECT_EQ(list.GetItemText(1, kColUrl), "");
    EXPECT_EQ(list.GetItemText(-1, kColUrl), "");
    EXPECT_EQ(list.GetItemText(0, 5), "");
    EXPECT_FALSE(list.DeleteItem(1));
}

TEST(DownloadList, ItemsKeepTheirIdentityWhilePositionsShift)
{
    DownloadList list;
    for (int i = 0; i < 8; ++i)
        AddRow(list, list.GetItemCount(), std::string("u").append(std::to_string(i)));
    const ItemId fifth = list.GetItemId(5);
    AddRow(list, 0, "priority"); // a priority file goes to the top
    EXPECT_EQ(list.FindItem(fifth), 6);
    list.DeleteItem(2);
    EXPECT_EQ(list.FindItem(fifth), 5);
    AddRow(list, 3, "middle");
    EXPECT_EQ(list.FindItem(fifth), 6);
    EXPECT_EQ(list.GetItemText(6, kColUrl), "u5");

    auto rows = list.CopyRows();
    std::reverse(rows.begin(), rows.end());
    list.ReplaceRows(rows);
    const int pos = list.FindItem(fifth);
    EXPECT_EQ(list.GetItemText(pos, kColUrl), "u5");

    list.DeleteItem(pos);
    EXPECT_EQ(list.FindItem(fifth), -1);
    list.DeleteAllItems();
    EXPECT_EQ(list.FindItem(list.GetItemId(0)), -1);
}

TEST(DownloadList, UrlIndexFollowsEveryChange)
{
    DownloadList list;
    AddRow(list, 0, "http://h/a");
    AddRow(list, 1, "http://h/a"); // the same URL twice
    AddRow(list, 0, "http://h/b");
    EXPECT_TRUE(list.ContainsUrl("http://h/a"));
    list.DeleteItem(1);
    EXPECT_TRUE(list.ContainsUrl("http://h/a")); // one row still holds it
    list.DeleteItem(1);
    EXPECT_FALSE(list.ContainsUrl("http://h/a"));
    list.SetItemText(0, kColUrl, "http://h/c");
    EXPECT_FALSE(list.ContainsUrl("http://h/b"));
    EXPECT_TRUE(list.ContainsUrl("http://h/c"));
    EXPECT_FALSE(list.ContainsUrl("http://H/c")); // case-sensitive
    list.ReplaceRows({DownloadItem {{"", "", "", "", "http://h/d"}, 0}});
    EXPECT_FALSE(list.ContainsUrl("http://h/c"));
    EXPECT_TRUE(list.ContainsUrl("http://h/d"));
    list.DeleteAllItems();
    EXPECT_FALSE(list.ContainsUrl("http://h/d"));
}

TEST(DownloadList, UrlIndexAgreesWithAScanUnderRandomEdits)
{
    DownloadList list;
    std::mt19937 rng(42);
    auto url = [&] { return "http://h/" + std::to_string(rng() % 40); };
    for (int step = 0; step < 3000; ++step) {
        const int n = list.GetItemCount();
        switch (rng() % 6) {
        case 0:
        case 1:
            AddRow(list, (rng() % 2) ? 0 : n, url());
            break;
        case 2:
            if (n)
                list.DeleteItem(static_cast<int>(rng() % n));
            break;
        case 3:
            if (n)
                list.SetItemText(static_cast<int>(rng() % n), kColUrl, url());
            break;
        case 4:
            if (rng() % 50 == 0) {
                auto rows = list.CopyRows();
                std::shuffle(rows.begin(), rows.end(), rng);
                list.ReplaceRows(rows);
            }
            break;
        default:
            if (rng() % 200 == 0) {
                list.DeleteAllItems();
            }
        }
        const std::string probe = url();
        ASSERT_EQ(list.ContainsUrl(probe), ScanForUrl(list, probe)) << "step " << step;
        if (list.GetItemCount() > 0) {
            const int r = static_cast<int>(rng() % list.GetItemCount());
            ASSERT_EQ(list.FindItem(list.GetItemId(r)), r);
        }
    }
}

struct RecordingObserver : ListObserver {
    std::vector<std::string> events;
    void OnRowsInserted(int p, int c) override { events.push_back("ins " + std::to_string(p) + " " + std::to_string(c)); }
    void OnRowsRemoved(int p, int c) override { events.push_back("del " + std::to_string(p) + " " + std::to_string(c)); }
    void OnCellChanged(int r, int c) override { events.push_back("set " + std::to_string(r) + " " + std::to_string(c)); }
    void OnReset() override { events.push_back("reset"); }
};

TEST(DownloadList, ObserversHearEveryKindOfChange)
{
    DownloadList list;
    RecordingObserver obs;
    list.AddObserver(&obs);
    AddRow(list, 0, "a");
    list.DeleteItem(0);
    list.ReplaceRows({});
    list.DeleteAllItems();
    list.RemoveObserver(&obs);
    AddRow(list, 0, "b");
    EXPECT_EQ(obs.events, (std::vector<std::string> {"ins 0 1", "set 0 4", "del 0 1", "reset", "reset"}));
}

} // namespace
} // namespace zorone
