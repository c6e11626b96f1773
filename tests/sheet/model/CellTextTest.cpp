// Cell input and display text: what a typed text becomes and what the cell then shows.
#include "sheet/model/CellInput.h"
#include "sheet/model/DisplayText.h"

#include <gtest/gtest.h>

using namespace sheet;

namespace {
std::string shown(std::string_view input)
{
    const ParsedInput parsed = parseCellInput(input);
    CellFormat format;
    if (parsed.numberFormat)
        format.numberFormat = *parsed.numberFormat;
    return displayText(Cell{parsed.value, 0}, format);
}
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
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed.value)) << text;
        EXPECT_EQ(std::get<std::string>(parsed.value), text);
        EXPECT_FALSE(parsed.numberFormat.has_value()) << text;
    }
    EXPECT_TRUE(std::holds_alternative<std::monostate>(parseCellInput("").value));
}

TEST(DisplayText, TimesShowInTwelveHourForm)
{
    EXPECT_EQ(shown("7:00:00 AM"), "7:00:00 AM");
    EXPECT_EQ(shown("07:00 am"), "7:00:00 AM");
    EXPECT_EQ(shown("12:00:00 AM"), "12:00:00 AM");
    EXPECT_EQ(shown("0:30"), "12:30:00 AM");
    EXPECT_EQ(shown("12:00:00 PM"), "12:00:00 PM");
    EXPECT_EQ(shown("12:59:59 PM"), "12:59:59 PM");
    EXPECT_EQ(shown("15:00"), "3:00:00 PM");
    EXPECT_EQ(shown("11:59:59 PM"), "11:59:59 PM");
    // A date-time shows its time of day; a value a hair under midnight rounds to midnight.
    EXPECT_EQ(timeText(3.25), "6:00:00 AM");
    EXPECT_EQ(timeText(1.0 - 1e-9), "12:00:00 AM");
}

TEST(DisplayText, NumbersShowInGeneral)
{
    EXPECT_EQ(shown("2"), "2");
    EXPECT_EQ(shown("0.5"), "0.5");
    EXPECT_EQ(shown("-1.5"), "-1.5");
    EXPECT_EQ(shown("1234567"), "1234567");
    EXPECT_EQ(shown("-0"), "0");
    EXPECT_EQ(generalNumberText(0.1 + 0.2), "0.3");
    EXPECT_EQ(generalNumberText(99999999999.0), "99999999999");
    EXPECT_EQ(generalNumberText(123456789012.0), "1.23457E+11");
    EXPECT_EQ(generalNumberText(99999999999.9), "1E+11");
    EXPECT_EQ(generalNumberText(1.5e-10), "1.5E-10");
    EXPECT_EQ(generalNumberText(-2.5e20), "-2.5E+20");
    EXPECT_EQ(generalNumberText(1.0 / 3), "0.33333333333");
}

TEST(DisplayText, TextsAndEmptyCellsShowAsTheyAre)
{
    EXPECT_EQ(shown("=SUM(A1)"), "=SUM(A1)");
    EXPECT_EQ(shown("Shift Schedule"), "Shift Schedule");
    EXPECT_EQ(shown(""), "");
    // A number in the time format that has no time of day keeps its number form.
    CellFormat time;
    time.numberFormat = kNumberFormatTime;
    EXPECT_EQ(displayText(Cell{-1.0, 0}, time), "-1");
}
