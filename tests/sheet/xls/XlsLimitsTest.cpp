// The reader's limits against the writer's: a workbook of more cells than any fixed count reads
// back; what the writer saves opens again right up to the memory the reader allows, and one cell
// more is refused when saving, not when opening; merged areas beyond what the reader takes are
// refused when saving; a hostile file asking for far more memory than its size justifies is
// refused before it gets it, while one that shows a long text in many cells holds it once.
#include "sheet/model/SheetError.h"
#include "sheet/xls/BiffReader.h"
#include "sheet/xls/BiffRecords.h"
#include "sheet/xls/Container.h"
#include "sheet/xls/ReadLimits.h"
#include "sheet/xls/XlsReader.h"
#include "sheet/xls/XlsWriter.h"

#include <gtest/gtest.h>

#include <functional>

using namespace sheet;
using Bytes = std::vector<std::uint8_t>;

namespace {

std::unique_ptr<WorkbookData> oneSheet(const std::function<void(WorkbookData&, SheetData&)>& fill)
{
    auto book = std::make_unique<WorkbookData>();
    auto sheet = std::make_unique<SheetData>();
    sheet->name = "Big";
    fill(*book, *sheet);
    book->sheets.push_back(std::move(sheet));
    return book;
}

std::string saveError(const WorkbookData& book)
{
    try {
        xls::workbookFileBytes(book);
    } catch (const SheetError& e) {
        return e.what();
    }
    return "";
}

// Rows are made in bands (RowTable), so a cell alone in its band costs the reader a band of rows
// while the file holds one row and one cell: `cells` such cells, as many to a sheet as a sheet has
// bands, reach the reader's limit at a size a test can afford.
constexpr int kBandsPerSheet = kMaxRows / RowTable::kBand;

std::unique_ptr<WorkbookData> cellsInBandsOfTheirOwn(int cells)
{
    auto book = std::make_unique<WorkbookData>();
    for (int first = 0; first < cells; first += kBandsPerSheet) {
        auto sheet = std::make_unique<SheetData>();
        sheet->name = "Big" + std::to_string(first / kBandsPerSheet + 1);
        for (int band = 0; band < std::min(kBandsPerSheet, cells - first); ++band)
            sheet->at(1 + band * RowTable::kBand, 1).value = 1.0;
        book->sheets.push_back(std::move(sheet));
    }
    return book;
}

}  // namespace

TEST(XlsLimits, ASheetOfMoreThanTwoMillionCellsReadsBack)
{
    // 8,400 rows by 250 columns: labels, whole numbers, times and framed blanks, as a schedule
    // of some 3,000 employees over a whole day holds them.
    constexpr int kRows = 8400, kColumns = 250;
    const auto book = oneSheet([](WorkbookData& b, SheetData& s) {
        CellFormat framed;
        for (Border& e : framed.borders)
            e = {xlContinuous, 48};
        const FormatId f = b.formats.intern(framed);
        for (int r = 1; r <= kRows; ++r)
            for (int c = 1; c <= kColumns; ++c) {
                Cell& cell = s.at(r, c);
                cell.format = f;
                if (c % 5 == 1)
                    cell.value = "Position " + std::to_string(c % 12);
                else if (c % 5 == 2)
                    cell.value = static_cast<double>(r);
                else if (c % 5 == 3)
                    cell.value = (r % 96) / 96.0;
            }
    });
    ASSERT_GT(book->sheets[0]->cellCount(), 2'000'000u);
    const auto back = xls::readWorkbookBytes(xls::workbookFileBytes(*book), "big.xls");
    const SheetData& a = *back->sheets[0];
    const SheetData& e = *book->sheets[0];
    ASSERT_EQ(a.cellCount(), e.cellCount());
    EXPECT_EQ(a.usedRange(), e.usedRange());
    auto it = a.cells().begin();
    for (const auto& [ref, cell] : e.cells()) {
        const auto [gotRef, got] = *it;
        ASSERT_EQ(gotRef, ref);
        ASSERT_EQ(got.value, cell.value) << ref.row << "," << ref.column;
        ASSERT_EQ(back->formats.at(got.format), book->formats.at(cell.format));
        ++it;
    }
}

TEST(XlsLimits, WhatTheWriterSavesOpensAgainUpToTheLimitAndOneCellMoreIsRefusedWhenSaving)
{
    int fits = 1, refused = 20000;
    ASSERT_EQ(saveError(*cellsInBandsOfTheirOwn(fits)), "");
    ASSERT_NE(saveError(*cellsInBandsOfTheirOwn(refused)), "");
    while (refused - fits > 1) {
        const int middle = (fits + refused) / 2;
        (saveError(*cellsInBandsOfTheirOwn(middle)).empty() ? fits : refused) = middle;
    }
    EXPECT_EQ(saveError(*cellsInBandsOfTheirOwn(refused)), "the workbook holds more than this program could open again");
    const auto back = xls::readWorkbookBytes(xls::workbookFileBytes(*cellsInBandsOfTheirOwn(fits)), "edge.xls");
    std::size_t cells = 0;
    for (const auto& sheet : back->sheets)
        cells += sheet->cellCount();
    EXPECT_EQ(cells, static_cast<std::size_t>(fits));
}

