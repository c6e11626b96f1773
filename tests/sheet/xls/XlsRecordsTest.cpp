// Byte images of the records the writer emits and the unit conversions they rest on, checked
// against the layouts other readers rely on; and the shared string table split over CONTINUE
// records, read back by the reader.
#include "sheet/xls/BiffReader.h"
#include "sheet/xls/BiffWriter.h"
#include "sheet/xls/PrintArea.h"
#include "sheet/xls/Rk.h"
#include "sheet/xls/Sheet.h"
#include "sheet/xls/Strings.h"
#include "sheet/xls/Styles.h"
#include "sheet/xls/Units.h"

#include "SampleWorkbook.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>

using namespace sheet;
using namespace sheet::xls;

namespace {

std::vector<std::uint8_t> bytes(std::initializer_list<int> list)
{
    std::vector<std::uint8_t> out;
    for (int b : list)
        out.push_back(static_cast<std::uint8_t>(b));
    return out;
}

std::vector<std::uint8_t> slice(const std::vector<std::uint8_t>& v, std::size_t from, std::size_t n)
{
    return {v.begin() + static_cast<long>(from), v.begin() + static_cast<long>(from + n)};
}

}  // namespace

TEST(XlsRecords, SetupForOneLandscapeA4PageWithValidPrinterSettings)
{
    PageSetup p = xls_test::sampleWorkbook()->sheets[1]->pageSetup;
    BiffWriter w;
    writeSETUP(w, p);
    EXPECT_EQ(w.data(), bytes({0xa1, 0x00, 0x22, 0x00, 0x09, 0x00, 0x64, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00,
                               0x00, 0x00, 0x58, 0x02, 0x58, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                               0x01, 0x00}));

    // Portrait with comments at the end and a zoom: the portrait and notes bits, scale kept.
    p.orientation = xlPortrait;
    p.printComments = kPrintCommentsAtEnd;
    p.zoom = 85;
    p.headerMargin = 0.3 * 72;
    BiffWriter w2;
    writeSETUP(w2, p);
    EXPECT_EQ(slice(w2.data(), 6, 2), bytes({85, 0}));
    EXPECT_EQ(slice(w2.data(), 14, 2), bytes({0x22, 0x02}));
    EXPECT_EQ(slice(w2.data(), 20, 8), bytes({0x33, 0x33, 0x33, 0x33, 0x33, 0x33, 0xd3, 0x3f}));  // 0.3 in
}

TEST(XlsRecords, FontCarriesBoldAsFlagAndWeightAndColourAsPaletteIndex)
{
    BiffWriter w;
    writeFONT(w, Font{"Century Gothic", 24, true, xlColorIndexAutomatic});
    EXPECT_EQ(slice(w.data(), 0, 18), bytes({0x31, 0x00, 0x1e, 0x00, 0xe0, 0x01, 0x01, 0x00, 0xff, 0x7f, 0xbc, 0x02,
                                             0x00, 0x00, 0x00, 0x02, 0x00, 0x00}));
    EXPECT_EQ(slice(w.data(), 18, 2), bytes({14, 0}));
    BiffWriter w2;
    writeFONT(w2, Font{"\u6e38\u30b4\u30b7\u30c3\u30af", 9, false, 16});  // a name outside Latin-1
    EXPECT_EQ(slice(w2.data(), 4, 8), bytes({0xb4, 0x00, 0x00, 0x00, 0x17, 0x00, 0x90, 0x01}));
    EXPECT_EQ(slice(w2.data(), 18, 4), bytes({5, 1, 0x38, 0x6e}));
    EXPECT_EQ(readFONT(std::span(w2.data()).subspan(4)), (Font{"\u6e38\u30b4\u30b7\u30c3\u30af", 9, false, 16}));
}

