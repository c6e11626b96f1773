// The week's hours: for each employee the hours of each weekday and of the week, and each day's
// total, as a plain function of the shifts, and that table as text for a spreadsheet to take (tab-
// separated for the clipboard, CSV for a file). A shift's hours run from its time in to its time
// out; a time out before the time in runs through midnight; equal times count nothing.
#pragma once

#include "store/Connection.h"
#include "store/Employees.h"
#include "store/Shifts.h"
#include "store/Weekday.h"

#include <QString>
#include <QTime>

#include <array>
#include <vector>

namespace report {

// Minutes from `in` to `out`; 0 when either is no time.
int shiftMinutes(QTime in, QTime out);

// "h:mm": 450 minutes is "7:30", 0 is "0:00".
QString hoursText(int minutes);

struct EmployeeHours {
    qint64 id = 0;
    QString name;
    std::array<int, 7> minutes{};  // Monday to Sunday
    int week = 0;
};

struct WeekHours {
    std::vector<EmployeeHours> employees;  // in the roster's name order
    std::array<int, 7> dayTotals{};
    int weekTotal = 0;
};

// Every employee of the list gets a row, with or without shifts; shifts of others are not counted.
WeekHours weekHours(const std::vector<store::EmployeeEntry>& employees,
                    const std::array<std::vector<store::DayShift>, 7>& days);

// Read from the store in one reading.
WeekHours readWeekHours(store::Connection& connection);

// The table as rows of cells: a header row ("Employee", the weekdays, "Total"), one row per
// employee, and the totals row ("Total").
std::vector<std::vector<QString>> hoursTable(const WeekHours& hours);

// Cells joined by tabs, rows ended by line breaks.
QString tabSeparated(const std::vector<std::vector<QString>>& table);
// RFC 4180: fields with a comma, a quote or a line break quoted, quotes doubled, rows ended CRLF.
QString csv(const std::vector<std::vector<QString>>& table);

}  // namespace report
