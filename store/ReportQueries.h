// What the weekly schedule sheet reads: the span of each weekday, the employees, and each
// employee's shifts with the employee's position.
#pragma once

#include "store/Connection.h"
#include "store/Weekday.h"

#include <QString>
#include <QTime>

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace store {

// One reading of the whole schedule. Its reads, and any other read on the connection while it
// lasts, run in one transaction that only reads, ended with the reading: the sheet shows one
// state of the roster, and the database is locked once rather than once per statement. A weekday's
// shifts are read once, on the first employee asked for, and every employee of that day is served
// from that read; the employee list is read once too, and on the file so are the employees'
// positions, and a weekday's latest time out with its earliest time in. Inside a
// transaction the caller began, the reads run in that one. A read that fails does not take the
// reads after it along: they run in a new transaction.
struct ReportShift {
    QTime timeIn;     // invalid when the field holds nothing or no time of day
    QTime timeOut;    // invalid when the field holds nothing or no time of day
    QString position;
};

struct ReportEmployee {
    qint64 id = 0;
    QString name;
};

struct DayShifts;
struct EmployeeNumbers;

class ReportReading {
public:
    explicit ReportReading(Connection& connection);
    ~ReportReading();
    ReportReading(const ReportReading&) = delete;
    ReportReading& operator=(const ReportReading&) = delete;

private:
    friend struct ReportReads;

    Connection& begun();
    // After a failed read: the transaction and the statements go, and the next read begins anew
    // (on a server, a failed statement has ended the transaction; a lost connection is made again).
    void restart() noexcept;

    Connection& connection_;
    bool began_ = false;
    std::optional<PreparedQuery> employees_;
    // The employee list, once read: every weekday lists the same employees.
    std::optional<std::vector<ReportEmployee>> employeeList_;
    // Each weekday's shifts by employee, once read.
    std::array<std::unique_ptr<const DayShifts>, allWeekdays.size()> dayShifts_;
    // On the file: every employee's position, once read; null where the weekdays are read with
    // their employees' positions instead (ReportQueries.cpp).
    std::optional<std::shared_ptr<const EmployeeNumbers>> positions_;
    // On the file: each weekday's latest time out as stored, read with its earliest time in.
    std::array<std::optional<QVariant>, allWeekdays.size()> dayEnds_;
};

// Earliest time in / latest time out of the weekday; nullopt when the weekday has no shift.
std::optional<QTime> dayStart(ReportReading& reading, Weekday day);
std::optional<QTime> dayEnd(ReportReading& reading, Weekday day);

// All employees in name order; the vector's size is the row count.
std::vector<ReportEmployee> reportEmployees(ReportReading& reading);

// The employee's shifts on that weekday, in the order the database returns them.
std::vector<ReportShift> reportEmployeeShifts(ReportReading& reading, Weekday day, qint64 employeeId);

// The same reads on their own, each in a reading of its own.
std::optional<QTime> dayStart(Connection& connection, Weekday day);
std::optional<QTime> dayEnd(Connection& connection, Weekday day);
std::vector<ReportEmployee> reportEmployees(Connection& connection);
std::vector<ReportShift> reportEmployeeShifts(Connection& connection, Weekday day, qint64 employeeId);

}  // namespace store