TEST(XlsRecords, AWriterHandingPiecesToASinkWritesTheStreamAWholeWriterWrites)
{
    // Records of every framing, well past two pieces, with one field patched in a piece already
    // handed over and one in the piece still held.
    struct Sink : StreamSink {
        std::vector<std::uint8_t> stream;
        std::size_t pieces = 0;
        void append(std::span<const std::uint8_t> bytes) override
        {
            stream.insert(stream.end(), bytes.begin(), bytes.end());
            ++pieces;
        }
        void overwrite(std::size_t offset, std::span<const std::uint8_t> bytes) override
        {
            std::copy(bytes.begin(), bytes.end(), stream.begin() + static_cast<long>(offset));
        }
    } sink;
    BiffWriter whole, pieces(sink);
    std::size_t early = 0, late = 0;
    const auto write = [&](BiffWriter& w, int i) {
        if (i % 3 == 0) {
            w.begin(0x0100);
            w.u8(static_cast<std::uint8_t>(i));
            w.u32(static_cast<std::uint32_t>(i) * 7919u);
            w.f64(i / 3.0);
            w.zeros(static_cast<std::size_t>(i % 40));
            w.end();
        } else if (i % 3 == 1) {
            std::uint8_t* p = w.fixedRecord(0x0200, 6 + static_cast<std::size_t>(i % 300));
            p = BiffWriter::put16(p, static_cast<std::uint16_t>(i));
            std::fill_n(BiffWriter::put32(p, static_cast<std::uint32_t>(i)), i % 300, std::uint8_t{0xAB});
        } else {
            w.record(0x0300, {static_cast<std::uint16_t>(i), 1, 2});
        }
    };
    for (int i = 0; i < 40000; ++i) {
        if (i == 10)
            early = pieces.position() + 4;
        if (i == 39990)
            late = pieces.position() + 4;
        write(whole, i);
        write(pieces, i);
    }
    for (BiffWriter* w : {&whole, &pieces}) {
        w->patchU32(early, 0xDEADBEEF);
        w->patchU32(late, 0xFEEDFACE);
    }
    pieces.finish();
    EXPECT_GT(sink.pieces, 2u);
    EXPECT_EQ(pieces.position(), whole.position());
    EXPECT_TRUE(sink.stream == whole.data());
    EXPECT_THROW(whole.fixedRecord(0x0400, kMaxRecordData + 1), std::logic_error);
    EXPECT_EQ(whole.data().size(), pieces.position());  // nothing written by the refused record
}

TEST(XlsRecords, CellXfsMatchTheLayoutsSpreadsheetsWrite)
{
    BiffWriter w;
    writeXF(w, xls_test::headerFormat(), 6);
    EXPECT_EQ(slice(w.data(), 4, 20), bytes({0x06, 0x00, 0x00, 0x00, 0x01, 0x00, 0x1a, 0x00, 0x00, 0xfc, 0x11, 0x11,
                                             0xb7, 0x1b, 0xb7, 0x1b, 0x00, 0x04, 0x96, 0x20}));
    CellFormat plainTime;
    plainTime.numberFormat = kNumberFormatTime;
    plainTime.horizontalAlignment = xlRightLegacy;
    plainTime.verticalAlignment = xlCenter;
    for (Border& b : plainTime.borders)
        b = {xlContinuous, 48};
    BiffWriter w2;
    writeXF(w2, plainTime, 7);
    EXPECT_EQ(slice(w2.data(), 4, 20), bytes({0x07, 0x00, 0x13, 0x00, 0x01, 0x00, 0x13, 0x00, 0x00, 0xfc, 0x11, 0x11,
                                              0xb7, 0x1b, 0xb7, 0x1b, 0x00, 0x00, 0xc0, 0x20}));

    // Each format reads back as written, edge by edge.
    for (const CellFormat& f : {xls_test::headerFormat(), xls_test::timeFormat(), xls_test::titleFormat()}) {
        BiffWriter x;
        writeXF(x, f, 5);
        XfRecord back = readXF(std::span(x.data()).subspan(4));
        EXPECT_EQ(back.font, 5);
        EXPECT_EQ(back.numberFormat, f.numberFormat);
        back.format.font = f.font;
        back.format.numberFormat = f.numberFormat;
        EXPECT_EQ(back.format, f);
    }
}

