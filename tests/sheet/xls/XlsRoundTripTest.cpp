// Saving and opening again: a saved workbook reads back as the model that was saved, saving that
// again gives the same file, and a save that fails leaves no trace and keeps the old file, also
// when it fails after part of a large workbook went into the file. Workbooks that LibreOffice and
// Gnumeric saved (tests/data/foreign, made by its make.sh) open with what their sources set and
// go through the same round trip.
#include "fileio/TestHooks.h"
#include "sheet/Application.h"
#include "sheet/model/SheetError.h"
#include "sheet/xls/BiffReader.h"
#include "sheet/xls/XlsReader.h"
#include "sheet/xls/XlsWriter.h"

#include "SampleWorkbook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>

using namespace sheet;

namespace {

std::vector<std::uint8_t> fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The sheets hold the same things, comparing formats by content since ids are the file's.
void expectSameSheets(const WorkbookData& expected, const WorkbookData& actual)
{
    ASSERT_EQ(actual.sheets.size(), expected.sheets.size());
    EXPECT_EQ(actual.activeSheet, expected.activeSheet);
    for (std::size_t i = 0; i < expected.sheets.size(); ++i) {
        const SheetData& e = *expected.sheets[i];
        const SheetData& a = *actual.sheets[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(a.name, e.name);
        for (const auto& [ref, cell] : e.cells()) {
            const Cell* got = a.find(ref.row, ref.column);
            ASSERT_NE(got, nullptr) << ref.row << "," << ref.column;
            EXPECT_EQ(got->value, cell.value) << ref.row << "," << ref.column;
            EXPECT_EQ(actual.formats.at(got->format), expected.formats.at(cell.format)) << ref.row << "," << ref.column;
        }
        // Cells the file adds are only the blanks that carry a merged area's format.
        for (const auto& [ref, cell] : a.cells()) {
            if (e.find(ref.row, ref.column))
                continue;
            const CellRect* area = e.mergeAt(ref.row, ref.column);
            ASSERT_NE(area, nullptr) << "unexpected cell " << ref.row << "," << ref.column;
            EXPECT_EQ(cell.value, CellValue{});
            EXPECT_EQ(actual.formats.at(cell.format), expected.formats.at(e.find(area->top, area->left)->format));
        }
        EXPECT_EQ(a.rowHeights(), e.rowHeights());
        EXPECT_EQ(a.columnWidths(), e.columnWidths());
        ASSERT_EQ(a.rowFormats().size(), e.rowFormats().size());
        for (const auto& [row, id] : e.rowFormats())
            EXPECT_EQ(actual.formats.at(a.rowFormats().at(row)), expected.formats.at(id));
        ASSERT_EQ(a.columnFormats().size(), e.columnFormats().size());
        for (const auto& [column, id] : e.columnFormats())
            EXPECT_EQ(actual.formats.at(a.columnFormats().at(column)), expected.formats.at(id));
        EXPECT_EQ(a.merges, e.merges);
        EXPECT_EQ(a.selection, e.selection);
        EXPECT_EQ(a.activeCell, e.activeCell);
        EXPECT_EQ(a.pageSetup, e.pageSetup);
    }
}

// What was read saves, reads back equal and saves again to the same bytes.
void expectRoundTrip(const WorkbookData& read)
{
    const auto bytes = xls::workbookFileBytes(read);
    const auto again = xls::readWorkbookBytes(bytes, "again.xls");
    expectSameSheets(read, *again);
    EXPECT_EQ(xls::workbookFileBytes(*again), bytes);
}

const std::string kForeignDir = ROSTELLE_XLS_TEST_DATA_DIR "/foreign/";

}  // namespace

TEST(XlsRoundTrip, SavedWorkbookReadsBackAndSavesToTheSameBytes)
{
    QTemporaryDir dir;
    const std::string first = dir.filePath("first.xls").toStdString();
    const std::string second = dir.filePath("second.xls").toStdString();
    const auto book = xls_test::sampleWorkbook();
    xls::writeWorkbook(*book, first);
    const auto read = xls::readWorkbook(first);
    expectSameSheets(*book, *read);

    xls::writeWorkbook(*read, second);
    EXPECT_EQ(fileBytes(first), fileBytes(second));
    expectSameSheets(*read, *xls::readWorkbook(second));
}

TEST(XlsRoundTrip, PageSetupVariantsAndLargeSheetsSurvive)
{
    WorkbookData book;
    auto s = std::make_unique<SheetData>();
    s->name = "Big \u00e4\u20ac";
    CellFormat bold;
    bold.font.bold = true;
    const FormatId b = book.formats.intern(bold);
    // More text than fits one string table record, numbers of every kind and cells far out.
    for (int r = 1; r <= 700; ++r) {
        s->at(r, 1) = {std::string("Row text number ") + std::to_string(r) + (r % 2 ? "" : " \u20ac"), b};
        s->at(r, 2) = {r * 0.1, 0};
    }
    s->at(65536, 256) = {1e300, b};
    s->at(2, 3).value = std::string(32767, 'z');
    s->setRowHeight(7, 0);
    s->setColumnWidth(9, 0);
    s->pageSetup.orientation = xlPortrait;
    s->pageSetup.paperSize = xlPaperLetter;
    s->pageSetup.zoom = 75;
    s->pageSetup.fitToPagesWide = 2;
    s->pageSetup.fitToPagesTall = 0;
    s->pageSetup.printComments = 16;
    s->pageSetup.headerMargin = 0.3 * 72;
    s->pageSetup.printArea = "$A$1:$B$700";
    s->selection = {1, 1, 65536, 1};
    s->activeCell = {65536, 1};
    book.sheets.push_back(std::move(s));

    auto other = std::make_unique<SheetData>();
    other->name = "Other";
    other->pageSetup.printArea = "C:D";  // read back in the spreadsheet's own form
    book.sheets.push_back(std::move(other));

    const auto bytes = xls::workbookFileBytes(book);
    const auto read = xls::readWorkbookBytes(bytes, "big.xls");
    book.sheets[1]->pageSetup.printArea = "$C:$D";
    expectSameSheets(book, *read);
    EXPECT_EQ(xls::workbookFileBytes(*read), bytes);

    read->sheets[1]->pageSetup.printArea = "not an address";
    EXPECT_THROW(xls::workbookFileBytes(*read), SheetError);
}

TEST(XlsRoundTrip, FailedSaveKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("schedule.xls").toStdString();
    {
        std::ofstream old(path, std::ios::binary);
        old << "the old workbook";
    }
    WorkbookData empty;  // no sheet: nothing a spreadsheet could open
    try {
        xls::writeWorkbook(empty, path);
        FAIL() << "saving a workbook without sheets succeeded";
    } catch (const SheetError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot save the workbook to " + path + ": a workbook needs at least one sheet");
    }
    auto book = xls_test::sampleWorkbook();
    book->sheets[0]->at(1, 1).value = std::string(40000, 'x');
    EXPECT_THROW(xls::writeWorkbook(*book, path), SheetError);
    book = xls_test::sampleWorkbook();
    book->sheets[1]->name = "Bad/Name";
    EXPECT_THROW(xls::writeWorkbook(*book, path), SheetError);
    book = xls_test::sampleWorkbook();
    book->sheets[1]->name = "notes";  // names differ only in case
    EXPECT_THROW(xls::writeWorkbook(*book, path), SheetError);
    book = xls_test::sampleWorkbook();
    book->sheets[1]->at(9, 9).value = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(xls::writeWorkbook(*book, path), SheetError);

    EXPECT_EQ(fileBytes(path), std::vector<std::uint8_t>({'t', 'h', 'e', ' ', 'o', 'l', 'd', ' ', 'w', 'o', 'r', 'k', 'b', 'o', 'o', 'k'}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"schedule.xls"});

    // A folder that does not exist: the message names the path and the reason.
    const std::string nowhere = dir.filePath("missing/schedule.xls").toStdString();
    try {
        xls::writeWorkbook(*xls_test::sampleWorkbook(), nowhere);
        FAIL() << "saving into a missing folder succeeded";
    } catch (const SheetError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot save the workbook to " + nowhere + ": No such file or directory");
    }

    // Saving through a link replaces the linked file and keeps the link.
    const QString link = dir.filePath("link.xls");
    ASSERT_TRUE(QFile::link(QString::fromStdString(path), link));
    xls::writeWorkbook(*xls_test::sampleWorkbook(), link.toStdString());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(xls::readWorkbook(path)->sheets.size(), 2u);
    QFile::remove(link);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "the old workbook";

    // A successful save replaces the old file whole.
    xls::writeWorkbook(*xls_test::sampleWorkbook(), path);
    EXPECT_EQ(xls::readWorkbook(path)->sheets.size(), 2u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"schedule.xls"});
}

