// What a typed text becomes in a cell: a time, a number, or the text itself.
#include "sheet/model/CellInput.h"

#include <gtest/gtest.h>

using namespace sheet;

namespace {
double number(std::string_view input) { return std::get<double>(parseCellInput(input).value); }
}  // namespace

TEST(CellInput, TimesBecomeFractionsOfADayInTheTimeFormat)
{
    EXPECT_DOUBLE_EQ(number("7:00:00 AM"), 7.0 / 24);
    EXPECT_DOUBLE_EQ(number("12:00:00 AM"), 0.0);
    EXPECT_DOUBLE_EQ(number("12:00:00 PM"), 0.5);
    EXPECT_DOUBLE_EQ(number("3:30 PM"), 15.5 / 24);
    EXPECT_DOUBLE_EQ(number("15:00"), 15.0 / 24);
    EXPECT_DOUBLE_EQ(number("11:59:59 pm"), (86400.0 - 1) / 86400);
    EXPECT_EQ(parseCellInput("7:00:00 AM").numberFormat, kNumberFormatTime);
}

TEST(CellInput, NumbersBecomeValuesInGeneral)
{
    EXPECT_DOUBLE_EQ(number("2"), 2.0);
    EXPECT_DOUBLE_EQ(number("-1.5"), -1.5);
    EXPECT_DOUBLE_EQ(number(" 42 "), 42.0);
    EXPECT_DOUBLE_EQ(number("007"), 7.0);
    EXPECT_DOUBLE_EQ(number("0.25"), 0.25);
    EXPECT_DOUBLE_EQ(number(".5"), 0.5);
    EXPECT_DOUBLE_EQ(number("1e3"), 1000.0);
    EXPECT_EQ(parseCellInput("2").numberFormat, kNumberFormatGeneral);
}

TEST(CellInput, EverythingElseStaysTextAndBlankIsEmpty)
{
    for (const char* text : {"=1+2", "=A1", "=7:00", "Sick?", "13:00 PM", "24:00", "7:60", "7:5", "1e", "1e999",
                             "inf", "nan", "0x10", "1,5", "--1", "+", ".", "2 3", "12:00:00 XM", " "}) {
        const ParsedInput parsed = parseCellInput(text);
        ASSERT_TRUE(std::holds_alternative<CellText>(parsed.value)) << text;
        EXPECT_EQ(std::get<CellText>(parsed.value), text);
        EXPECT_FALSE(parsed.numberFormat.has_value()) << text;
    }
    EXPECT_TRUE(std::holds_alternative<std::monostate>(parseCellInput("").value));
}
