// What the weekly schedule sheet reads: the span of each weekday, the employees, and each
// employee's shifts with the employee's position.
#pragma once

#include "store/Connection.h"
#include "store/Weekday.h"

#include <QString>
#include <QTime>

#include <optional>
#include <vector>

namespace store {

// Earliest time in / latest time out of the weekday; nullopt when the weekday has no shift.
std::optional<QTime> dayStart(Connection& connection, Weekday day);
std::optional<QTime> dayEnd(Connection& connection, Weekday day);

struct ReportEmployee {
    qint64 id = 0;
    QString name;
};
// All employees in name order; the vector's size is the row count.
std::vector<ReportEmployee> reportEmployees(Connection& connection);

struct ReportShift {
    QTime timeIn;     // invalid when the field holds nothing
    QTime timeOut;    // invalid when the field holds nothing
    QString position;
};
// The employee's shifts on that weekday, in the order the database returns them.
std::vector<ReportShift> reportEmployeeShifts(Connection& connection, Weekday day, qint64 employeeId);

}  // namespace store
