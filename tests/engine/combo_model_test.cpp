#include "engine/combo_model.h"

#include <gtest/gtest.h>

namespace zorone {
namespace {

TEST(ComboModel, PrefixSearchIgnoresAsciiCaseAndFindsLongerEntries)
{
    ComboModel c(false);
    c.InsertString(-1, "http://host/dir/a.html");
    c.InsertString(-1, "C:/dl/old/");
    EXPECT_EQ(c.FindStringPrefix("HTTP://host/"), 0);
    EXPECT_EQ(c.FindStringPrefix("c:/dl/"), 1);
    EXPECT_EQ(c.FindStringPrefix("c:/dl/old/x"), -1);
    EXPECT_EQ(c.FindStringPrefix(""), -1);
    // Selecting takes only an exact entry: what was typed stays.
    c.SetEditText("http://host/");
    EXPECT_EQ(c.SelectString("http://host/"), -1);
    EXPECT_EQ(c.SelectString("HTTP://host/dir/a.html"), -1);
    EXPECT_EQ(c.EditText(), "http://host/");
    EXPECT_EQ(c.SelectString("http://host/dir/a.html"), 0);
    EXPECT_EQ(c.EditText(), "http://host/dir/a.html");
}

TEST(ComboModel, SortedBoxAddsInOrderUnsortedKeepsInsertionOrder)
{
    ComboModel sorted(true);
    sorted.AddString("http://b/");
    sorted.AddString("http://a/");
    sorted.AddString("HTTP://c/");
    EXPECT_EQ(sorted.Items(), (std::vector<std::string> {"http://a/", "http://b/", "HTTP://c/"}));
    ComboModel plain(false);
    plain.AddString("b");
    plain.AddString("a");
    EXPECT_EQ(plain.Items(), (std::vector<std::string> {"b", "a"}));
    EXPECT_EQ(plain.DeleteString(0), 1);
    EXPECT_EQ(plain.DeleteString(5), -1);
}

} // namespace
} // namespace zorone
