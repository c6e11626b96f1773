// Shift records of one weekday on a connection.
#include "store/Shifts.h"

#include "store/RowValues.h"
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

void deleteShift(Connection& connection, Weekday day, qint64 shiftId)
{
    connection.execute(sql::shiftDelete(day, shiftId));
}

}  // namespace store
