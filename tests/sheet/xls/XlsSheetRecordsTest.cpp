// The records of a tiny workbook as the writer puts them into the stream, byte for byte. Each
// expected image is worked out by hand from the record layouts, not from our reader, so that a
// fault the reader shares (a DIMENSIONS one row short, a ROW without its hand-set bit) shows here.
#include "sheet/xls/BiffReader.h"
#include "sheet/xls/BiffRecords.h"
#include "sheet/xls/Container.h"
#include "sheet/xls/XlsWriter.h"

#include "SampleWorkbook.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace sheet;
using namespace sheet::xls;

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Rec {
    std::uint16_t id;
    Bytes data;
};

// A record as it stands in the stream: id and length, then the data.
Bytes image(std::uint16_t id, std::initializer_list<int> data)
{
    Bytes out{static_cast<std::uint8_t>(id & 0xFF), static_cast<std::uint8_t>(id >> 8),
              static_cast<std::uint8_t>(data.size() & 0xFF), static_cast<std::uint8_t>(data.size() >> 8)};
    for (int b : data)
        out.push_back(static_cast<std::uint8_t>(b));
    return out;
}

Bytes image(const Rec& r)
{
    Bytes out{static_cast<std::uint8_t>(r.id & 0xFF), static_cast<std::uint8_t>(r.id >> 8),
              static_cast<std::uint8_t>(r.data.size() & 0xFF), static_cast<std::uint8_t>(r.data.size() >> 8)};
    out.insert(out.end(), r.data.begin(), r.data.end());
    return out;
}

// Sheet "Tiny" (active), "framed" meaning the sample's header look (bold, centred, wrapped, framed
// and filled): B2 "Hi" framed, C2 8, D2 1.25, E2 7:00 AM, F2 12.34, D3 framed and empty,
// B4:C5 merged with "Joined" framed in B4; row 2 15 pt high, row 6 hidden, row 7 framed as a whole; column B 14 characters
// wide, column E hidden, column F framed; C2:D3 selected with D3 active; one landscape A4 page.
// Sheet "Empty" has nothing at all.
std::unique_ptr<WorkbookData> tinyWorkbook()
{
    auto book = std::make_unique<WorkbookData>();
    auto s = std::make_unique<SheetData>();
    s->name = "Tiny";
    const FormatId f = book->formats.intern(xls_test::headerFormat());
    s->at(2, 2) = {std::string("Hi"), f};
    s->at(2, 3) = {8.0, 0};
    s->at(2, 4) = {1.25, 0};
    s->at(2, 5) = {7.0 / 24, 0};
    s->at(2, 6) = {12.34, 0};
    s->at(3, 4) = {std::monostate{}, f};
    s->at(4, 2) = {std::string("Joined"), f};
    s->merges.push_back({4, 2, 5, 3});
    s->setRowHeight(2, 15);
    s->setRowHeight(6, 0);
    s->setRowFormat(7, f);
    s->setColumnWidth(2, 14);
    s->setColumnWidth(5, 0);
    s->setColumnFormat(6, f);
    s->selection = {2, 3, 3, 4};
    s->activeCell = {3, 4};
    PageSetup& p = s->pageSetup;
    p.orientation = xlLandscape;
    p.paperSize = xlPaperA4;
    p.zoom = std::nullopt;
    p.headerMargin = p.footerMargin = 0;
    book->sheets.push_back(std::move(s));
    auto empty = std::make_unique<SheetData>();
    empty->name = "Empty";
    book->sheets.push_back(std::move(empty));
    return book;
}

// The workbook stream cut into its parts: the globals, then each sheet, each from BOF to EOF.
// What lies between parts (the padding after the last) is no record of theirs.
std::vector<std::vector<Rec>> parts(const WorkbookData& book)
{
    const Bytes stream = extractWorkbookStream(workbookFileBytes(book));
    RecordReader r(stream);
    std::vector<std::vector<Rec>> out;
    bool inPart = false;
    while (!r.atEnd()) {
        const Record record = r.next();
        if (record.id == rec::BOF) {
            out.emplace_back();
            inPart = true;
        }
        if (inPart)
            out.back().push_back({record.id, Bytes(record.data.begin(), record.data.end())});
        if (record.id == rec::EOF_)
            inPart = false;
    }
    return out;
}

std::vector<Bytes> all(const std::vector<Rec>& part, std::uint16_t id)
{
    std::vector<Bytes> found;
    for (const Rec& r : part)
        if (r.id == id)
            found.push_back(image(r));
    return found;
}

