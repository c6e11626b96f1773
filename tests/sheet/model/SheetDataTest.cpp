// Cell storage: formats interned once, new cells taking their row's or column's format.
#include "sheet/model/SheetData.h"

#include <gtest/gtest.h>

using namespace sheet;

TEST(SheetData, NewCellsTakeTheRowFormatBeforeTheColumnFormat)
{
    WorkbookData book;
    CellFormat bold;
    bold.font.bold = true;
    CellFormat gothic;
    gothic.font.name = "Century Gothic";
    const FormatId b = book.formats.intern(bold);
    const FormatId g = book.formats.intern(gothic);
    EXPECT_EQ(book.formats.intern(bold), b);
    SheetData s;
    s.setColumnFormat(3, g);
    s.setRowFormat(2, b);
    EXPECT_EQ(s.at(2, 3).format, b);
    EXPECT_EQ(s.at(1, 3).format, g);
    EXPECT_EQ(s.at(1, 1).format, 0u);
}

TEST(SheetData, UsedRangeSpansFirstToLastCell)
{
    SheetData s;
    EXPECT_FALSE(s.usedRange().has_value());
    s.at(5, 4);
    s.at(9, 2);
    s.at(6, 12);
    EXPECT_EQ(*s.usedRange(), (CellRect{5, 2, 9, 12}));
}