TEST(XlsRecords, BuiltInXfsAndNormalStyle)
{
    BiffWriter w;
    writeBuiltInXFs(w);
    writeSTYLE(w);
    ASSERT_EQ(w.data().size(), 16u * 24 + 8);
    EXPECT_EQ(slice(w.data(), 4, 20), bytes({0, 0, 0, 0, 0xf5, 0xff, 0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xc0, 0x20}));
    EXPECT_EQ(slice(w.data(), 24 + 4, 20), bytes({0, 0, 0, 0, 0xf5, 0xff, 0x20, 0, 0, 0xf4, 0, 0, 0, 0, 0, 0, 0, 0, 0xc0, 0x20}));
    EXPECT_EQ(slice(w.data(), 15 * 24 + 4, 20), bytes({0, 0, 0, 0, 0x01, 0, 0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xc0, 0x20}));
    EXPECT_EQ(slice(w.data(), 16 * 24, 8), bytes({0x93, 0x02, 0x04, 0x00, 0x00, 0x80, 0x00, 0xff}));
}

TEST(XlsRecords, ColumnWidthsSnapToWholePixelsOfTheDefaultFont)
{
    struct Case {
        double characters;
        int pixels;
        std::uint16_t coldx;
        double shown;
    };
    for (const Case& c : {Case{1, 12, 438, 1}, Case{14, 103, 3766, 14}, Case{10.5, 79, 2889, 10.57},
                          Case{7.43, 57, 2084, 7.43}, Case{6.14, 48, 1755, 6.14}, Case{0.75, 9, 329, 0.75},
                          Case{8.43, 64, 2340, 8.43}, Case{0, 0, 0, 0}, Case{300, 1790, 65280, 254.29}}) {
        SCOPED_TRACE(c.characters);
        EXPECT_EQ(columnWidthToPixels(c.characters), std::min(c.pixels, 1790));
        EXPECT_EQ(columnWidthToColdx(c.characters), c.coldx);
        EXPECT_DOUBLE_EQ(coldxToColumnWidth(c.coldx), c.shown);
    }
    EXPECT_EQ(pointsToTwips(12.75), 255);
    EXPECT_EQ(pointsToTwips(500), 8190);
    EXPECT_EQ(pointsToInches(0.7 * 72), 0.7);
    EXPECT_EQ(inchesToPoints(pointsToInches(0.7 * 72)), 0.7 * 72);
    EXPECT_EQ(colorIndexToIcv(48, 0x40), 55);
    EXPECT_EQ(colorIndexToIcv(xlColorIndexAutomatic, 0x40), 0x40);
    EXPECT_EQ(icvToColorIndex(55), 48);
    EXPECT_EQ(icvToColorIndex(0x7FFF), xlColorIndexAutomatic);
}

TEST(XlsRecords, SharedStringsSplitOverContinueRecordsAndReadBack)
{
    // Enough text to need several CONTINUE records, with strings of one-byte and two-byte
    // characters crossing the record boundaries at odd and even places.
    SharedStrings strings;
    std::vector<std::string> texts;
    for (int i = 0; i < 400; ++i) {
        std::string t = std::to_string(i) + std::string(static_cast<std::size_t>(17 + i % 13), static_cast<char>('a' + i % 26));
        if (i % 3 == 0)
            t += "\u20ac\u00e9";
        texts.push_back(t);
        strings.add(t);
    }
    texts.push_back(std::string(20000, 'x'));  // one text longer than a record
    strings.add(texts.back());
    texts.push_back("");
    strings.add("");
    strings.add(texts[5]);  // a second use of a text is no new entry
    ASSERT_EQ(strings.unique().size(), texts.size());
    EXPECT_EQ(strings.totalUses(), texts.size() + 1);

    BiffWriter w;
    const auto buckets = writeSST(w, strings);
    writeEXTSST(w, strings.unique().size(), buckets);

    RecordReader r(w.data());
    Record sst = r.next();
    ASSERT_EQ(sst.id, rec::SST);
    std::vector<std::span<const std::uint8_t>> segments{sst.data};
    std::vector<std::size_t> recordStarts{sst.offset};
    while (!r.atEnd()) {
        Record next = r.next();
        if (next.id != rec::CONTINUE) {
            ASSERT_EQ(next.id, rec::EXTSST);
            // Each bucket points at the start of a string: its count, then its flags byte.
            ByteCursor c(next.data);
            EXPECT_EQ(c.u16(), 8);
            for (std::size_t b = 0; b < buckets.size(); ++b) {
                const std::uint32_t at = c.u32();
                const std::uint16_t inRecord = c.u16();
                c.u16();
                const std::u16string expected = utf8ToUtf16(texts[b * 8]);
                EXPECT_EQ(w.data()[at] | (w.data()[at + 1] << 8), static_cast<int>(expected.size()));
                EXPECT_TRUE(std::find(recordStarts.begin(), recordStarts.end(), at - inRecord) != recordStarts.end());
            }
            break;
        }
        EXPECT_LE(next.data.size(), kMaxRecordData);
        segments.push_back(next.data);
        recordStarts.push_back(next.offset);
    }
    EXPECT_GE(segments.size(), 4u);
    EXPECT_EQ(readSST(segments), std::vector<CellText>(texts.begin(), texts.end()));
}