Bytes only(const std::vector<Rec>& part, std::uint16_t id)
{
    const auto found = all(part, id);
    EXPECT_EQ(found.size(), 1u) << "records with id " << id;
    return found.empty() ? Bytes{} : found.front();
}

class XlsSheetRecords : public ::testing::Test {
protected:
    void SetUp() override
    {
        book = tinyWorkbook();
        stream = parts(*book);
        ASSERT_EQ(stream.size(), 3u);
    }
    const std::vector<Rec>& globals() const { return stream[0]; }
    const std::vector<Rec>& tiny() const { return stream[1]; }
    const std::vector<Rec>& empty() const { return stream[2]; }

    std::unique_ptr<WorkbookData> book;
    std::vector<std::vector<Rec>> stream;
};

}  // namespace

TEST_F(XlsSheetRecords, BofOpensEachPartWithVersionBuildAndType)
{
    // vers 0x0600, dt (5 globals, 0x10 worksheet), build 0x0DBB, year 0x07CC, history 0, BIFF8 (6).
    EXPECT_EQ(image(globals().front()), image(rec::BOF, {0, 6, 5, 0, 0xBB, 0x0D, 0xCC, 0x07, 0, 0, 0, 0, 6, 0, 0, 0}));
    for (const auto* sheet : {&tiny(), &empty()}) {
        EXPECT_EQ(image(sheet->front()), image(rec::BOF, {0, 6, 0x10, 0, 0xBB, 0x0D, 0xCC, 0x07, 0, 0, 0, 0, 6, 0, 0, 0}));
        EXPECT_EQ(sheet->back().id, rec::EOF_);
    }
}