TEST(XlsRoundTrip, ALargeSaveThatFailsPartWayKeepsTheOldFileAndOneThatSucceedsIsTheWorkbooksBytes)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("schedule.xls").toStdString();
    const auto keepsOldFile = [&] {
        EXPECT_EQ(fileBytes(path), std::vector<std::uint8_t>({'o', 'l', 'd'}));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"schedule.xls"});
    };
    std::ofstream(path, std::ios::binary) << "old";
    // Several megabytes of cells, so that the file is written in many pieces before the end.
    auto book = xls_test::sampleWorkbook();
    for (int r = 1; r <= 20000; ++r)
        for (int c = 1; c <= 12; ++c)
            book->sheets[0]->at(r, c).value = r + c / 7.0;

    // The last sheet holds what cannot be saved.
    book->sheets[1]->at(9, 9).value = std::numeric_limits<double>::infinity();
    EXPECT_THROW(xls::writeWorkbook(*book, path), SheetError);
    keepsOldFile();
    book->sheets[1]->erase(9, 9);

    // The disk fills up part way.
    int writes = 0;
    fileio::test_hooks::setFault([&](fileio::test_hooks::Step step) {
        return step == fileio::test_hooks::Step::Write && ++writes == 5 ? ENOSPC : 0;
    });
    try {
        xls::writeWorkbook(*book, path);
        ADD_FAILURE() << "a save onto a full disk succeeded";
    } catch (const SheetError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot save the workbook to " + path + ": No space left on device");
    }
    fileio::test_hooks::setFault({});
    EXPECT_GE(writes, 5);
    keepsOldFile();

    xls::writeWorkbook(*book, path);
    EXPECT_EQ(fileBytes(path), xls::workbookFileBytes(*book));
    expectSameSheets(*book, *xls::readWorkbook(path));
}