TEST(XlsLimits, MergedAreasBeyondWhatTheReaderTakesAreRefusedWhenSaving)
{
    auto book = oneSheet([](WorkbookData&, SheetData& s) {
        for (std::size_t i = 0; i < xls::kMaxMergedAreasPerSheet; ++i)
            s.merges.push_back({static_cast<int>(i) + 1, 1, static_cast<int>(i) + 1, 2});
    });
    const auto back = xls::readWorkbookBytes(xls::workbookFileBytes(*book), "merges.xls");
    EXPECT_EQ(back->sheets[0]->merges.size(), xls::kMaxMergedAreasPerSheet);
    book->sheets[0]->merges.push_back({1, 5, 2, 5});
    EXPECT_EQ(saveError(*book), "the sheet \"Big\" has more than 8192 merged areas, more than the workbook could be opened "
                                "with again");

    // Eight sheets of 8,192 are as many as a workbook takes; a ninth sheet with one more is not.
    book->sheets[0]->merges.pop_back();
    for (int n = 2; n <= 9; ++n) {
        auto copy = std::make_unique<SheetData>(*book->sheets[0]);
        copy->name = "Big" + std::to_string(n);
        if (n == 9)
            copy->merges.resize(1);
        book->sheets.push_back(std::move(copy));
    }
    EXPECT_EQ(saveError(*book), "the workbook has more than 65536 merged areas, more than it could be opened with again");
    book->sheets.pop_back();
    EXPECT_EQ(xls::readWorkbookBytes(xls::workbookFileBytes(*book), "merges.xls")->sheets.size(), 8u);
}

TEST(XlsLimits, AFileAskingForFarMoreMemoryThanItsSizeIsRefusedBeforeItGetsIt)
{
    // 255 sheets of 256 numbers in two rows, then each number moved into a band of rows of its
    // own: a file of about a megabyte that would make 65,280 bands of rows, some 800 MB.
    auto book = std::make_unique<WorkbookData>();
    for (int n = 1; n <= 255; ++n) {
        auto sheet = std::make_unique<SheetData>();
        sheet->name = "S" + std::to_string(n);
        for (int i = 0; i < kBandsPerSheet; ++i)
            sheet->at(1 + i / 128, 1 + 2 * (i % 128)).value = 1.0;  // apart, so each has a record
        book->sheets.push_back(std::move(sheet));
    }
    Bytes stream = xls::extractWorkbookStream(xls::workbookFileBytes(*book));
    xls::RecordReader r(stream);
    int moved = 0;
    while (!r.atEnd()) {
        const xls::Record record = r.next();
        if (record.id == xls::rec::RK) {
            const int row = moved++ % kBandsPerSheet * RowTable::kBand;
            stream[record.offset + 4] = static_cast<std::uint8_t>(row & 0xFF);
            stream[record.offset + 5] = static_cast<std::uint8_t>(row >> 8);
        }
    }
    ASSERT_EQ(moved, 255 * kBandsPerSheet);
    try {
        xls::readWorkbookBytes(xls::wrapWorkbookStream(stream), "hostile.xls");
        FAIL() << "the file was opened";
    } catch (const SheetError& e) {
        EXPECT_STREQ(e.what(), "Cannot open the workbook hostile.xls: it holds more than this program can open");
    }

    // 20,000 cells pointed at one text of 30,000 letters: a file of some 300 kB whose cells all
    // show that one text, which is held once.
    book = oneSheet([](WorkbookData&, SheetData& s) {
        for (int i = 0; i < 20000; ++i)
            s.at(1 + i / 200, 1 + i % 200).value = std::string("x");
        s.at(200, 1).value = std::string(30000, 'y');
    });
    stream = xls::extractWorkbookStream(xls::workbookFileBytes(*book));
    xls::RecordReader labels(stream);
    int pointed = 0;
    while (!labels.atEnd()) {
        const xls::Record record = labels.next();
        if (record.id == xls::rec::LABELSST && record.data[6] == 0) {  // text 0, "x"
            stream[record.offset + 4 + 6] = 1;  // text 1, the long one
            ++pointed;
        }
    }
    ASSERT_EQ(pointed, 20000);
    const auto back = xls::readWorkbookBytes(xls::wrapWorkbookStream(stream), "shared.xls");
    const SheetData& s = *back->sheets[0];
    const CellText& longText = std::get<CellText>(s.find(200, 1)->value);
    EXPECT_EQ(longText.view(), std::string(30000, 'y'));
    for (const auto& [ref, cell] : s.cells())
        ASSERT_EQ(std::get<CellText>(cell.value).identity(), longText.identity()) << ref.row << "," << ref.column;
}

TEST(XlsLimits, ManySheetsWithACellInTheLastRowOpen)
{
    // Rows are made in bands, so a cell in the last row costs one band, not 65,536 rows.
    auto book = std::make_unique<WorkbookData>();
    for (int n = 1; n <= 200; ++n) {
        auto sheet = std::make_unique<SheetData>();
        sheet->name = "S" + std::to_string(n);
        sheet->at(kMaxRows, kMaxColumns).value = static_cast<double>(n);
        book->sheets.push_back(std::move(sheet));
    }
    const auto back = xls::readWorkbookBytes(xls::workbookFileBytes(*book), "tall.xls");
    ASSERT_EQ(back->sheets.size(), 200u);
    EXPECT_EQ(back->sheets[199]->find(kMaxRows, kMaxColumns)->value, CellValue{200.0});
}
