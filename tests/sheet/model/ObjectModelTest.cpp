// The automation object model driven the way the schedule code drives it: the selection as the
// channel between calls, merges, borders per edge, whole rows/columns/sheet without cells, sheet
// management, page setup, application instances apart from each other and the errors a caller
// gets.
#include "sheet/Application.h"
#include "sheet/model/SheetError.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace sheet;

namespace {

class ObjectModel : public ::testing::Test {
protected:
    ObjectModel() { book = std::make_unique<Workbook>(app.Workbooks().add()); }
    SheetData& sheet() { return app.ActiveSheet().data(); }
    const CellFormat& formatAt(int row, int column)
    {
        const Cell* cell = sheet().find(row, column);
        return app.ActiveWorkbook().data().formats.at(cell ? cell->format : 0);
    }

    Application app;
    std::unique_ptr<Workbook> book;
};

template <class F>
std::string errorOf(F&& call)
{
    try {
        call();
    } catch (const SheetError& e) {
        return e.what();
    }
    return "(no error)";
}

}  // namespace

TEST_F(ObjectModel, SelectionIsTheChannelBetweenCalls)
{
    app.Range("B1:F2").Select();
    EXPECT_EQ(app.Selection().rect(), (CellRect{1, 2, 2, 6}));
    EXPECT_EQ(app.ActiveCell().Address(), "B1");
    app.ActiveCell().setFormulaR1C1("Shift Schedule");
    app.Selection().Merge();
    app.Selection().Font().setFontStyle("BOLD");
    app.Selection().Font().setSize(24);
    EXPECT_EQ(app.Range("B1").Text(), "Shift Schedule");
    EXPECT_TRUE(app.Range("F2").Font().Bold());
    EXPECT_EQ(app.Range("F2").Font().Size(), 24);
    EXPECT_FALSE(app.Range("G2").Font().Bold());  // outside the selection
    app.Selection().Font().setFontStyle("General");
    EXPECT_FALSE(app.Range("C2").Font().Bold());

    // Selecting part of a merged area selects all of it, with its top-left as the active cell.
    app.Range("D2:D2").Select();
    EXPECT_EQ(app.Selection().rect(), (CellRect{1, 2, 2, 6}));
    EXPECT_EQ(app.ActiveCell().Address(), "B1");

    app.Rows("5:5").Select();
    EXPECT_EQ(app.Selection().kind(), A1Kind::WholeRows);
    app.Selection().setRowHeight(13);
    EXPECT_EQ(sheet().rowHeight(5), 13);
    EXPECT_EQ(app.ActiveCell().Address(), "A5");
    app.Columns("C").Select();
    app.Selection().setColumnWidth(10.5);
    EXPECT_EQ(sheet().columnWidth(3), 10.5);
    EXPECT_EQ(sheet().columnWidth(4), kStandardColumnWidth);
}

TEST_F(ObjectModel, CellInputAndDisplayedText)
{
    app.Range("C5:C5").Select();
    app.ActiveCell().setFormulaR1C1("7:00:00 AM");
    EXPECT_EQ(app.ActiveSheet().Cells(5, 3).Text(), "7:00:00 AM");
    EXPECT_EQ(app.Range("C5").NumberFormat(), kNumberFormatTime);
    app.Range("T6").setFormulaR1C1("2");
    EXPECT_EQ(app.Range("T6").Text(), "2");
    EXPECT_DOUBLE_EQ(std::get<double>(app.Range("T6").Value()), 2.0);
    app.Range("B6").setFormulaR1C1("=SUM(A1:A3)");
    EXPECT_EQ(app.Range("B6").Text(), "=SUM(A1:A3)");
    // A number typed over a time shows as a number again.
    app.Range("C5").setFormulaR1C1("3");
    EXPECT_EQ(app.Range("C5").Text(), "3");
    // Emptying a cell with no format of its own removes it from the used range.
    app.Range("T6").setFormulaR1C1("");
    EXPECT_EQ(sheet().find(6, 20), nullptr);
    EXPECT_EQ(app.ActiveSheet().UsedRange().Address(), "B5:C6");

    // Text entered as text stays exactly what was typed, whatever it looks like.
    for (const std::string typed : {"2", "7:00:00 AM", "-3", "=1+1"}) {
        app.Range("D7").setText(typed);
        EXPECT_EQ(std::get<CellText>(app.Range("D7").Value()), typed);
        EXPECT_EQ(app.Range("D7").Text(), typed);
    }
    app.Range("D7").setText("");
    EXPECT_EQ(sheet().find(7, 4), nullptr);
}