TEST(XlsRoundTrip, AWorkbookLibreOfficeSavedOpensWithWhatItsSourceSetAndSavesBack)
{
    Application app;
    const Workbook book = app.Workbooks().Open(kForeignDir + "libreoffice-roster.xls");
    ASSERT_EQ(book.Sheets().count(), 2);
    const Worksheet roster = book.Sheets().item(1);
    EXPECT_EQ(roster.name(), "Roster");
    EXPECT_EQ(book.ActiveSheet().name(), "Roster");
    EXPECT_EQ(book.Sheets().item(2).name(), "Notes");
    EXPECT_EQ(book.Sheets().item(2).Range("A1").Text(), "Closed on Sundays");

    // A bold title on a yellow fill across A1:C1, half an inch high.
    EXPECT_EQ(roster.Range("A1").Text(), "Week of 6 May");
    EXPECT_TRUE(roster.Range("A1:C1").MergeCells());
    EXPECT_FALSE(roster.Range("A2:C2").MergeCells());
    EXPECT_TRUE(roster.Range("A1").Font().Bold());
    EXPECT_FALSE(roster.Range("A2").Font().Bold());
    EXPECT_EQ(roster.Range("A1").Interior().ColorIndex(), 6);
    EXPECT_EQ(roster.Range("A2").Interior().ColorIndex(), xlColorIndexNone);
    EXPECT_DOUBLE_EQ(roster.Range("A1").RowHeight(), 36);
    EXPECT_DOUBLE_EQ(roster.Range("A3").RowHeight(), 18);
    // Column A two inches wide, B and C one inch, as LibreOffice saved them (182 and 91 pixels of
    // Arial 10, in characters as a spreadsheet shows them).
    EXPECT_DOUBLE_EQ(roster.Range("A1").ColumnWidth(), 25.29);
    EXPECT_DOUBLE_EQ(roster.Range("B1").ColumnWidth(), 12.29);
    EXPECT_DOUBLE_EQ(roster.Range("C1").ColumnWidth(), 12.29);

    EXPECT_EQ(roster.Range("A3").Text(), "Chlo\u00e9 \u20ac");
    EXPECT_EQ(roster.Range("A4").Text(), "Tom");
    EXPECT_EQ(roster.Range("B3").Value(), CellValue(7.0 / 24));
    EXPECT_EQ(roster.Range("B3").NumberFormat(), kNumberFormatTime);
    EXPECT_EQ(roster.Range("B3").Text(), "7:00:00 AM");
    EXPECT_EQ(roster.Range("B4").Text(), "3:30:00 PM");
    EXPECT_EQ(roster.Range("C3").Value(), CellValue(8.5));
    EXPECT_EQ(roster.Range("C4").Value(), CellValue(-12.25));
    EXPECT_EQ(roster.Range("C4").NumberFormat(), kNumberFormatGeneral);

    expectRoundTrip(book.data());
}

