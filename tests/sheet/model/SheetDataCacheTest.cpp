// The sheet's remembered cell must never outlive the cell or travel with a copy.
#include "sheet/model/SheetData.h"

#include <gtest/gtest.h>

using namespace sheet;

TEST(SheetDataRememberedCell, ErasedAndCopiedSheetsDoNotReuseIt)
{
    SheetData sheet;
    sheet.at(2, 3).value = 1.0;
    sheet.erase(2, 3);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(sheet.at(2, 3).value));
    sheet.at(2, 3).value = 2.0;
    sheet.clearCells();
    EXPECT_TRUE(std::holds_alternative<std::monostate>(sheet.at(2, 3).value));

    sheet.at(4, 4).value = 3.0;
    SheetData copy = sheet;
    copy.at(4, 4).value = 4.0;
    EXPECT_EQ(std::get<double>(sheet.find(4, 4)->value), 3.0);
    EXPECT_EQ(std::get<double>(copy.find(4, 4)->value), 4.0);
    SheetData assigned;
    assigned.at(4, 4);
    assigned = sheet;
    assigned.at(4, 4).value = 5.0;
    EXPECT_EQ(std::get<double>(sheet.find(4, 4)->value), 3.0);
}