TEST_F(ObjectModel, MergeKeepsTheTopLeftValueAndOneCellChangesNothing)
{
    app.Range("A1").setFormulaR1C1("keep");
    app.Range("B2").setFormulaR1C1("lost");
    app.Range("A1:B2").Merge();
    EXPECT_EQ(sheet().merges, (std::vector<CellRect>{{1, 1, 2, 2}}));
    EXPECT_EQ(app.Range("A1").Text(), "keep");
    EXPECT_EQ(app.Range("B2").Text(), "");
    EXPECT_TRUE(app.Range("A1:B2").MergeCells());
    app.Range("K1:K1").Merge();
    EXPECT_EQ(sheet().merges.size(), 1u);
    // A merge over an existing one replaces it instead of overlapping it.
    app.Range("B2:C3").Merge();
    EXPECT_EQ(sheet().merges, (std::vector<CellRect>{{2, 2, 3, 3}}));
}

TEST_F(ObjectModel, BordersPerEdgeIncludingInsideEdges)
{
    app.Range("C5:E6").Select();
    for (int edge : {xlEdgeLeft, xlEdgeBottom, xlInsideHorizontal, xlInsideVertical}) {
        app.Selection().Borders(edge).setLineStyle(xlContinuous);
        app.Selection().Borders(edge).setColorIndex(48);
    }
    const auto side = [&](int r, int c, BorderSide s) { return formatAt(r, c).borders[s]; };
    const Border line{xlContinuous, 48};
    EXPECT_EQ(side(5, 3, kBorderLeft), line);
    EXPECT_EQ(side(6, 3, kBorderLeft), line);
    EXPECT_EQ(side(5, 4, kBorderLeft), line);  // inside vertical: left of every column but the first
    EXPECT_EQ(side(5, 3, kBorderRight), line);
    EXPECT_EQ(side(5, 5, kBorderRight), Border{});  // no right edge asked
    EXPECT_EQ(side(5, 3, kBorderTop), Border{});    // no top edge asked
    EXPECT_EQ(side(5, 4, kBorderBottom), line);     // inside horizontal
    EXPECT_EQ(side(6, 4, kBorderTop), line);
    EXPECT_EQ(side(6, 4, kBorderBottom), line);  // bottom edge
    EXPECT_EQ(sheet().find(7, 3), nullptr);

    // Inside edges of one cell draw nothing; a colour alone draws a continuous line.
    app.Range("H8").Borders(xlInsideHorizontal).setColorIndex(3);
    app.Range("H8").Borders(xlInsideVertical).setLineStyle(xlContinuous);
    EXPECT_EQ(sheet().find(8, 8), nullptr);
    app.Range("H8").Borders(xlEdgeTop).setColorIndex(3);
    EXPECT_EQ(side(8, 8, kBorderTop), (Border{xlContinuous, 3}));
    app.Range("H8").Borders(xlEdgeTop).setLineStyle(xlLineStyleNone);
    EXPECT_EQ(side(8, 8, kBorderTop), Border{});

    // A one-cell header inside a merged title: selecting it takes in the merge, which shows as
    // one cell, so no inside line runs through it; its bottom edge is the merge's bottom.
    app.Range("B4:B5").Merge();
    app.Range("B5:B5").Select();
    app.Selection().Borders(xlInsideHorizontal).setLineStyle(xlContinuous);
    app.Selection().Borders(xlEdgeBottom).setLineStyle(xlContinuous);
    EXPECT_EQ(side(4, 2, kBorderBottom), Border{});
    EXPECT_EQ(side(5, 2, kBorderTop), Border{});
    EXPECT_EQ(side(5, 2, kBorderBottom).lineStyle, xlContinuous);

    // Across a block that holds a merge, inside lines stop at the merge and run everywhere else.
    app.Range("J10:K11").Merge();
    app.Range("J10:L12").Select();
    app.Selection().Borders(xlInsideHorizontal).setLineStyle(xlContinuous);
    app.Selection().Borders(xlInsideVertical).setLineStyle(xlContinuous);
    EXPECT_EQ(side(10, 10, kBorderBottom), Border{});  // J10|J11 inside the merge
    EXPECT_EQ(side(10, 10, kBorderRight), Border{});   // J10|K10 inside the merge
    EXPECT_EQ(side(11, 11, kBorderTop), Border{});
    EXPECT_EQ(side(11, 10, kBorderBottom).lineStyle, xlContinuous);  // J11|J12 below the merge
    EXPECT_EQ(side(10, 11, kBorderRight).lineStyle, xlContinuous);   // K10|L10 right of it
    EXPECT_EQ(side(10, 12, kBorderBottom).lineStyle, xlContinuous);  // L10|L11 beside it
    EXPECT_EQ(side(11, 12, kBorderTop).lineStyle, xlContinuous);
}

