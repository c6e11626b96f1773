// Shift records of one weekday on a connection.
#include "store/Shifts.h"

#include "store/RowValues.h"
#include "store/StoreError.h"
#include "store/Statements.h"
#include "store/TimeText.h"

namespace store {

bool shiftOverlaps(Connection& connection, Weekday day, qint64 employeeId, const QString& timeIn,
                   const QString& timeOut)
{
    return !connection.query(sql::shiftOverlap(day, employeeId, timeIn, timeOut)).empty();
}

qint64 insertShift(Connection& connection, Weekday day, qint64 employeeId, const QString& timeIn,
                   const QString& timeOut)
{
    // Another planner may have deleted the employee since this one's list was filled; a shift
    // stored now would belong to nobody. Inside the change's transaction the answer holds until
    // the insert.
    if (connection.query(sql::employeePresent(employeeId)).front().value(0).toLongLong() == 0)
        throw EmployeeNotOnRoster(QStringLiteral("Nothing was stored: employee %1 is no longer on the roster; another planner "
                                        "may have deleted them.")
                             .arg(employeeId));
    return connection.insert(sql::shiftInsert(day, employeeId, timeIn, timeOut), shiftTableName(day));
}

std::vector<ShiftListEntry> listShifts(Connection& connection, Weekday day)
{
    std::vector<ShiftListEntry> shifts;
    for (const Row& row : connection.query(sql::shiftList(day))) {
        shifts.push_back({identifierAt(row, 0), row.value(1).toString(), displayTextFromStored(row.value(2)),
                          displayTextFromStored(row.value(3))});
    }
    return shifts;
}

std::vector<DayShift> dayShifts(Connection& connection, Weekday day)
{
    const auto timeOrNone = [](const QVariant& field) {
        try {
            return timeFromStored(field);
        } catch (const StoreError&) {
            return QTime();
        }
    };
    std::vector<DayShift> shifts;
    for (const Row& row : connection.query(sql::dayShifts(connection.engine(), day)))
        shifts.push_back({identifierAt(row, 0), identifierAt(row, 1), row.value(2).toString(), timeOrNone(row.value(3)),
                          timeOrNone(row.value(4))});
    return shifts;
}

void deleteShift(Connection& connection, Weekday day, qint64 shiftId)
{
    connection.execute(sql::shiftDelete(day, shiftId));
}

}  // namespace store
