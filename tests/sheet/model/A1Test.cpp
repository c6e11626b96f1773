// A1 addresses: corners, whole rows and columns, and the addresses that are refused.
#include "sheet/model/A1.h"
#include "sheet/model/SheetError.h"

#include <gtest/gtest.h>

using namespace sheet;

TEST(A1, CellRangesNormaliseTheirCorners)
{
    EXPECT_EQ(parseA1("B1:F2"), (A1Range{{1, 2, 2, 6}, A1Kind::Cells}));
    EXPECT_EQ(parseA1("K1:K1"), (A1Range{{1, 11, 1, 11}, A1Kind::Cells}));
    EXPECT_EQ(parseA1("A1"), (A1Range{{1, 1, 1, 1}, A1Kind::Cells}));
    EXPECT_EQ(parseA1("b6"), (A1Range{{6, 2, 6, 2}, A1Kind::Cells}));
    EXPECT_EQ(parseA1("F2:B1"), (A1Range{{1, 2, 2, 6}, A1Kind::Cells}));
    EXPECT_EQ(parseA1("$C$3:$D4"), (A1Range{{3, 3, 4, 4}, A1Kind::Cells}));
    EXPECT_EQ(parseA1("IV65536"), (A1Range{{65536, 256, 65536, 256}, A1Kind::Cells}));
}

TEST(A1, WholeColumnsAndRows)
{
    EXPECT_EQ(parseA1("A:A"), (A1Range{{1, 1, kMaxRows, 1}, A1Kind::WholeColumns}));
    EXPECT_EQ(parseA1("C:E"), (A1Range{{1, 3, kMaxRows, 5}, A1Kind::WholeColumns}));
    EXPECT_EQ(parseA1("IV:IV"), (A1Range{{1, 256, kMaxRows, 256}, A1Kind::WholeColumns}));
    EXPECT_EQ(parseA1("1:1"), (A1Range{{1, 1, 1, kMaxColumns}, A1Kind::WholeRows}));
    EXPECT_EQ(parseA1("9:5"), (A1Range{{5, 1, 9, kMaxColumns}, A1Kind::WholeRows}));
    EXPECT_EQ(parseA1("A:IV").kind, A1Kind::WholeSheet);
}

TEST(A1, InvalidAddressesAreRefusedWithTheAddress)
{
    for (const char* text : {"", ":", "IW1", "A0", "A65537", "IW:IW", "A", "1", "A1:", ":A1", "A1:B", "1:A",
                             "A1B", "B1:F2:G3", "A-1", "A 1", "$$A1", "A$", "AAAAAAAAAAAAAAAAA1"}) {
        try {
            parseA1(text);
            ADD_FAILURE() << "accepted " << text;
        } catch (const SheetError& e) {
            EXPECT_EQ(std::string(e.what()), std::string("Invalid range address: ") + text);
        }
    }
}

TEST(A1, ColumnLettersAndAddressText)
{
    EXPECT_EQ(columnLetters(1), "A");
    EXPECT_EQ(columnLetters(26), "Z");
    EXPECT_EQ(columnLetters(27), "AA");
    EXPECT_EQ(columnLetters(52), "AZ");
    EXPECT_EQ(columnLetters(256), "IV");
    EXPECT_THROW(columnLetters(257), SheetError);
    EXPECT_THROW(columnLetters(0), SheetError);
    EXPECT_EQ(toA1({6, 2, 6, 2}), "B6");
    EXPECT_EQ(toA1({1, 2, 2, 6}), "B1:F2");
    for (int c = 1; c <= kMaxColumns; ++c)
        ASSERT_EQ(parseA1(columnLetters(c) + "1").rect.left, c);
}