TEST_F(ObjectModel, AContinuousLineInOnePassLeavesWhatTheLineThenItsColourLeave)
{
    // The same block, with a merge inside it, at columns B:D the two-step way and at G:I in one pass.
    app.Range("B3:C4").Merge();
    app.Range("G3:H4").Merge();
    for (int edge = xlEdgeLeft; edge <= xlInsideHorizontal; ++edge) {
        app.Range("B2:D5").Borders(edge).setLineStyle(xlContinuous);
        app.Range("B2:D5").Borders(edge).setColorIndex(edge + 40);
        app.Range("G2:I5").Borders(edge).setContinuousLine(edge + 40);
    }
    for (int row = 1; row <= 6; ++row)
        for (int column = 1; column <= 5; ++column)
            for (BorderSide s : {kBorderLeft, kBorderTop, kBorderRight, kBorderBottom})
                EXPECT_EQ(formatAt(row, column).borders[s], formatAt(row, column + 5).borders[s])
                    << row << "," << column << " side " << s;
    // A colour refused leaves the line drawn, as the line's step alone would.
    EXPECT_THROW(app.Range("K8").Borders(xlEdgeTop).setContinuousLine(99), SheetError);
    EXPECT_EQ(formatAt(8, 11).borders[kBorderTop], (Border{xlContinuous, xlColorIndexAutomatic}));
}

