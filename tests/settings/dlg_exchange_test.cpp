#include "settings/dialog_exchange.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>

namespace zorone {
namespace {

TEST(DialogInt, ParsesIntegersAndRefusesEverythingElse)
{
    struct Case {
        const char* text;
        std::optional<int> value;
    };
    const Case cases[] = {
        { "0", 0 }, { "307", 307 }, { " 12\t", 12 }, { "-5", -5 }, { "+7", 7 }, { "007", 7 }, { "2147483647", INT_MAX },
        // Too large for 32 bits: clamped, never wrapped to a negative limit.
        { "2147483648", INT_MAX }, { "99999999999999999999", INT_MAX }, { "-99999999999", INT_MIN },
        { "", std::nullopt }, { "  ", std::nullopt }, { "-", std::nullopt }, { "12a", std::nullopt },
        { "1 2", std::nullopt }, { "0x10", std::nullopt }, { "１２", std::nullopt }, // full-width digits are no integer
    };
    for (const Case& c : cases) {
        int value = -12345;
        const bool ok = ParseDialogInt(c.text, value);
        EXPECT_EQ(ok, c.value.has_value()) << '"' << c.text << '"';
        if (c.value)
            EXPECT_EQ(value, *c.value) << '"' << c.text << '"';
        else
            EXPECT_EQ(value, -12345) << "a refused text leaves the value alone";
    }
}

// A dialog of one radio group, one check box and two integer fields.
class Probe : public DialogModel {
public:
    int radio = 0;
    int check = 0;
    int first = 0;
    int second = 0;

protected:
    void DoDataExchange(DataExchange& dx) override
    {
        dx.Radio(10, 3, radio);
        dx.Check(20, check);
        dx.Int(30, first);
        dx.Int(40, second);
    }
};

TEST(DataExchange, RadioGroupShowsNoneOutsideItsRangeAndReadsNoneAsMinusOne)
{
    Probe p;
    for (int value : { -1, 3, 7 }) {
        p.radio = value;
        p.WriteControls();
        EXPECT_EQ(p.controls.State(10), -1) << value;
        ASSERT_TRUE(p.ReadControls());
        EXPECT_EQ(p.radio, -1) << value;
    }
    p.radio = 2;
    p.WriteControls();
    EXPECT_EQ(p.controls.State(10), 2);
}

TEST(DataExchange, CheckBoxResetsWildValuesAndReadsZeroOrOne)
{
    Probe p;
    p.check = 5;
    p.WriteControls();
    EXPECT_EQ(p.check, 0) << "a value outside 0..2 is reset when written";
    EXPECT_EQ(p.controls.State(20), 0);

    // 2 is kept, but a flag counts as on only for 1, so the box shows it off.
    p.check = 2;
    p.WriteControls();
    EXPECT_EQ(p.check, 2);
    EXPECT_EQ(p.controls.State(20), 0);
    ASSERT_TRUE(p.ReadControls());
    EXPECT_EQ(p.check, 0);

    p.controls.SetState(20, 1);
    ASSERT_TRUE(p.ReadControls());
    EXPECT_EQ(p.check, 1);
}

TEST(DataExchange, ReadingStopsAtTheFirstFieldWithoutAnInteger)
{
    Probe p;
    p.first = 1;
    p.second = 2;
    p.WriteControls();
    EXPECT_EQ(p.controls.Text(30), "1");
    p.controls.SetText(30, "");
    p.controls.SetText(40, "9");
    EXPECT_FALSE(p.ReadControls());
    EXPECT_EQ(p.FocusControl(), 30);
    EXPECT_EQ(p.second, 2) << "fields after the failed one are not read";

    p.controls.SetText(30, "4");
    EXPECT_TRUE(p.ReadControls());
    EXPECT_EQ(p.FocusControl(), 0);
    EXPECT_EQ(p.first, 4);
    EXPECT_EQ(p.second, 9);
}

} // namespace
} // namespace zorone
