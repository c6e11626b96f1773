// The roster's rules that read and then write, each one function that owns its transaction (see
// WriteTransaction.h) and returns what happened, on either store. Their stages run through the
// caller's RuleSteps; the stage numbers of each rule are named here, for the caller to map onto its
// own steps. A rule whose stage failed stores nothing. Begun inside a larger change (the sample
// load), a rule is a part of it. Given a ChangeRecord, a rule records the rows it changed there,
// so that the change can be taken back.
#pragma once

#include "store/ChangeRecord.h"
#include "store/Connection.h"
#include "store/RuleSteps.h"
#include "store/Weekday.h"

#include <QString>
#include <QTime>

#include <functional>
#include <utility>
#include <vector>

namespace store {

// The employee a rule is about, asked for by the stage that needs it: a look-up that fails (nobody
// selected) fails that stage.
using EmployeeLookUp = std::function<qint64()>;

// A new shift, each part asked for by the stage that needs it, as the employee is.
struct ShiftLookUp {
    EmployeeLookUp employee;
    std::function<QString()> timeIn;   // list text
    std::function<QString()> timeOut;  // list text
};

// ---- adding a shift ------------------------------------------------------------------------

enum class ShiftAdding {
    Added,
    Overlaps,      // the employee has a shift that day that the new one collides with
    EmployeeGone,  // the employee is no longer on the roster (another planner deleted them); no stage failed
    NotStored,     // a stage failed
};

namespace add_shift {
inline constexpr int kReadShifts = 0;  // the overlap query
inline constexpr int kDecide = 1;      // whether the shift is free, from what was read
inline constexpr int kInsert = 2;      // the insert, and the keeping of the change after it
}  // namespace add_shift

// The overlap test of shiftOverlaps against the employee's shifts that day, then the insert.
ShiftAdding addShift(Connection& connection, Weekday day, const ShiftLookUp& shift, RuleSteps& steps,
                     ChangeRecord* record = nullptr);

namespace place_shift {
inline constexpr int kDecide = 0;  // the overlap query and the decision, as one stage
inline constexpr int kInsert = 1;  // the insert, and the keeping of the change after it
}  // namespace place_shift

// The same with the read and the decision as one stage, as the sample load checks.
ShiftAdding addShiftUnlessOverlapping(Connection& connection, Weekday day, const ShiftLookUp& shift,
                                      RuleSteps& steps);

// ---- adding an employee unless present -----------------------------------------------------

enum class EmployeeAdding { Added, AlreadyThere, NotStored };

namespace add_employee {
inline constexpr int kLookUp = 0;  // whether an employee with this name and position exists
inline constexpr int kInsert = 1;  // the insert, and the keeping of the change after it
}  // namespace add_employee

EmployeeAdding addEmployeeUnlessPresent(Connection& connection, const QString& name, const QString& position,
                                        RuleSteps& steps);

// ---- copying and clearing a day ------------------------------------------------------------

// A shift of the day copied, or left out, with its employee.
struct CopiedShift {
    QString employee;
    QTime timeIn;
    QTime timeOut;
    Weekday day;  // the day it was to go to
};

struct DayCopy {
    Weekday from = Weekday::Monday;
    std::vector<std::pair<Weekday, int>> copied;  // for each day copied to, in the order asked, how many
    std::vector<CopiedShift> skipped;             // would have overlapped a shift there, or has no times
};

// One change: every shift of `from` copied to each day of `to` (`from` itself is left out), each
// unless it would overlap (the inclusive test of shiftOverlaps) a shift of its employee already
// on that day, copies made before it included. Throws StoreError, storing nothing, when a
// statement fails.
DayCopy copyDay(Connection& connection, Weekday from, const std::vector<Weekday>& to, ChangeRecord* record = nullptr);

// One change: deletes every shift of the day; returns how many there were.
int clearDay(Connection& connection, Weekday day, ChangeRecord* record = nullptr);

// ---- deleting an employee with its shifts --------------------------------------------------

enum class EmployeeRemoval { Removed, NotStored };

namespace remove_employee {
inline constexpr int kEmployee = 0;  // the employee's row
// kEmployee + 1 + weekdayIndex(day): the employee's shifts of that weekday, Monday to Sunday; the
// Sunday stage also keeps the change.
inline constexpr int kShiftsOf(Weekday day) { return 1 + static_cast<int>(day); }
}  // namespace remove_employee

// The employee and its shifts on every weekday, all or nothing.
EmployeeRemoval removeEmployee(Connection& connection, const EmployeeLookUp& employee, RuleSteps& steps,
                               ChangeRecord* record = nullptr);

// ---- the planner's own changes, one change each --------------------------------------------

// Stores a new employee; returns the identifier.
qint64 addEmployee(Connection& connection, const QString& name, const QString& position, ChangeRecord* record = nullptr);

enum class EmployeeEditing { Changed, EmployeeGone };
EmployeeEditing editEmployee(Connection& connection, qint64 employeeId, const QString& name, const QString& position,
                             ChangeRecord* record = nullptr);

enum class ShiftEditing { Changed, Overlaps, ShiftGone };
// New times for a stored shift, refused when they overlap (the inclusive test of shiftOverlaps)
// another shift of its employee that day.
ShiftEditing editShift(Connection& connection, Weekday day, qint64 shiftId, const QString& timeIn,
                       const QString& timeOut, ChangeRecord* record = nullptr);

// Deletes one shift; false when it was gone already.
bool removeShift(Connection& connection, Weekday day, qint64 shiftId, ChangeRecord* record = nullptr);

}  // namespace store