TEST_F(ObjectModel, TheBuildingCallsWithoutHandlesDoWhatTheHandleCallsDo)
{
    // The same steps in two applications: through handles here, without them there; a merged area
    // grows a selection, an empty text removes a plain cell, and a refused colour fails alike.
    Application direct;
    direct.Workbooks().add();
    const auto steps = [](Application& xl, bool handles) {
        const auto select = [&](const CellRect& r) { handles ? xl.Range(r).Select() : xl.selectRange(r); };
        const auto text = [&](const char* t) { handles ? xl.ActiveCell().setText(t) : xl.setActiveCellText(t); };
        const auto merge = [&] { handles ? xl.Selection().Merge() : xl.mergeSelection(); };
        const auto fill = [&](int c) { handles ? xl.Selection().Interior().setColorIndex(c) : xl.fillSelection(c); };
        select(CellRect{2, 2, 3, 4});
        text("Title");
        merge();
        select(CellRect{3, 3, 3, 3});  // inside the merged area: grows to all of it
        fill(6);
        for (int row = 5; row <= 8; ++row) {
            select(CellRect{row, 2, row, 2});
            text("Cashier");
            fill(34 + row);
        }
        select(CellRect{6, 2, 6, 2});
        text("");
        fill(xlColorIndexNone);
        return errorOf([&] { fill(99); });
    };
    EXPECT_EQ(steps(app, true), steps(direct, false));
    const SheetData& viaHandles = sheet();
    const SheetData& without = direct.ActiveSheet().data();
    EXPECT_EQ(viaHandles.selection, without.selection);
    EXPECT_EQ(viaHandles.activeCell, without.activeCell);
    EXPECT_EQ(viaHandles.merges, without.merges);
    EXPECT_EQ(viaHandles.usedRange(), without.usedRange());
    for (int row = 1; row <= 9; ++row)
        for (int column = 1; column <= 5; ++column) {
            const Cell* a = viaHandles.find(row, column);
            const Cell* b = without.find(row, column);
            ASSERT_EQ(a == nullptr, b == nullptr) << row << "," << column;
            if (a) {
                EXPECT_EQ(a->value, b->value) << row << "," << column;
                EXPECT_EQ(app.ActiveWorkbook().data().formats.at(a->format),
                          direct.ActiveWorkbook().data().formats.at(b->format))
                    << row << "," << column;
            }
        }
}

TEST_F(ObjectModel, TheBuildingCallsFollowEveryChangeOfTheActiveSheetAndWorkbook)
{
    // After each change, a mark written without handles lands on the sheet the handles call active.
    testing_support::TestEnvironment env;
    const std::string path = env.tempDir().toStdString() + "/active.xls";
    int marks = 0;
    const auto lands = [&] {
        const std::string mark = "mark " + std::to_string(++marks);
        app.selectRange(CellRect{marks, 1, marks, 1});
        app.setActiveCellText(CellText(mark));
        return app.ActiveSheet().Cells(marks, 1).Text() == mark;
    };
    EXPECT_TRUE(lands());
    app.Sheets().item(2).Select();
    EXPECT_TRUE(lands());
    app.Sheets().add();
    EXPECT_TRUE(lands());
    app.ActiveSheet().Delete();
    EXPECT_TRUE(lands());
    app.Sheets().item(1).Delete();  // the sheet before the active one
    EXPECT_TRUE(lands());
    Workbook second = app.Workbooks().add();
    EXPECT_TRUE(lands());
    book->Sheets().item(1).Select();  // back to the first workbook
    EXPECT_TRUE(lands());
    book->SaveAs(path);
    book->Close();
    EXPECT_TRUE(lands());
    app.Workbooks().Open(path);
    EXPECT_TRUE(lands());
    app.ActiveWorkbook().Close();
    second.Close();
    EXPECT_EQ(errorOf([&] { app.selectRange(CellRect{1, 1, 1, 1}); }), "No workbook is open.");
    app.Workbooks().add();
    EXPECT_TRUE(lands());
    app.Quit();
    EXPECT_EQ(errorOf([&] { app.fillSelection(6); }), "The spreadsheet application is no longer running.");
}

