// What a cell shows of its value in its number format, for texts as typed into it.
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
}  // namespace

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
