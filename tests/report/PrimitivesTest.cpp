// The formatting primitives and the page setup against the engine: what each does to the
// selection and the cells, the edges DrawBorder0 draws and in which order, column letters.
#include "tests/report/ReportFixture.h"

#include "report/Automation.h"
#include "report/ColumnLetters.h"
#include "report/PageSetup.h"
#include "report/Primitives.h"

#include "app/Dialogs.h"
#include "app/ErrorReport.h"

#include "sheet/model/Constants.h"

#include <utility>
#include <variant>
#include <vector>

using namespace report::EmployeeShiftSchedule;
using report::Excel1::ColumnNumberToLetter;
using report_testing::ReportTest;

namespace {

class PrimitivesTest : public ReportTest {
protected:
    void SetUp() override
    {
        ReportTest::SetUp();
        startWorkbook();
    }
    std::string selection() const { return xlApp().Selection().Address(); }
    int lineStyle(const char* range, int edge) const { return sheet().Range(range).Borders(edge).LineStyle(); }
};

TEST_F(PrimitivesTest, ColumnLettersNameTheColumnsOfAnXlsSheet)
{
    const std::vector<std::pair<int, QString>> cases{{1, "A"}, {2, "B"}, {26, "Z"}, {27, "AA"}, {52, "AZ"},
                                                     {53, "BA"}, {78, "BZ"}, {255, "IU"}, {256, "IV"}};
    for (const auto& [number, letters] : cases)
        EXPECT_EQ(ColumnNumberToLetter(number), letters) << number;
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PrimitivesTest, ColumnLettersBeyondTheLastColumnTellTheUserAndGiveNothing)
{
    EXPECT_EQ(ColumnNumberToLetter(257), QString());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Number is higher than number of columns.");
    EXPECT_EQ(dialogs.messages[0].style, app::msg::kOkOnly);
    EXPECT_EQ(dialogs.messages[0].title, app::applicationTitle());
}

TEST_F(PrimitivesTest, ColumnLettersBelowTheFirstColumnAreReportedAndGiveNothing)
{
    EXPECT_EQ(ColumnNumberToLetter(0), QString());
    EXPECT_EQ(ColumnNumberToLetter(-3), QString());
    const auto reports = errorReports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_TRUE(reports[0].text.contains(app::errorSourceLabel("Excel1", "ColumnNumberToLetter") + "at line "));
}

TEST_F(PrimitivesTest, PutTextWritesTheTopLeftCellAndMergesTheSelection)
{
    PutText("B1:F2", "Shift Schedule", true);
    EXPECT_EQ(selection(), "B1:F2");
    EXPECT_EQ(text("B1"), "Shift Schedule");
    EXPECT_EQ(text("C1"), "");
    EXPECT_EQ(text("B2"), "");
    EXPECT_TRUE(sheet().Range("F2").MergeCells());
    ASSERT_EQ(sheet().data().merges.size(), 1u);
    EXPECT_EQ(sheet().data().merges[0], (sheet::CellRect{1, 2, 2, 6}));

    PutText("K1:K1", "For the Week of:", true);
    EXPECT_EQ(sheet().data().merges.size(), 1u) << "a one-cell range stays unmerged";
    PutText("L1:M1", "unmerged", false);
    EXPECT_FALSE(sheet().Range("M1").MergeCells());
}

TEST_F(PrimitivesTest, PutTextEntersTimesAndNumbersAsValues)
{
    PutText("C5:C5", "7:00:00 AM", true);
    PutText("D5:D5", "2", true);
    const sheet::CellValue time = sheet().Range("C5").Value();
    ASSERT_TRUE(std::holds_alternative<double>(time));
    EXPECT_NEAR(std::get<double>(time), 7.0 / 24.0, 1e-9);
    EXPECT_EQ(text("C5"), "7:00:00 AM");
    EXPECT_EQ(sheet().Range("D5").Value(), sheet::CellValue(2.0));
}

TEST_F(PrimitivesTest, UserTextStaysExactlyAsTyped)
{
    const QStringList typed{"=1+1", "+5", "-3", "2", "7:00:00 AM", "=HYPERLINK(\"x\")", "O'Brien", "Zoë 😀"};
    int row = 1;
    for (const QString& entry : typed) {
        const QString cell = QStringLiteral("B%1").arg(row++);
        PutUserText(cell + ":" + cell, entry, true);
        EXPECT_EQ(sheet().Range(cell.toStdString()).Value(), sheet::CellValue(entry.toStdString())) << entry.toStdString();
        EXPECT_EQ(text(cell), entry);
    }
    PutUserText("B20:C20", "", true);
    EXPECT_EQ(sheet().Range("B20").Value(), sheet::CellValue{});
    EXPECT_TRUE(sheet().Range("C20").MergeCells());
}

TEST_F(PrimitivesTest, FontAndAlignmentActOnTheSelectionOnly)
{
    PutText("B4:B5", "Monday", true);
    SetFont("bold", 12, 16);
    PutText("C5:C5", "7:00:00 AM", true);
    SetFont("General", 9, 16);
    PutText("K1:K1", "For the Week of:", true);
    SetFontAlignment(sheet::xlRightLegacy);

    auto b4 = sheet().Range("B4").Font();
    EXPECT_TRUE(b4.Bold());
    EXPECT_EQ(b4.Size(), 12);
    EXPECT_EQ(b4.ColorIndex(), 16);
    auto c5 = sheet().Range("C5").Font();
    EXPECT_FALSE(c5.Bold()) << "\"General\" is the regular style";
    EXPECT_EQ(c5.Size(), 9);
    EXPECT_FALSE(sheet().Range("B6").Font().Bold());
    EXPECT_EQ(sheet().Range("K1").HorizontalAlignment(), sheet::xlRight);
    EXPECT_NE(sheet().Range("B4").HorizontalAlignment(), sheet::xlRight);
}

TEST_F(PrimitivesTest, SetAlignmentSetsOnlyWhatItIsAskedFor)
{
    PutText("L1:M1", "week", true);
    SetAlignment(false, false, false);
    EXPECT_EQ(sheet().Range("L1").HorizontalAlignment(), sheet::xlGeneral);
    EXPECT_EQ(sheet().Range("L1").VerticalAlignment(), sheet::xlBottom);
    EXPECT_FALSE(sheet().Range("L1").WrapText());

    SetAlignment(true, false, true);
    EXPECT_EQ(sheet().Range("L1").HorizontalAlignment(), sheet::xlCenter);
    EXPECT_EQ(sheet().Range("L1").VerticalAlignment(), sheet::xlBottom);
    EXPECT_TRUE(sheet().Range("L1").WrapText());
    SetAlignment(false, true, false);
    EXPECT_EQ(sheet().Range("L1").VerticalAlignment(), sheet::xlCenter);

    PutText("L2:M2", "department", kMerge);
    SetAlignment(Align::CentreHorizontally | Align::Wrap);
    EXPECT_EQ(sheet().Range("L2").HorizontalAlignment(), sheet::xlCenter);
    EXPECT_EQ(sheet().Range("L2").VerticalAlignment(), sheet::xlBottom);
    EXPECT_TRUE(sheet().Range("L2").WrapText());
}

TEST_F(PrimitivesTest, TrappedPrimitivesReportUnderTheirOwnLabelAndGoOn)
{
    PutText("K1:K1", "x", true);
    SetFontAlignment(12345);
    const auto reports = errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].text.contains(app::errorSourceLabel("EmployeeShiftSchedule", "SetFontAlignment") + "at line 100"));
}