TEST_F(ObjectModel, WholeColumnsRowsAndSheetFormatWithoutCreatingCells)
{
    app.Range("D3").setFormulaR1C1("x");
    app.Cells().Select();
    app.Selection().Clear();
    EXPECT_TRUE(sheet().cells().empty());
    app.Selection().Font().setName("Century Gothic");
    app.Selection().Font().setSize(8);
    EXPECT_TRUE(sheet().cells().empty());
    EXPECT_EQ(sheet().columnFormats().size(), static_cast<std::size_t>(kMaxColumns));
    // Cells written later take the sheet's font.
    app.Range("Z100").setFormulaR1C1("late");
    EXPECT_EQ(formatAt(100, 26).font.name, "Century Gothic");
    EXPECT_EQ(formatAt(100, 26).font.size, 8);

    app.Columns("A:A").setColumnWidth(1);
    app.Columns("B:B").Font().setBold(true);
    EXPECT_EQ(sheet().cells().size(), 1u);
    EXPECT_EQ(sheet().columnWidth(1), 1);
    EXPECT_TRUE(app.Range("B60000").Font().Bold());
    EXPECT_EQ(app.Range("B60000").Font().Name(), "Century Gothic");

    // A row format meets a column format: the crossing shows the later change.
    app.Rows("7:7").Interior().setColorIndex(15);
    app.Columns("C:C").Interior().setColorIndex(16);
    EXPECT_EQ(app.Range("C7").Interior().ColorIndex(), 16);
    EXPECT_EQ(app.Range("D7").Interior().ColorIndex(), 15);
    EXPECT_EQ(app.Range("C8").Interior().ColorIndex(), 16);
    EXPECT_LT(sheet().cells().size(), 300u);

    // Clearing a cell of a formatted column gives it the default format, not the column's.
    app.Range("B9").Clear();
    EXPECT_FALSE(app.Range("B9").Font().Bold());
    EXPECT_EQ(app.Range("B9").Font().Name(), "Arial");
    EXPECT_TRUE(app.Range("B10").Font().Bold());
}

TEST_F(ObjectModel, SheetsAreDeletedDownToOneAndNamedValidly)
{
    app.setDisplayAlerts(false);
    ASSERT_EQ(app.Sheets().count(), 3);
    EXPECT_EQ(app.ActiveSheet().name(), "Sheet1");
    const Worksheet third = app.Sheets().item(3);
    third.Select();
    EXPECT_EQ(app.ActiveSheet().name(), "Sheet3");
    for (int n = app.Sheets().count() - 1; n > 0; --n)
        app.Sheets().item(2).Delete();
    EXPECT_EQ(app.Sheets().count(), 1);
    EXPECT_EQ(app.ActiveSheet().name(), "Sheet1");
    EXPECT_EQ(errorOf([&] { third.name(); }), "The worksheet has been deleted.");
    EXPECT_NE(errorOf([&] { app.Sheets().item(1).Delete(); }).find("at least one sheet"), std::string::npos);
    EXPECT_EQ(app.Sheets().count(), 1);
    EXPECT_EQ(errorOf([&] { app.Sheets().item(2); }), "Sheet index out of range: 2 (the workbook has 1 sheet).");

    Worksheet only = app.Sheets().item(app.Sheets().count());
    only.setName("Shift Schedule");
    EXPECT_EQ(app.ActiveSheet().name(), "Shift Schedule");
    const Worksheet added = app.Sheets().add();
    for (const char* bad : {"", "a/b", "a[1]", "What?", "x:y", "'quoted'", "SHIFT SCHEDULE",
                            "a name that is much longer than thirty-one"})
        EXPECT_THROW(added.setName(bad), SheetError) << bad;
    added.setName("Zeiträume für die Woche 12345");  // 29 characters in 31 bytes and more
    EXPECT_EQ(added.name(), "Zeiträume für die Woche 12345");
}

TEST_F(ObjectModel, PageSetupKeepsEveryField)
{
    SheetPageSetup setup = app.ActiveSheet().PageSetup();
    setup.setPrintArea("");
    setup.setLeftMargin(app.InchesToPoints(0.7));
    setup.setTopMargin(app.InchesToPoints(0.5));
    setup.setHeaderMargin(app.InchesToPoints(0));
    setup.setPrintComments(xlPrintNoComments);
    setup.setOrientation(xlLandscape);
    setup.setPaperSize(xlPaperA4);
    setup.setZoom(false);
    setup.setFitToPagesWide(1);
    setup.setFitToPagesTall(1);
    const PageSetup& stored = sheet().pageSetup;
    EXPECT_DOUBLE_EQ(stored.leftMargin, 50.4);
    EXPECT_DOUBLE_EQ(stored.topMargin, 36);
    EXPECT_EQ(stored.headerMargin, 0);
    EXPECT_EQ(stored.orientation, xlLandscape);
    EXPECT_EQ(stored.paperSize, xlPaperA4);
    EXPECT_FALSE(stored.zoom.has_value());
    EXPECT_EQ(setup.PrintArea(), "");
    EXPECT_THROW(setup.setZoom(true), SheetError);
    EXPECT_THROW(setup.setOrientation(3), SheetError);
    EXPECT_THROW(setup.setLeftMargin(-1), SheetError);
    EXPECT_THROW(setup.setPrintArea("A1:IW2"), SheetError);
    setup.setZoom(75);
    EXPECT_EQ(stored.zoom, 75);
}

