#include "qt/download_list_model.h"

#include "engine/download_list.h"

#include <QTableView>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorone::test {
namespace {

constexpr int kRows = 100000;

DownloadItem Row(int n)
{
    DownloadItem item;
    const std::string name = std::string("f").append(std::to_string(n)).append(".htm");
    item.cols = { "-", name, "htm", "", std::string("http://h/").append(name) };
    return item;
}

// A list of 100000 rows shown in a table view, with every signal the model
// sends recorded as a line of text.
class ListModelTest : public ::testing::Test {
protected:
    ListModelTest()
    {
        std::vector<DownloadItem> rows;
        for (int i = 0; i < kRows; ++i)
            rows.push_back(Row(i));
        list.ReplaceRows(std::move(rows));
        model = std::make_unique<qt::DownloadListModel>(list);
        view.setModel(model.get());
        const auto range = [this](const char* what, int first, int last) {
            events.push_back(std::string(what) + " " + std::to_string(first) + ".." + std::to_string(last));
        };
        QObject::connect(model.get(), &QAbstractItemModel::rowsInserted,
            [range](const QModelIndex&, int first, int last) { range("insert", first, last); });
        QObject::connect(model.get(), &QAbstractItemModel::rowsRemoved,
            [range](const QModelIndex&, int first, int last) { range("remove", first, last); });
        QObject::connect(model.get(), &QAbstractItemModel::modelReset, [this] { events.push_back("reset"); });
        QObject::connect(
            model.get(), &QAbstractItemModel::dataChanged, [this](const QModelIndex& tl, const QModelIndex& br) {
                events.push_back("changed " + std::to_string(tl.row()) + ".." + std::to_string(br.row()) + " col "
                    + std::to_string(tl.column()) + ".." + std::to_string(br.column()));
            });
    }

    std::string Cell(int row, int column) const
    {
        return model->data(model->index(row, column), Qt::DisplayRole).toString().toStdString();
    }

    DownloadList list;
    std::unique_ptr<qt::DownloadListModel> model;
    QTableView view;
    std::vector<std::string> events;
};

TEST_F(ListModelTest, InsertsAndRemovalsReachTheViewAsRowChanges)
{
    ASSERT_EQ(model->rowCount(), kRows);

    list.InsertRow(0, Row(-1));
    list.InsertRow(kRows + 1, Row(-2));
    list.InsertRow(500, Row(-3));
    list.DeleteItem(1);
    list.DeleteItem(kRows + 1);

    EXPECT_EQ(events,
        (std::vector<std::string> {
            "insert 0..0", "insert 100001..100001", "insert 500..500", "remove 1..1", "remove 100001..100001" }));
    EXPECT_EQ(model->rowCount(), list.GetItemCount());
    EXPECT_EQ(view.model()->rowCount(), kRows + 1);
    EXPECT_EQ(Cell(0, 1), "f-1.htm");
    EXPECT_EQ(Cell(499, 1), "f-3.htm");
    EXPECT_EQ(Cell(kRows, 1), "f99999.htm");
}

TEST_F(ListModelTest, CellChangesAreGatheredIntoOneRange)
{
    list.SetItemText(10, kColSize, "100");
    list.SetItemText(99990, kColSize, "200");
    list.SetItemText(500, kColMark, "o");
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(model->HasPendingChanges());
    // The data itself is current at once; only the notification waits.
    EXPECT_EQ(Cell(99990, kColSize), "200");

    model->FlushChanges();
    // A changed mark recolours its whole row, so the range reaches the URL.
    EXPECT_EQ(events, (std::vector<std::string> { "changed 10..99990 col 0..4" }));
    model->FlushChanges();
    EXPECT_EQ(events.size(), 1u);
}

TEST_F(ListModelTest, GatheredRowsFollowInsertsAndRemovals)
{
    struct Case {
        const char* name;
        int changedRow;
        bool insert; // else remove
        int at;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        { "insert above moves it down", 10, true, 0, { "insert 0..0", "changed 11..11 col 3..3" } },
        { "insert below leaves it", 10, true, 20, { "insert 20..20", "changed 10..10 col 3..3" } },
        { "remove above moves it up", 10, false, 3, { "remove 3..3", "changed 9..9 col 3..3" } },
        { "remove of the row drops it", 10, false, 10, { "remove 10..10" } },
        { "remove below leaves it", 10, false, 11, { "remove 11..11", "changed 10..10 col 3..3" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        events.clear();
        list.SetItemText(c.changedRow, kColSize, "1");
        if (c.insert)
            list.InsertRow(c.at, Row(-1));
        else
            list.DeleteItem(c.at);
        model->FlushChanges();
        EXPECT_EQ(events, c.expected);
        EXPECT_EQ(model->rowCount(), list.GetItemCount());
    }
}

TEST_F(ListModelTest, SelectionSurvivesACrawlsInserts)
{
    QItemSelectionModel* selection = view.selectionModel();
    selection->select(model->index(1000, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    for (int i = 0; i < 100; ++i) {
        list.InsertRow(0, Row(-i));
        list.InsertRow(list.GetItemCount(), Row(-i));
        list.SetItemText(0, kColSize, std::to_string(i));
    }
    model->FlushChanges();
    const QModelIndexList rows = selection->selectedRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.front().row(), 1100);
    EXPECT_EQ(std::count(events.begin(), events.end(), "reset"), 0);
}

TEST_F(ListModelTest, ClearingResetsOnce)
{
    list.SetItemText(5, kColSize, "1");
    list.DeleteAllItems();
    model->FlushChanges();
    EXPECT_EQ(events, (std::vector<std::string> { "reset" }));
    EXPECT_EQ(model->rowCount(), 0);
}

} // namespace
} // namespace zorone::test
