// Employee records: the list, adding, deleting, and the look-up by name and position.
// Each function runs one statement on the given connection and throws StoreError when it fails.
#pragma once

#include "store/Connection.h"
#include "store/Weekday.h"

#include <QString>

#include <optional>
#include <vector>

namespace store {

struct EmployeeEntry {
    qint64 id = 0;
    QString name;
};

// All employees in name order as the database orders it (names compare without regard to case).
std::vector<EmployeeEntry> listEmployees(Connection& connection);

// Stores name and position exactly as given; returns the new employee's identifier.
qint64 insertEmployee(Connection& connection, const QString& name, const QString& position);

// Removes the employee row only.
void deleteEmployee(Connection& connection, qint64 employeeId);
// Removes the employee's shifts on one weekday. Deleting an employee takes deleteEmployee followed
// by this for Monday..Sunday, each statement on its own.
void deleteEmployeeShifts(Connection& connection, Weekday day, qint64 employeeId);

struct EmployeeDetails {
    QString name;
    QString position;
};
// The employee's name and position; nullopt when the employee is not on the roster.
std::optional<EmployeeDetails> employeeDetails(Connection& connection, qint64 employeeId);

// The identifier of the first employee with exactly this name and position (compared without
// regard to case), or nullopt.
std::optional<qint64> findEmployee(Connection& connection, const QString& name, const QString& position);

}  // namespace store