TEST_F(XlsSheetRecords, DimensionsRunOnePastTheLastRowAndColumnOfCellsAndMerges)
{
    // Cells and merged cells span rows 2..5 and columns B..F: first row 1 and first column 1
    // (0-based), then one past the last: row 5, column 6. Formatted row 7 holds no cell.
    EXPECT_EQ(only(tiny(), rec::DIMENSIONS), image(rec::DIMENSIONS, {1, 0, 0, 0, 5, 0, 0, 0, 1, 0, 6, 0, 0, 0}));
    EXPECT_EQ(only(empty(), rec::DIMENSIONS), image(rec::DIMENSIONS, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(XlsSheetRecords, RowsCarryTheirCellSpanHeightAndFlags)
{
    // rw, first column, one past the last, height in twips, two reserved words, then the flags:
    // 0x100 always, 0x40 height set by hand, 0x20 hidden, 0x80 with the row's XF in bits 16..27
    // (15, the default cell XF, when the row has no format of its own).
    const std::vector<Bytes> expected{
        image(rec::ROW, {1, 0, 1, 0, 6, 0, 0x2C, 0x01, 0, 0, 0, 0, 0x40, 0x01, 0x0F, 0}),  // 2: B..F, 15 pt
        image(rec::ROW, {2, 0, 3, 0, 4, 0, 0xFF, 0, 0, 0, 0, 0, 0x00, 0x01, 0x0F, 0}),     // 3: D
        image(rec::ROW, {3, 0, 1, 0, 3, 0, 0xFF, 0, 0, 0, 0, 0, 0x00, 0x01, 0x0F, 0}),     // 4: B..C
        image(rec::ROW, {4, 0, 1, 0, 3, 0, 0xFF, 0, 0, 0, 0, 0, 0x00, 0x01, 0x0F, 0}),     // 5: B..C
        image(rec::ROW, {5, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0x60, 0x01, 0x0F, 0}),     // 6: hidden
        image(rec::ROW, {6, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0x80, 0x01, 0x10, 0}),     // 7: XF 16
    };
    EXPECT_EQ(all(tiny(), rec::ROW), expected);
    EXPECT_TRUE(all(empty(), rec::ROW).empty());
}

TEST_F(XlsSheetRecords, CellsFollowTheirRowsInRowMajorOrder)
{
    // The texts are numbered in the order the cells come: "Hi" 0, "Joined" 1. Numbers that fit
    // four bytes are RKs: 8 as the integer 8 (8 << 2 | 2), 1.25 as the top half of its double
    // (0x3FF40000), side by side in one MULRK (row, first column, XF and RK each, last column);
    // 12.34 as the integer 1234 to be divided by 100 (1234 << 2 | 3). 7:00 AM (7/24) fits no RK
    // and stays a NUMBER. The merged area's covered cells are blanks in the anchor's XF (16), the
    // two in row 5 side by side in one MULBLANK; the numbers keep the default cell XF (15).
    const std::vector<Bytes> expected{
        image(rec::LABELSST, {1, 0, 1, 0, 0x10, 0, 0, 0, 0, 0}),
        image(rec::MULRK, {1, 0, 2, 0, 0x0F, 0, 0x22, 0, 0, 0, 0x0F, 0, 0, 0, 0xF4, 0x3F, 3, 0}),
        image(rec::NUMBER, {1, 0, 4, 0, 0x0F, 0, 0xAB, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xD2, 0x3F}),
        image(rec::RK, {1, 0, 5, 0, 0x0F, 0, 0x4B, 0x13, 0, 0}),
        image(rec::BLANK, {2, 0, 3, 0, 0x10, 0}),
        image(rec::LABELSST, {3, 0, 1, 0, 0x10, 0, 1, 0, 0, 0}),
        image(rec::BLANK, {3, 0, 2, 0, 0x10, 0}),
        image(rec::MULBLANK, {4, 0, 1, 0, 0x10, 0, 0x10, 0, 2, 0}),
    };
    std::vector<Bytes> cells;
    bool rowsDone = false, rowAfterCell = false;
    for (const Rec& r : tiny()) {
        if (r.id == rec::LABELSST || r.id == rec::NUMBER || r.id == rec::BLANK || r.id == rec::MULBLANK ||
            r.id == rec::RK || r.id == rec::MULRK) {
            cells.push_back(image(r));
            rowsDone = true;
        } else if (r.id == rec::ROW && rowsDone) {
            rowAfterCell = true;
        }
    }
    EXPECT_EQ(cells, expected);
    EXPECT_FALSE(rowAfterCell) << "the rows of a block of 32 come before its cells";
}

TEST_F(XlsSheetRecords, ColumnsWithAWidthOrAFormatHaveAColinfo)
{
    // first, last, width in 1/256 of the digit width (14 characters: 3766; standard 8.43: 2340),
    // XF, flags (2 width set, 1 hidden), reserved.
    const std::vector<Bytes> expected{
        image(rec::COLINFO, {1, 0, 1, 0, 0xB6, 0x0E, 0x0F, 0, 0x02, 0, 0, 0}),
        image(rec::COLINFO, {4, 0, 4, 0, 0, 0, 0x0F, 0, 0x03, 0, 0, 0}),
        image(rec::COLINFO, {5, 0, 5, 0, 0x24, 0x09, 0x10, 0, 0, 0, 0, 0}),
    };
    EXPECT_EQ(all(tiny(), rec::COLINFO), expected);
    EXPECT_EQ(only(tiny(), rec::DEFCOLWIDTH), image(rec::DEFCOLWIDTH, {8, 0}));
    EXPECT_TRUE(all(empty(), rec::COLINFO).empty());
}

TEST_F(XlsSheetRecords, WindowAndSelection)
{
    // Gridlines, headings, zeros, automatic grid colour and outline symbols (0x00B6); the active
    // sheet also selected and shown (0x0600). Grid colour 0x40 in a 32-bit field.
    EXPECT_EQ(only(tiny(), rec::WINDOW2),
              image(rec::WINDOW2, {0xB6, 0x06, 0, 0, 0, 0, 0x40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(only(empty(), rec::WINDOW2),
              image(rec::WINDOW2, {0xB6, 0x00, 0, 0, 0, 0, 0x40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    // Pane 3; active cell D3 (row 2, column 3); the active cell in range 0 of 1; C2:D3 with
    // 16-bit rows and 8-bit columns.
    EXPECT_EQ(only(tiny(), rec::SELECTION), image(rec::SELECTION, {3, 2, 0, 3, 0, 0, 0, 1, 0, 1, 0, 2, 0, 2, 3}));
    EXPECT_EQ(only(empty(), rec::SELECTION), image(rec::SELECTION, {3, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(XlsSheetRecords, MergedAreasGoInRecordsOfAtMost1026)
{
    EXPECT_EQ(only(tiny(), rec::MERGEDCELLS), image(rec::MERGEDCELLS, {1, 0, 3, 0, 4, 0, 1, 0, 2, 0}));
    EXPECT_TRUE(all(empty(), rec::MERGEDCELLS).empty());

    SheetData& s = *book->sheets[1];
    for (int i = 0; i < 1100; ++i)
        s.merges.push_back({i + 1, 1, i + 1, 2});
    const auto records = all(parts(*book)[2], rec::MERGEDCELLS);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].size(), 4u + 2 + 8 * 1026);
    EXPECT_EQ(Bytes(records[0].begin() + 4, records[0].begin() + 14), (Bytes{0x02, 0x04, 0, 0, 0, 0, 0, 0, 1, 0}));
    EXPECT_EQ(Bytes(records[1].begin(), records[1].begin() + 6), (Bytes{0xE5, 0, 0x52, 0x02, 74, 0}));
    EXPECT_EQ(Bytes(records[1].end() - 8, records[1].end()), (Bytes{0x4B, 0x04, 0x4B, 0x04, 0, 0, 1, 0}));
}

TEST_F(XlsSheetRecords, PageSetupFitsOneLandscapeA4PageWithValidPrinterSettings)
{
    // Paper 9, scale 100, first page 1, fit 1 x 1, flags 0 (landscape, printer settings valid),
    // 600 x 600 dpi, header and footer margins 0.0, one copy.
    EXPECT_EQ(only(tiny(), rec::SETUP), image(rec::SETUP, {9, 0, 100, 0, 1, 0, 1, 0, 1, 0, 0, 0, 0x58, 2, 0x58, 2,
                                                           0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0}));
    // Page breaks shown, outline below and right, outline symbols (0x04C1), fit to page (0x0100).
    EXPECT_EQ(only(tiny(), rec::WSBOOL), image(rec::WSBOOL, {0xC1, 0x05}));
    // A sheet with a fixed scale does not fit to pages; portrait with notes at the end.
    EXPECT_EQ(only(empty(), rec::WSBOOL), image(rec::WSBOOL, {0xC1, 0x04}));
    PageSetup& p = book->sheets[1]->pageSetup;
    p.printComments = xlPrintSheetEnd;
    p.zoom = 75;
    const Bytes setup = only(parts(*book)[2], rec::SETUP);
    EXPECT_EQ(Bytes(setup.begin() + 4, setup.begin() + 16), (Bytes{1, 0, 75, 0, 1, 0, 1, 0, 1, 0, 0x22, 0x02}));
    // Margins in inches: 0.7 (the default left) and 0.75 (the default top) as doubles.
    EXPECT_EQ(only(empty(), rec::LEFTMARGIN), image(rec::LEFTMARGIN, {0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0xE6, 0x3F}));
    EXPECT_EQ(only(empty(), rec::TOPMARGIN), image(rec::TOPMARGIN, {0, 0, 0, 0, 0, 0, 0xE8, 0x3F}));
}

TEST_F(XlsSheetRecords, FontsAndXfsOfTheGlobals)
{
    // Four copies of Arial 10 (200 twips, weight 400, automatic colour, swiss), then the framed
    // look's font as index 5: Century Gothic 12 (240 twips) bold by flag and weight 700, in
    // colour 23 (ColorIndex 16).
    const Bytes arial = image(rec::FONT, {0xC8, 0, 0, 0, 0xFF, 0x7F, 0x90, 0x01, 0, 0, 0, 2, 0, 0, 5, 0, 'A', 'r', 'i', 'a', 'l'});
    const Bytes gothic = image(rec::FONT, {0xF0, 0, 1, 0, 0x17, 0, 0xBC, 0x02, 0, 0, 0, 2, 0, 0, 14, 0, 'C', 'e', 'n', 't',
                                           'u', 'r', 'y', ' ', 'G', 'o', 't', 'h', 'i', 'c'});
    EXPECT_EQ(all(globals(), rec::FONT), (std::vector<Bytes>{arial, arial, arial, arial, gothic}));

    // Sixteen built-in XFs, then the framed look as XF 16: font 5, General, locked with parent 0,
    // centre / centre / wrap (0x1A), all attribute groups its own (0xFC), thin lines in colour 55
    // (ColorIndex 48) on all four edges, solid fill (bit 26) in colour 22 (ColorIndex 15) over the
    // automatic background 0x41.
    const auto xfs = all(globals(), rec::XF);
    ASSERT_EQ(xfs.size(), 17u);
    EXPECT_EQ(xfs[0], image(rec::XF, {0, 0, 0, 0, 0xF5, 0xFF, 0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0x20}));
    for (int i = 1; i < 15; ++i)
        EXPECT_EQ(xfs[i], image(rec::XF, {0, 0, 0, 0, 0xF5, 0xFF, 0x20, 0, 0, 0xF4, 0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0x20})) << i;
    EXPECT_EQ(xfs[15], image(rec::XF, {0, 0, 0, 0, 0x01, 0, 0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0x20}));
    EXPECT_EQ(xfs[16], image(rec::XF, {5, 0, 0, 0, 0x01, 0, 0x1A, 0, 0, 0xFC, 0x11, 0x11, 0xB7, 0x1B, 0xB7, 0x1B, 0, 0x04,
                                       0x96, 0x20}));
}
