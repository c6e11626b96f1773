// The week's hours as a plain function of the shifts: a shift through midnight, equal times, the
// quarter hours, each day's and the week's totals, and the table as CSV that Python's csv module
// reads back cell for cell.
#include "report/WeekHours.h"

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

using namespace report;
using store::DayShift;

TEST(WeekHours, ShiftsAddUpPerDayPerEmployeeAndOverTheWeek)
{
    EXPECT_EQ(shiftMinutes(QTime(9, 0), QTime(17, 15)), 495);
    EXPECT_EQ(shiftMinutes(QTime(22, 0), QTime(2, 0)), 240) << "through midnight";
    EXPECT_EQ(shiftMinutes(QTime(8, 0), QTime(8, 0)), 0) << "equal times count nothing";
    EXPECT_EQ(shiftMinutes(QTime(), QTime(8, 0)), 0);
    EXPECT_EQ(hoursText(0), "0:00");
    EXPECT_EQ(hoursText(45), "0:45");
    EXPECT_EQ(hoursText(24 * 60 + 15), "24:15");

    std::array<std::vector<DayShift>, 7> days;
    days[0] = {{1, 1, "Ann", QTime(9, 0), QTime(12, 15)}, {2, 2, "Bob", QTime(22, 0), QTime(1, 45)},
               {3, 1, "Ann", QTime(13, 0), QTime(13, 0)}, {4, 9, "Gone", QTime(8, 0), QTime(9, 0)}};
    days[6] = {{5, 1, "Ann", QTime(10, 30), QTime(11, 0)}};
    const WeekHours hours = weekHours({{1, "Ann"}, {2, "Bob"}, {3, "Cleo"}}, days);
    ASSERT_EQ(hours.employees.size(), 3u);
    EXPECT_EQ(hours.employees[0].minutes[0], 195);
    EXPECT_EQ(hours.employees[0].minutes[6], 30);
    EXPECT_EQ(hours.employees[0].week, 225);
    EXPECT_EQ(hours.employees[1].week, 225);
    EXPECT_EQ(hours.employees[2].week, 0) << "an employee without shifts still has a row";
    EXPECT_EQ(hours.dayTotals[0], 420) << "the shift of an employee not on the list is not counted";
    EXPECT_EQ(hours.weekTotal, 450);

    const auto table = hoursTable(hours);
    ASSERT_EQ(table.size(), 5u);
    EXPECT_EQ(table.front().front(), "Employee");
    EXPECT_EQ(table.front().back(), "Total");
    EXPECT_EQ(table[1], (std::vector<QString>{"Ann", "3:15", "0:00", "0:00", "0:00", "0:00", "0:00", "0:30", "3:45"}));
    EXPECT_EQ(table.back(), (std::vector<QString>{"Total", "7:00", "0:00", "0:00", "0:00", "0:00", "0:00", "0:30", "7:30"}));
}

TEST(WeekHours, TheCsvReadsBackCellForCellAndTheClipboardTextKeepsItsRows)
{
    const std::vector<std::vector<QString>> table{{"Employee", "Monday"},
                                                  {"Lee, \"Ann\"", "3:15"},
                                                  {"Two\nlines", "0:00"},
                                                  {"Émile Ø", "1:00"}};
    const QString text = csv(table);
    EXPECT_TRUE(text.endsWith("\r\n"));
    QProcess python;
    python.start("/usr/bin/python3",
                 {"-c", "import csv,io,sys,json; print(json.dumps(list(csv.reader(io.StringIO(sys.stdin.read(), newline='')))))"});
    ASSERT_TRUE(python.waitForStarted());
    python.write(text.toUtf8());
    python.closeWriteChannel();
    ASSERT_TRUE(python.waitForFinished());
    EXPECT_EQ(QString::fromUtf8(python.readAllStandardOutput()).trimmed(),
              QString::fromUtf8(R"([["Employee", "Monday"], ["Lee, \"Ann\"", "3:15"], ["Two\nlines", "0:00"], ["\u00c9mile \u00d8", "1:00"]])"));

    const QStringList rows = tabSeparated(table).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[2], "Two lines\t0:00");
}