TEST(XlsRecords, AStringsHeaderNeverEndsARecordWithoutItsFirstCharacter)
{
    // Strings sized so that a header lands on the last three bytes of the SST record (one-byte
    // characters) and of a CONTINUE record (two-byte characters): the header moves whole into the
    // next record with its first character. A header and first character that just fit stay, and
    // the rest goes on behind a flags byte.
    const auto repeat = [](const std::string& c, std::size_t n) {
        std::string s;
        for (std::size_t i = 0; i < n; ++i)
            s += c;
        return s;
    };
    const std::vector<std::string> texts{
        std::string(8210, 'a'),      // the SST record's counts and this: 8221 bytes
        "Chlo\u00e9",               // header on 8221..8223: moves
        repeat("\u20ac", 4105),     // 8 + 3 + 8210: the CONTINUE record at 8221
        repeat("\u0436", 4108),     // header on 8221..8223: moves, and fills 8219 bytes
        "\u20acuro",                // header on 8219..8221, first character on 8222..8223: stays
        std::string(8210, 'b'),      // 7 + 3 + 8210: the next at 8220
        "Greeter",                   // header on 8220..8222, 'G' on 8223: stays
    };
    SharedStrings strings;
    for (const std::string& t : texts)
        strings.add(t);
    BiffWriter w;
    writeSST(w, strings);

    RecordReader r(w.data());
    std::vector<Record> records;
    while (!r.atEnd())
        records.push_back(r.next());
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[0].id, rec::SST);
    for (std::size_t i = 1; i < records.size(); ++i)
        EXPECT_EQ(records[i].id, rec::CONTINUE) << i;
    const auto data = [&](std::size_t i) { return std::vector<std::uint8_t>(records[i].data.begin(), records[i].data.end()); };
    const auto head = [&](std::size_t i, std::size_t n) { return slice(data(i), 0, n); };
    const auto tail = [&](std::size_t i, std::size_t n) { return slice(data(i), data(i).size() - n, n); };

    EXPECT_EQ(records[0].data.size(), 8221u);
    EXPECT_EQ(head(1, 8), bytes({5, 0, 0, 'C', 'h', 'l', 'o', 0xE9}));
    EXPECT_EQ(records[1].data.size(), 8221u);
    EXPECT_EQ(head(2, 5), bytes({0x0C, 0x10, 1, 0x36, 0x04}));
    EXPECT_EQ(records[2].data.size(), kMaxRecordData);
    EXPECT_EQ(tail(2, 5), bytes({4, 0, 1, 0xAC, 0x20}));
    EXPECT_EQ(head(3, 7), bytes({1, 'u', 0, 'r', 0, 'o', 0}));
    EXPECT_EQ(records[3].data.size(), kMaxRecordData);
    EXPECT_EQ(tail(3, 4), bytes({7, 0, 0, 'G'}));
    EXPECT_EQ(data(4), bytes({0, 'r', 'e', 'e', 't', 'e', 'r'}));

    std::vector<std::span<const std::uint8_t>> segments;
    for (const Record& record : records)
        segments.push_back(record.data);
    EXPECT_EQ(readSST(segments), std::vector<CellText>(texts.begin(), texts.end()));
}

