// Employee records on a connection.
#include "store/Employees.h"

#include "store/RowValues.h"
#include "store/Statements.h"

namespace store {

std::vector<EmployeeEntry> listEmployees(Connection& connection)
{
    std::vector<EmployeeEntry> employees;
    // "select *" is read by position: the identifier first, then the name.
    for (const Row& row : connection.query(sql::employeeList(connection.engine())))
        employees.push_back({identifierAt(row, 0), row.value(1).toString()});
    return employees;
}

qint64 insertEmployee(Connection& connection, const QString& name, const QString& position)
{
    return connection.insert(sql::employeeInsert(name, position), QStringLiteral("tblEmployee"));
}

void deleteEmployee(Connection& connection, qint64 employeeId)
{
    connection.execute(sql::employeeDelete(employeeId));
}

void deleteEmployeeShifts(Connection& connection, Weekday day, qint64 employeeId)
{
    connection.execute(sql::employeeShiftsDelete(day, employeeId));
}

std::optional<EmployeeDetails> employeeDetails(Connection& connection, qint64 employeeId)
{
    const Rows rows = connection.query(sql::employeeDetails(employeeId));
    if (rows.empty())
        return std::nullopt;
    return EmployeeDetails{rows.front().value(0).toString(), rows.front().value(1).toString()};
}

std::optional<qint64> findEmployee(Connection& connection, const QString& name, const QString& position)
{
    const Rows rows = connection.query(sql::employeeLookup(connection.engine(), name, position));
    if (rows.empty())
        return std::nullopt;
    return identifierAt(rows.front(), 0);
}

}  // namespace store