TEST(XlsRoundTrip, AWorkbookGnumericSavedOpensWithWhatItsSourceSetAndSavesBack)
{
    Application app;
    const Workbook book = app.Workbooks().Open(kForeignDir + "gnumeric-rota.xls");
    ASSERT_EQ(book.Sheets().count(), 1);
    const Worksheet rota = book.ActiveSheet();
    EXPECT_EQ(rota.name(), "Rota");
    EXPECT_EQ(rota.PageSetup().Orientation(), xlLandscape);
    EXPECT_EQ(rota.PageSetup().PaperSize(), xlPaperA4);

    // A 14-point bold title, centred both ways, on a light green fill with a line below, across
    // A1:C1.
    const sheet::Range title = rota.Range("A1");
    EXPECT_EQ(title.Text(), "Saturday");
    EXPECT_TRUE(rota.Range("A1:C1").MergeCells());
    EXPECT_TRUE(title.Font().Bold());
    EXPECT_DOUBLE_EQ(title.Font().Size(), 14);
    EXPECT_EQ(title.Font().Name(), "Arial");
    EXPECT_EQ(title.HorizontalAlignment(), xlCenter);
    EXPECT_EQ(title.VerticalAlignment(), xlCenter);
    EXPECT_EQ(title.Interior().ColorIndex(), 35);
    EXPECT_EQ(title.Borders(xlEdgeBottom).LineStyle(), xlContinuous);
    EXPECT_EQ(title.Borders(xlEdgeBottom).ColorIndex(), 1);
    EXPECT_EQ(title.Borders(xlEdgeTop).LineStyle(), xlLineStyleNone);
    EXPECT_EQ(rota.Range("A2").Interior().ColorIndex(), xlColorIndexNone);

    EXPECT_EQ(rota.Range("A2").Text(), "Zo\u00eb \u0141.");
    EXPECT_EQ(rota.Range("B2").Text(), "9:00:00 AM");
    EXPECT_EQ(rota.Range("B3").Text(), "4:30:00 PM");
    EXPECT_EQ(rota.Range("B4").Text(), "12:00:00 AM");
    EXPECT_EQ(rota.Range("B2").HorizontalAlignment(), xlRight);
    EXPECT_EQ(rota.Range("C2").Value(), CellValue(4.0));
    EXPECT_EQ(rota.Range("C3").Value(), CellValue(1234567.5));
    EXPECT_TRUE(rota.Range("A4").WrapText());
    EXPECT_EQ(rota.Range("A4").VerticalAlignment(), xlTop);
    EXPECT_FALSE(rota.Range("A3").WrapText());

    // Rows 1 and 4 set to 30 and 27 points, the others left alone.
    EXPECT_DOUBLE_EQ(rota.Range("A1").RowHeight(), 30);
    EXPECT_DOUBLE_EQ(rota.Range("A4").RowHeight(), 27);
    EXPECT_DOUBLE_EQ(rota.Range("A2").RowHeight(), 12.75);
    // 96 and 24 points: 128 and 32 pixels.
    EXPECT_DOUBLE_EQ(rota.Range("A1").ColumnWidth(), 17.57);
    EXPECT_DOUBLE_EQ(rota.Range("C1").ColumnWidth(), 3.86);
    EXPECT_DOUBLE_EQ(rota.Range("B1").ColumnWidth(), kStandardColumnWidth);

    expectRoundTrip(book.data());
}
