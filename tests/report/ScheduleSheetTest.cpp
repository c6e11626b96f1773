// The weekly schedule sheet built from small rosters: the layout of the title and weekday blocks,
// the time columns per interval, the marking of shifts, "Sick", totals, colours and widths.
#include "tests/report/ReportFixture.h"

#include "report/Automation.h"
#include "report/ScheduleSheet.h"

#include "app/ErrorReport.h"

#include "sheet/model/A1.h"
#include "sheet/model/Constants.h"

#include "store/Connection.h"

#include <variant>

using namespace report::EmployeeShiftSchedule;
using report::Interval;
using report_testing::ReportTest;
using store::Weekday;

namespace {

class ScheduleSheetTest : public ReportTest {
protected:
    void build(Interval interval = Interval::Hourly, const QString& week = "Dec 7 - Dec 13",
               const QString& department = "Kitchen")
    {
        startWorkbook();
        GenerateReport(report::FixedScheduleInputs(week, department, interval));
    }
    static QString at(int column, int row) { return QString::fromStdString(sheet::columnLetters(column)) + QString::number(row); }
    QString cell(int column, int row) const { return text(at(column, row)); }
    int fillAt(int column, int row) const { return fill(at(column, row)); }
    double width(int column) const { return sheet().Cells(1, column).ColumnWidth(); }
    double height(int row) const { return sheet().Cells(row, 1).RowHeight(); }
    bool edge(const QString& range, int which) const
    {
        return sheet().Range(range.toStdString()).Borders(which).LineStyle() == sheet::xlContinuous;
    }
    // The columns of a row whose cell shows the text.
    std::vector<int> columnsShowing(int row, const QString& shown, int from = 3, int to = 60) const
    {
        std::vector<int> found;
        for (int c = from; c <= to; ++c)
            if (cell(c, row) == shown)
                found.push_back(c);
        return found;
    }
    // Five employees, Monday's earliest time in at 7:00. Monday rows: header 5, Ann 6, Bob 7,
    // Carl 8, Dana 9, Eve 10.
    void addMarkingRoster()
    {
        const qint64 ann = addEmployee("Ann", "Cook");
        const qint64 bob = addEmployee("Bob", "Waiter");
        const qint64 carl = addEmployee("Carl", "Porter");
        const qint64 dana = addEmployee("Dana", "Host");
        addEmployee("Eve", "Cashier");
        addShift(Weekday::Monday, ann, "07:00:00 AM", "03:00:00 PM");
        addShift(Weekday::Monday, bob, "07:00:00 AM", "09:00:00 AM");
        addShift(Weekday::Monday, carl, "07:30:00 AM", "09:30:00 AM");
        addShift(Weekday::Monday, dana, "07:00:00 AM", "08:00:00 AM");
        addShift(Weekday::Monday, dana, "12:00:00 PM", "01:00:00 PM");
    }
    static std::vector<int> span(int first, int last)
    {
        std::vector<int> out;
        for (int c = first; c <= last; ++c)
            out.push_back(c);
        return out;
    }
};

// The layout as a whole (widths, heights, merges, fonts, the frame) is held against the rules
// cell by cell in SampleRosterTest; these tests take the cases the sample roster does not have.
TEST_F(ScheduleSheetTest, WithoutShiftsEveryWeekdaySpansSevenToThreeHourlyAndEveryoneIsSick)
{
    addEmployee("Ann", "Cook");
    addEmployee("Bob", "Waiter");
    build();
    EXPECT_TRUE(errorReports().empty());

    // The title area's alignments.
    EXPECT_EQ(sheet().Range("K1").HorizontalAlignment(), sheet::xlRight);
    EXPECT_EQ(sheet().Range("L1").HorizontalAlignment(), sheet::xlCenter);
    EXPECT_EQ(sheet().Range("L1").VerticalAlignment(), sheet::xlBottom);
    EXPECT_TRUE(sheet().Range("L2").WrapText());

    const QStringList hours{"7:00:00 AM", "8:00:00 AM", "9:00:00 AM", "10:00:00 AM", "11:00:00 AM",
                            "12:00:00 PM", "1:00:00 PM", "2:00:00 PM", "3:00:00 PM"};
    const QStringList days{"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
    for (int d = 0; d < 7; ++d) {
        const int h = 5 + d * 4;  // two employees: each block takes four rows
        EXPECT_EQ(cell(2, h - 1), days[d]);
        for (int k = 0; k < 9; ++k)
            EXPECT_EQ(cell(3 + k, h), hours[k]) << days[d].toStdString();
        EXPECT_EQ(cell(12, h), "Sick?");
        EXPECT_EQ(cell(13, h), "TOTAL");
        for (int row : {h + 1, h + 2}) {
            EXPECT_EQ(cell(12, row), "Sick");
            EXPECT_EQ(cell(13, row), "0");
            for (int c = 3; c <= 13; ++c)
                EXPECT_EQ(fillAt(c, row), 15) << days[d].toStdString() << " row " << row << " column " << c;
        }
    }
}

TEST_F(ScheduleSheetTest, HourlyShiftsMarkTheirSlotsIncludingBothEnds)
{
    addMarkingRoster();
    build(Interval::Hourly);
    EXPECT_TRUE(errorReports().empty());
    EXPECT_EQ(columnsShowing(5, "Sick?"), std::vector<int>{12});
    EXPECT_EQ(columnsShowing(6, "Cook"), span(3, 11)) << "7:00 to 3:00 PM: nine cells";
    for (int c = 3; c <= 11; ++c)
        EXPECT_EQ(fillAt(c, 6), 34);
    EXPECT_EQ(cell(12, 6), "");
    EXPECT_EQ(cell(13, 6), "1");
    EXPECT_EQ(columnsShowing(7, "Waiter"), span(3, 5));
    EXPECT_EQ(fillAt(6, 7), sheet::xlColorIndexNone);
    EXPECT_EQ(fillAt(3, 7), 35);
    // Off the grid: nothing marked, still counted, not sick.
    for (int c = 3; c <= 12; ++c) {
        EXPECT_EQ(cell(c, 8), "") << c;
        EXPECT_EQ(fillAt(c, 8), sheet::xlColorIndexNone) << c;
    }
    EXPECT_EQ(cell(13, 8), "1");
    // Two shifts.
    EXPECT_EQ(columnsShowing(9, "Host"), (std::vector<int>{3, 4, 8, 9}));
    EXPECT_EQ(cell(13, 9), "2");
    // No shift: sick, greyed from the first time column to "Sick?".
    EXPECT_EQ(cell(12, 10), "Sick");
    EXPECT_EQ(cell(13, 10), "0");
    for (int c = 3; c <= 12; ++c)
        EXPECT_EQ(fillAt(c, 10), 15);
    EXPECT_EQ(fillAt(13, 10), 15) << "the total column is grey on every row";
    EXPECT_EQ(fillAt(13, 6), 15);
}

TEST_F(ScheduleSheetTest, HalfHourStepsMarkFiveCellsFromSevenToNine)
{
    addMarkingRoster();
    build(Interval::HalfHour);
    EXPECT_EQ(columnsShowing(5, "Sick?"), std::vector<int>{3 + 17});
    EXPECT_EQ(cell(4, 5), "7:30:00 AM");
    EXPECT_EQ(columnsShowing(7, "Waiter"), span(3, 7));
    EXPECT_EQ(columnsShowing(6, "Cook"), span(3, 19));
    // 7:30 lies on the half-hour grid.
    EXPECT_EQ(columnsShowing(8, "Porter"), span(4, 8));
}

TEST_F(ScheduleSheetTest, QuarterHourStepsMarkNineCellsFromSevenToNine)
{
    addMarkingRoster();
    build(Interval::FifteenMinutes);
    EXPECT_EQ(columnsShowing(5, "Sick?", 3, 80), std::vector<int>{3 + 33});
    EXPECT_EQ(cell(4, 5), "7:15:00 AM");
    EXPECT_EQ(columnsShowing(7, "Waiter", 3, 80), span(3, 11));
    EXPECT_EQ(columnsShowing(9, "Host", 3, 80).size(), 10u);
}

TEST_F(ScheduleSheetTest, EveryShiftCountsEvenPastSixteenBitsOrWithoutAReadableTimeIn)
{
    const qint64 ann = addEmployee("Ann", "Cook");
    const qint64 bob = addEmployee("Bob", "Waiter");
    const qint64 cy = addEmployee("Cy", "Porter");
    const qint64 dee = addEmployee("Dee", "Host");
    addShift(Weekday::Monday, bob, "07:00:00 AM", "08:00:00 AM");  // the grid starts at 7:00
    // Off the grid, so they count without marking: 32,768 for Ann and 65,536 for Cy.
    const auto repeatShift = [](qint64 employee, int times) {
        store::shared().execute(QStringLiteral("insert into tblShiftMonday (fldEmpID, fldTimeIn, fldTimeOut) "
                                               "with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
                                               "select %2, '07:30:00', '07:30:00' from n")
                                    .arg(times)
                                    .arg(employee));
    };
    repeatShift(ann, 32768);
    repeatShift(cy, 65536);
    // Dee's two shifts have no time in: none stored, and an empty text.
    store::shared().execute(QStringLiteral("insert into tblShiftMonday (fldEmpID, fldTimeIn, fldTimeOut) values "
                                           "(%1, null, '09:00:00'), (%1, '', '09:00:00')").arg(dee));
    // Eve's first shift holds a text that is no time; her second one still marks its slot.
    const qint64 eve = addEmployee("Eve", "Usher");
    store::shared().execute(QStringLiteral("insert into tblShiftMonday (fldEmpID, fldTimeIn, fldTimeOut) values "
                                           "(%1, 'soon', '09:00:00'), (%1, '08:00:00', '08:00:00')").arg(eve));
    build();

    // Rows: header 5, Ann 6, Bob 7, Cy 8, Dee 9; time columns C to E (7:00 to 9:00), "Sick?" in F,
    // "TOTAL" in G.
    EXPECT_EQ(text("G6"), "32768");
    EXPECT_EQ(text("G7"), "1");
    EXPECT_EQ(text("G8"), "65536");
    EXPECT_EQ(text("G9"), "2");
    EXPECT_EQ(text("G10"), "2");
    EXPECT_EQ(text("D10"), "Usher");
    EXPECT_EQ(text("F10"), "");
    for (const QString row : {"6", "8", "9"}) {
        EXPECT_EQ(text("F" + row), "") << "not sick in row " << row.toStdString();
        for (const QString column : {"C", "D", "E"})
            EXPECT_EQ(fill(column + row), sheet::xlColorIndexNone) << "nothing marked in row " << row.toStdString();
    }
    // Each unreadable time in is reported at the statement that reads it, in plain words.
    const auto reports = errorReports();
    ASSERT_EQ(reports.size(), 3u);
    for (const auto& report : reports) {
        EXPECT_TRUE(report.text.startsWith("A shift of Dee on Monday has no time in that can be read.") ||
                    report.text.startsWith("A shift of Eve on Monday has no time in that can be read."))
            << report.text.toStdString();
        EXPECT_TRUE(report.text.contains(app::errorSourceLabel("EmployeeShiftSchedule", "GenerateReport") + "at line 246\r\r"));
    }
}

TEST_F(ScheduleSheetTest, EveryEmployeeKeepsOneColourOnEveryWeekdayAndTheColoursRepeatAfterTwentyThree)
{
    std::vector<qint64> ids;
    store::shared().execute("begin");
    for (int i = 1; i <= 24; ++i)
        ids.push_back(addEmployee(QStringLiteral("E%1").arg(i, 2, 10, QLatin1Char('0')), "Staff"));
    for (Weekday day : store::allWeekdays)
        for (qint64 id : ids)
            addShift(day, id, "07:00:00 AM", "08:00:00 AM");
    store::shared().execute("commit");
    build();
    EXPECT_TRUE(errorReports().empty());
    for (int d = 0; d < 7; ++d) {
        const int h = 5 + d * 26;
        EXPECT_EQ(cell(2, h + 1), "E01");
        EXPECT_EQ(fillAt(3, h + 1), 34) << d;
        EXPECT_EQ(fillAt(4, h + 1), 34) << d;
        EXPECT_EQ(fillAt(3, h + 2), 35) << d;
        EXPECT_EQ(fillAt(3, h + 23), 56) << d;
        EXPECT_EQ(fillAt(3, h + 24), 34) << d;
        EXPECT_EQ(cell(3, h + 24), "Staff");
    }
    EXPECT_EQ(EmployeeColorIndex(0), 34);
    EXPECT_EQ(EmployeeColorIndex(22), 56);
    EXPECT_EQ(EmployeeColorIndex(23), 34);
}

TEST_F(ScheduleSheetTest, ANarrowerWeekdayLeavesTheWidthsAndAWiderOneSetsItsOwn)
{
    const qint64 ann = addEmployee("Ann", "Cook");
    addShift(Weekday::Monday, ann, "07:00:00 AM", "03:00:00 PM");     // C..K, "Sick?" in L
    addShift(Weekday::Tuesday, ann, "09:00:00 AM", "11:00:00 AM");    // C..E, "Sick?" in F
    addShift(Weekday::Wednesday, ann, "06:00:00 AM", "06:00:00 PM");  // C..O, "Sick?" in P
    build();
    EXPECT_TRUE(errorReports().empty());
    const int tuesday = 5 + 3;
    const int wednesday = tuesday + 3;
    EXPECT_EQ(cell(6, tuesday), "Sick?");
    EXPECT_EQ(cell(7, tuesday), "TOTAL");
    EXPECT_EQ(cell(7, tuesday + 1), "1");
    EXPECT_EQ(cell(16, wednesday), "Sick?");
    EXPECT_EQ(cell(17, wednesday), "TOTAL");
    for (int c = 3; c <= 15; ++c)
        EXPECT_EQ(width(c), 10.5) << c;
    EXPECT_EQ(width(16), 7.43);
    EXPECT_EQ(width(17), 6.14);
    EXPECT_EQ(width(18), 0.75);
    // Thursday to Sunday have no shifts: nine columns again, narrower than Wednesday.
    EXPECT_EQ(cell(12, wednesday + 3), "Sick?");
}

TEST_F(ScheduleSheetTest, NamesakesGetARowEachInTheDatabasesOrder)
{
    const qint64 first = addEmployee("Sam", "Cook");
    const qint64 second = addEmployee("Sam", "Waiter");
    addShift(Weekday::Monday, first, "07:00:00 AM", "08:00:00 AM");
    addShift(Weekday::Monday, second, "10:00:00 AM", "11:00:00 AM");
    build();
    EXPECT_EQ(cell(2, 6), "Sam");
    EXPECT_EQ(cell(2, 7), "Sam");
    EXPECT_EQ(columnsShowing(6, "Cook"), span(3, 4));
    EXPECT_EQ(columnsShowing(7, "Waiter"), span(6, 7));
    EXPECT_EQ(fillAt(3, 6), 34);
    EXPECT_EQ(fillAt(6, 7), 35);
}

TEST_F(ScheduleSheetTest, AnEmptyEmployeeTableDrawsTitlesAndHeadersOnly)
{
    build();
    EXPECT_TRUE(errorReports().empty());
    for (int d = 0; d < 7; ++d) {
        const int h = 5 + d * 2;
        EXPECT_EQ(cell(3, h), "7:00:00 AM");
        EXPECT_EQ(cell(12, h), "Sick?");
        EXPECT_EQ(height(h + 1), 12);
        EXPECT_EQ(height(h + 2), 5);
        EXPECT_FALSE(edge(at(2, h) + ":" + at(2, h), sheet::xlEdgeBottom));
        EXPECT_FALSE(edge(at(3, h) + ":" + at(13, h), sheet::xlEdgeLeft));
    }
    EXPECT_EQ(text("B6"), "Tuesday");
    EXPECT_EQ(text("B16"), "Sunday");
    EXPECT_EQ(sheet().UsedRange().Rows().count() + sheet().UsedRange().Row() - 1, 17);
}

TEST_F(ScheduleSheetTest, AWeekdayEndingBeforeItStartsHasNoTimeColumns)
{
    const qint64 ann = addEmployee("Ann", "Night porter");
    addShift(Weekday::Monday, ann, "10:00:00 PM", "06:00:00 AM");
    build();
    EXPECT_TRUE(errorReports().empty());
    EXPECT_EQ(text("C5"), "Sick?");
    EXPECT_EQ(text("D5"), "TOTAL");
    EXPECT_EQ(text("C6"), "") << "the overnight shift counts, so Ann is not sick";
    EXPECT_EQ(text("D6"), "1");
    // Tuesday is wider and sets its own widths.
    EXPECT_EQ(text("L8"), "Sick?");
    EXPECT_EQ(width(3), 10.5);
    EXPECT_EQ(width(12), 7.43);
}

TEST_F(ScheduleSheetTest, NamesPositionsAndHeaderTextsStayText)
{
    const qint64 formula = addEmployee("=1+1", "+5");
    const qint64 number = addEmployee("2", "-3");
    const qint64 time = addEmployee("7:00:00 AM", "=SUM(A1:A2)");
    for (qint64 id : {formula, number, time})
        addShift(Weekday::Monday, id, "07:00:00 AM", "07:00:00 AM");
    build(Interval::Hourly, "=NOW()", "12");
    const auto isText = [&](const char* address, const char* expected) {
        const sheet::CellValue value = sheet().Range(address).Value();
        EXPECT_EQ(value, sheet::CellValue(std::string(expected))) << address;
    };
    // Name order: "2", "7:00:00 AM", "=1+1".
    isText("B6", "2");
    isText("C6", "-3");
    isText("B7", "7:00:00 AM");
    isText("C7", "=SUM(A1:A2)");
    isText("B8", "=1+1");
    isText("C8", "+5");
    isText("L1", "=NOW()");
    isText("L2", "12");
    // Built-in values stay values: the total is a number, the header a time.
    EXPECT_EQ(text("D5"), "Sick?") << "one time column for a zero-length day";
    EXPECT_EQ(sheet().Range("E6").Value(), sheet::CellValue(1.0));
    EXPECT_TRUE(std::holds_alternative<double>(sheet().Range("C5").Value()));
}

TEST_F(ScheduleSheetTest, AFailingStatementIsReportedAndTheBuildGoesOn)
{
    addEmployee("Ann", "Cook");
    store::shared().close();
    build();
    const auto reports = errorReports();
    ASSERT_FALSE(reports.empty());
    for (const auto& report : reports)
        EXPECT_TRUE(report.text.contains(app::errorSourceLabel("EmployeeShiftSchedule", "GenerateReport") + "at line "));
    // Without the database every weekday spans the default hours and has no employees.
    EXPECT_EQ(text("B1"), "Shift Schedule");
    EXPECT_EQ(text("B16"), "Sunday");
    EXPECT_EQ(text("C17"), "7:00:00 AM");
    EXPECT_EQ(sheet().PageSetup().Orientation(), sheet::xlLandscape) << "the page setup still runs";
}

}  // namespace