TEST_F(ObjectModel, InvalidValuesAreRefusedAndChangeNothing)
{
    Range cell = app.Range("C3");
    EXPECT_EQ(errorOf([&] { cell.setHorizontalAlignment(99); }), "Unknown horizontal alignment: 99");
    EXPECT_THROW(cell.setVerticalAlignment(xlLeft), SheetError);
    EXPECT_THROW(cell.Font().setColorIndex(57), SheetError);
    EXPECT_THROW(cell.Font().setColorIndex(0), SheetError);
    EXPECT_THROW(cell.Interior().setColorIndex(-1), SheetError);
    EXPECT_THROW(cell.Borders(5), SheetError);
    EXPECT_THROW(cell.Borders(xlEdgeLeft).setLineStyle(-4115), SheetError);
    EXPECT_THROW(cell.setRowHeight(410), SheetError);
    EXPECT_THROW(cell.setColumnWidth(-1), SheetError);
    EXPECT_EQ(sheet().find(3, 3), nullptr);
    EXPECT_EQ(errorOf([&] { app.Range("IW1"); }), "Invalid range address: IW1");
    EXPECT_THROW(app.Cells(0, 1), SheetError);
    EXPECT_THROW(app.Cells(1, 257), SheetError);
    EXPECT_THROW(app.Rows("A1"), SheetError);
    EXPECT_THROW(app.Columns("1:1"), SheetError);
    EXPECT_THROW(app.setCursor(7), SheetError);
    EXPECT_THROW(book->SaveAs("/tmp/never.xlsx", 51), SheetError);

    cell.setHorizontalAlignment(xlRightLegacy);
    EXPECT_EQ(cell.HorizontalAlignment(), xlRight);
    cell.setHorizontalAlignment(xlCenter);
    cell.setVerticalAlignment(xlCenter);
    cell.setWrapText(true);
    EXPECT_EQ(formatAt(3, 3).horizontalAlignment, xlCenter);
    EXPECT_EQ(formatAt(3, 3).verticalAlignment, xlCenter);
    EXPECT_TRUE(formatAt(3, 3).wrapText);
}

TEST_F(ObjectModel, ApplicationInstancesAreSeparateAndFailClearlyAfterQuit)
{
    const int before = Application::liveInstances();
    auto first = std::make_unique<Application>();
    Application second;
    EXPECT_EQ(Application::liveInstances(), before + 2);
    EXPECT_EQ(first->Version(), "16.0");
    EXPECT_DOUBLE_EQ(first->InchesToPoints(0.5), 36);
    first->setScreenUpdating(false);
    EXPECT_TRUE(second.ScreenUpdating());
    Workbook book = first->Workbooks().add();
    Range cell = first->Range("A1");
    EXPECT_EQ(second.Workbooks().count(), 0);
    EXPECT_THROW(second.ActiveSheet(), SheetError);

    first->Quit();
    EXPECT_EQ(Application::liveInstances(), before + 1);
    const std::string gone = "The spreadsheet application is no longer running.";
    EXPECT_EQ(errorOf([&] { first->Workbooks(); }), gone);
    EXPECT_EQ(errorOf([&] { cell.setFormulaR1C1("x"); }), gone);
    EXPECT_EQ(errorOf([&] { book.Sheets(); }), gone);
    EXPECT_EQ(errorOf([&] { first->Quit(); }), gone);
    first.reset();  // destroying a quit instance counts it once only
    EXPECT_EQ(Application::liveInstances(), before + 1);

    Workbook other = second.Workbooks().add();
    Range a1 = second.Range("A1");
    other.Close();
    EXPECT_EQ(errorOf([&] { a1.Text(); }), "The workbook has been closed.");
    EXPECT_EQ(second.Workbooks().count(), 0);
}

