// Shift records of one weekday: the overlap test, adding, listing and deleting.
// Times are passed as list texts ("09:00:00 AM") and stored as 'HH:MM:SS'.
#pragma once

#include "store/Connection.h"
#include "store/StoreError.h"
#include "store/Weekday.h"

#include <QString>
#include <QTime>

#include <vector>

namespace store {

// True when the employee already has a shift on that weekday that the new one collides with:
// a stored shift SI..SO collides when (SI <= in and SO >= in) or (SI <= out and SO >= in).
// Inclusive ends, plain times of day, no wrap-around at midnight.
bool shiftOverlaps(Connection& connection, Weekday day, qint64 employeeId, const QString& timeIn,
                   const QString& timeOut);

// The failure of a change for an employee who is not on the roster (any more).
class EmployeeNotOnRoster : public StoreError {
public:
    using StoreError::StoreError;
};

// Stores the shift unchanged (also when out is earlier than in); returns its identifier. Refuses,
// storing nothing, a shift for an employee who is not on the roster (EmployeeNotOnRoster).
qint64 insertShift(Connection& connection, Weekday day, qint64 employeeId, const QString& timeIn,
                   const QString& timeOut);

struct ShiftListEntry {
    qint64 id = 0;
    QString employeeName;
    QString timeIn;   // display text "h:mm:ss AM/PM"
    QString timeOut;  // display text; empty when the field holds nothing
};

// The weekday's shifts of all employees, earliest time in first. Shifts whose employee no longer
// exists are not listed.
std::vector<ShiftListEntry> listShifts(Connection& connection, Weekday day);

void deleteShift(Connection& connection, Weekday day, qint64 shiftId);

// A weekday's shift as stored, with its employee.
struct DayShift {
    qint64 id = 0;
    qint64 employeeId = 0;
    QString employeeName;
    QTime timeIn;   // invalid when the field holds nothing or no time of day
    QTime timeOut;  // invalid when the field holds nothing or no time of day
};
// The weekday's shifts of the employees on the roster, by employee name, then time in.
std::vector<DayShift> dayShifts(Connection& connection, Weekday day);

}  // namespace store
