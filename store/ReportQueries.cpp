// The schedule sheet's reads on a connection.
#include "store/ReportQueries.h"

#include "store/RowValues.h"
#include "store/Statements.h"
#include "store/TimeText.h"

namespace store {

namespace {

// An aggregate over no rows is null: the weekday has no time of its own.
std::optional<QTime> aggregateTime(Connection& connection, const QString& statement)
{
    const Rows rows = connection.query(statement);
    if (rows.empty())
        return std::nullopt;
    const QTime time = timeFromStored(rows.front().value(0));
    if (!time.isValid())
        return std::nullopt;
    return time;
}

}  // namespace

std::optional<QTime> dayStart(Connection& connection, Weekday day)
{
    return aggregateTime(connection, sql::dayStart(day));
}

std::optional<QTime> dayEnd(Connection& connection, Weekday day)
{
    return aggregateTime(connection, sql::dayEnd(day));
}

std::vector<ReportEmployee> reportEmployees(Connection& connection)
{
    std::vector<ReportEmployee> employees;
    for (const Row& row : connection.query(sql::reportEmployeeList()))
        employees.push_back({identifierAt(row, QStringLiteral("fldid")), row.value(QStringLiteral("fldName")).toString()});
    return employees;
}

std::vector<ReportShift> reportEmployeeShifts(Connection& connection, Weekday day, qint64 employeeId)
{
    std::vector<ReportShift> shifts;
    for (const Row& row : connection.query(sql::reportEmployeeShifts(day, employeeId))) {
        shifts.push_back({timeFromStored(row.value(QStringLiteral("fldtimein"))),
                          timeFromStored(row.value(QStringLiteral("fldtimeout"))),
                          row.value(QStringLiteral("fldPosition")).toString()});
    }
    return shifts;
}

}  // namespace store