TEST_F(ObjectModel, UsedRangeRowsAndColumns)
{
    EXPECT_EQ(app.ActiveSheet().UsedRange().Address(), "A1");
    app.Range("B4").setFormulaR1C1("Monday");
    app.Range("T9").setFormulaR1C1("0");
    const Range used = app.ActiveSheet().UsedRange();
    EXPECT_EQ(used.Row(), 4);
    EXPECT_EQ(used.Column(), 2);
    EXPECT_EQ(used.Rows().count(), 6);
    EXPECT_EQ(used.Columns().count(), 19);
    EXPECT_EQ(used.Rows().item(2).Address(), "B5:T5");
    EXPECT_EQ(used.Columns().item(19).Address(), "T4:T9");
    EXPECT_THROW(used.Rows().item(7), SheetError);
}

TEST_F(ObjectModel, ClearRemovesValuesFormatsAndMergesButKeepsSizes)
{
    app.Range("B2:C3").Merge();
    app.Range("B2").setFormulaR1C1("title");
    app.Range("B2:C3").Font().setBold(true);
    app.Range("E5").Interior().setColorIndex(15);
    app.Rows("2:2").setRowHeight(29.25);
    app.Columns("B:B").setColumnWidth(14);
    app.Range("A1:C3").Clear();
    EXPECT_TRUE(sheet().merges.empty());
    EXPECT_EQ(sheet().find(2, 2), nullptr);
    EXPECT_EQ(sheet().cells().size(), 1u);  // E5 lies outside
    EXPECT_EQ(sheet().rowHeight(2), 29.25);
    EXPECT_EQ(sheet().columnWidth(2), 14);

    // Whole rows: later cells of the row take its format; clearing the row drops it again.
    app.Rows("3:4").Font().setBold(true);
    EXPECT_EQ(sheet().cells().size(), 1u);
    EXPECT_TRUE(app.Range("Q4").Font().Bold());
    app.Range("Q4").setFormulaR1C1("x");
    EXPECT_TRUE(formatAt(4, 17).font.bold);
    app.Rows("4:4").Clear();
    EXPECT_FALSE(app.Range("R4").Font().Bold());
    EXPECT_EQ(sheet().find(4, 17), nullptr);
    EXPECT_TRUE(app.Range("R3").Font().Bold());
}

TEST_F(ObjectModel, CollectionsCountFromOneAndRefuseOtherIndexes)
{
    Application& a = app;
    EXPECT_EQ(a.Workbooks().count(), 1);
    EXPECT_EQ(a.Workbooks().item(1), *book);
    EXPECT_THROW(a.Workbooks().item(0), SheetError);
    EXPECT_THROW(a.Workbooks().item(2), SheetError);
    EXPECT_THROW(a.Sheets().item(0), SheetError);
    EXPECT_EQ(a.Sheets().item("Sheet2").Index(), 2);
    EXPECT_THROW(a.Sheets().item("Sheet9"), SheetError);
    // A second workbook becomes the active one; closing it makes the first active again.
    Workbook second = a.Workbooks().add();
    EXPECT_EQ(second.Name(), "Book2");
    EXPECT_EQ(a.ActiveWorkbook(), second);
    a.Range("A1").setFormulaR1C1("second");
    second.Close();
    EXPECT_EQ(a.ActiveWorkbook(), *book);
    EXPECT_EQ(a.Range("A1").Text(), "");
}