TEST_F(PrimitivesTest, RowHeightAndColumnWidthSelectWholeRowsAndColumns)
{
    SetRowHeight("5:7", 13);
    EXPECT_EQ(selection(), "5:7");
    EXPECT_EQ(sheet().Rows("6:6").RowHeight(), 13);
    EXPECT_NE(sheet().Rows("8:8").RowHeight(), 13);
    SetColumnWidth("C:C", 10.5);
    EXPECT_EQ(selection(), "C:C");
    EXPECT_EQ(sheet().Columns("C:C").ColumnWidth(), 10.5);
    EXPECT_NE(sheet().Columns("D:D").ColumnWidth(), 10.5);
}

TEST_F(PrimitivesTest, FillCellsWithoutARangeFillsTheSelection)
{
    FillCells("C6:L6", 15);
    EXPECT_EQ(selection(), "C6:L6");
    EXPECT_EQ(fill("C6"), 15);
    EXPECT_EQ(fill("L6"), 15);
    EXPECT_NE(fill("M6"), 15);
    PutText("D9:E9", "Cook", true);
    FillCells("", 34);
    EXPECT_EQ(fill("D9"), 34);
    EXPECT_EQ(fill("E9"), 34);
    EXPECT_EQ(selection(), "D9:E9");
}

TEST_F(PrimitivesTest, DrawBorder0MapsEachFlagToItsEdgeWhetherPassedAsBooleansOrNamed)
{
    // Flags in argument order: inside horizontal, left, right, top, bottom, inside vertical.
    const int edgeOfFlag[6] = {sheet::xlInsideHorizontal, sheet::xlEdgeLeft, sheet::xlEdgeRight,
                               sheet::xlEdgeTop,          sheet::xlEdgeBottom, sheet::xlInsideVertical};
    const Edge namedFlag[6] = {Edge::InsideHorizontal, Edge::Left, Edge::Right, Edge::Top, Edge::Bottom, Edge::InsideVertical};
    const int allEdges[6] = {sheet::xlEdgeLeft, sheet::xlEdgeTop, sheet::xlEdgeBottom,
                             sheet::xlEdgeRight, sheet::xlInsideVertical, sheet::xlInsideHorizontal};
    for (int flag = 0; flag < 6; ++flag) {
        const std::string row = std::to_string(3 + flag * 4) + ":";
        const std::string booleans = "C" + row + "E" + std::to_string(5 + flag * 4);
        const std::string named = "G" + row + "I" + std::to_string(5 + flag * 4);
        bool f[6] = {};
        f[flag] = true;
        DrawBorder0(QString::fromStdString(booleans), f[0], f[1], f[2], f[3], f[4], f[5], 48);
        EXPECT_EQ(selection(), sheet().Range(booleans).Address());
        DrawBorder0(QString::fromStdString(named), namedFlag[flag], 48);
        for (const std::string& range : {booleans, named}) {
            for (int edge : allEdges) {
                const bool drawn = sheet().Range(range).Borders(edge).LineStyle() == sheet::xlContinuous;
                EXPECT_EQ(drawn, edge == edgeOfFlag[flag]) << range << ": flag " << flag << ", edge " << edge;
            }
            EXPECT_EQ(sheet().Range(range).Borders(edgeOfFlag[flag]).ColorIndex(), 48);
        }
    }
    EXPECT_TRUE(errorReports().empty());
}