TEST(XlsRecords, TextsAreConvertedBetweenUtf8AndUtf16)
{
    EXPECT_EQ(utf8ToUtf16("Chlo\u00e9 \U0001F600"), u"Chlo\u00e9 \U0001F600");
    EXPECT_EQ(utf16ToUtf8(u"Chlo\u00e9 \U0001F600"), "Chlo\u00e9 \U0001F600");
    EXPECT_EQ(utf8ToUtf16("a\xff" "b\xc3"), u"a\ufffdb\ufffd");
    const char16_t lone[] = {u'x', 0xD800, u'y'};
    EXPECT_EQ(utf16ToUtf8(std::u16string_view(lone, 3)), "x\ufffdy");
    EXPECT_TRUE(fitsLatin1(u"Chlo\u00e9"));
    EXPECT_FALSE(fitsLatin1(u"\u20ac"));
}

TEST(XlsRecords, PrintAreasAreParsedAndShownAsTheSpreadsheetShowsThem)
{
    EXPECT_EQ(parsePrintArea("A1:H20"), (CellRect{1, 1, 20, 8}));
    EXPECT_EQ(parsePrintArea("$H$20:$a$1"), (CellRect{1, 1, 20, 8}));
    EXPECT_EQ(parsePrintArea("B2"), (CellRect{2, 2, 2, 2}));
    EXPECT_EQ(parsePrintArea("$A:$C"), (CellRect{1, 1, kMaxRows, 3}));
    EXPECT_EQ(parsePrintArea("1:5"), (CellRect{1, 1, 5, kMaxColumns}));
    for (const char* bad : {"", "A", "A0", "IW1", "A1:B", "A1:B2:C3", "A1 ", "A65537", "1"})
        EXPECT_FALSE(parsePrintArea(bad).has_value()) << bad;
    EXPECT_EQ(printAreaText({1, 1, 20, 8}), "$A$1:$H$20");
    EXPECT_EQ(printAreaText({2, 2, 2, 2}), "$B$2");
    EXPECT_EQ(printAreaText({1, 27, kMaxRows, 28}), "$AA:$AB");
    EXPECT_EQ(printAreaText({3, 1, 4, kMaxColumns}), "$3:$4");
}

TEST(XlsRecords, NumbersTakeAnRkOnlyWhenItReadsBackBitForBit)
{
    struct Case {
        double value;
        std::optional<std::uint32_t> rk;
    };
    for (const Case& c : {Case{0, 0x00000002}, Case{-0.0, 0x80000000}, Case{8, 0x00000022}, Case{-1, 0xFFFFFFFE},
                          Case{536870911, 0x7FFFFFFE}, Case{-536870912, 0x80000002},
                          Case{536870912, 0x41C00000},  // 2^29 no longer fits the integer, but its double does
                          Case{1.25, 0x3FF40000}, Case{0.25, 0x3FD00000}, Case{12.34, 0x0000134B},
                          Case{-0.07, 0xFFFFFFE7}, Case{7.0 / 24, std::nullopt}, Case{0.1 + 0.2, std::nullopt},
                          Case{123456789.12, std::nullopt}, Case{std::numeric_limits<double>::infinity(), std::nullopt},
                          Case{std::numeric_limits<double>::quiet_NaN(), std::nullopt}}) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(rkOf(c.value), c.rk);
        if (c.rk)
            EXPECT_EQ(std::bit_cast<std::uint64_t>(rkValue(*c.rk)), std::bit_cast<std::uint64_t>(c.value));
    }
    // Whatever the number, an RK given for it reads back as that very number; whole numbers in
    // the 30-bit range and hundredths of them always have one.
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        const auto whole = static_cast<double>(static_cast<std::int64_t>(random() % (1u << 30)) - (1 << 29));
        for (const double v : {whole, whole / 100, std::bit_cast<double>(random()), std::bit_cast<double>(random() & ~0x3'FFFF'FFFFull)}) {
            if (const auto rk = rkOf(v))
                ASSERT_EQ(std::bit_cast<std::uint64_t>(rkValue(*rk)), std::bit_cast<std::uint64_t>(v)) << v;
        }
        ASSERT_TRUE(rkOf(whole).has_value()) << whole;
        ASSERT_TRUE(rkOf(whole / 100).has_value()) << whole / 100;
    }
}