TEST_F(PrimitivesTest, DrawBorder0DrawsLeftTopBottomRightThenInsideHorizontalAndVertical)
{
    std::vector<std::pair<int, int>> drawn;
    setBorderObserver([&](int edge, int colour) { drawn.emplace_back(edge, colour); });
    DrawBorder0("C5:M7", true, true, true, true, true, true, 48);
    DrawBorder0("B5:B5", true, false, false, false, true, false, 16);
    DrawBorder0("B6:B7", false, false, false, false, false, false, 48);
    setBorderObserver({});
    const std::vector<std::pair<int, int>> expected{
        {sheet::xlEdgeLeft, 48},         {sheet::xlEdgeTop, 48},         {sheet::xlEdgeBottom, 48},
        {sheet::xlEdgeRight, 48},        {sheet::xlInsideHorizontal, 48}, {sheet::xlInsideVertical, 48},
        {sheet::xlEdgeBottom, 16},       {sheet::xlInsideHorizontal, 16}};
    EXPECT_EQ(drawn, expected);
    EXPECT_EQ(selection(), "B6:B7") << "no flags still selects the range";
    EXPECT_NE(lineStyle("B6:B7", sheet::xlEdgeBottom), sheet::xlContinuous);
}

TEST_F(PrimitivesTest, DrawBorder0OnARangeThatCannotBeSelectedDrawsOnThePreviousSelection)
{
    PutText("D4:D4", "x", true);
    DrawBorder0("IW1:IW1", false, false, false, false, true, false, 48);
    const auto reports = errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].text.contains(app::errorSourceLabel("EmployeeShiftSchedule", "DrawBorder0") + "at line 102"));
    EXPECT_EQ(lineStyle("D4:D4", sheet::xlEdgeBottom), sheet::xlContinuous);
}

TEST_F(PrimitivesTest, PrimitivesWithoutATrapPassFailuresToTheCaller)
{
    EXPECT_ANY_THROW(PutText("A0:B1", "x", true));
    EXPECT_ANY_THROW(SetRowHeight("0:0", 12));
    EXPECT_ANY_THROW(SetColumnWidth("IW:IW", 12));
    EXPECT_ANY_THROW(FillCells("nonsense", 15));
    ReleaseExcel();
    EXPECT_ANY_THROW(SetFont("bold", 12, 16));
    EXPECT_TRUE(errorReports().empty());
}

TEST_F(PrimitivesTest, PageSetupPrintsTheSheetOnOneLandscapeA4Page)
{
    PutText("B2:B2", "x", true);
    PrinterSetup0();
    EXPECT_TRUE(errorReports().empty());
    const sheet::SheetPageSetup setup = sheet().PageSetup();
    EXPECT_EQ(setup.PrintArea(), "");
    EXPECT_DOUBLE_EQ(setup.LeftMargin(), 50.4);
    EXPECT_DOUBLE_EQ(setup.RightMargin(), 50.4);
    EXPECT_DOUBLE_EQ(setup.TopMargin(), 36);
    EXPECT_DOUBLE_EQ(setup.BottomMargin(), 36);
    EXPECT_DOUBLE_EQ(setup.HeaderMargin(), 0);
    EXPECT_DOUBLE_EQ(setup.FooterMargin(), 0);
    EXPECT_EQ(setup.PrintComments(), sheet::xlPrintNoComments);
    EXPECT_EQ(setup.Orientation(), sheet::xlLandscape);
    EXPECT_EQ(setup.PaperSize(), sheet::xlPaperA4);
    EXPECT_FALSE(setup.Zoom().has_value());
    EXPECT_EQ(setup.FitToPagesWide(), 1);
    EXPECT_EQ(setup.FitToPagesTall(), 1);
}

TEST_F(PrimitivesTest, PageSetupFailuresAreEachReportedAndTheRestStillRuns)
{
    ReleaseExcel();
    PrinterSetup0();
    const auto reports = errorReports();
    ASSERT_EQ(reports.size(), 13u);
    EXPECT_TRUE(reports.front().text.contains(app::errorSourceLabel("EmployeeShiftSchedule", "PrinterSetup0") + "at line 100"));
    EXPECT_TRUE(reports.back().text.contains("at line 124"));
}

}  // namespace
