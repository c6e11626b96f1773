// The rules that read and then write, each in its own write transaction.
#include "store/RosterRules.h"

#include "store/Employees.h"
#include "store/Shifts.h"
#include "store/Statements.h"
#include "store/StoreError.h"
#include "store/TimeText.h"
#include "store/WriteTransaction.h"

#include <optional>

namespace store {
namespace {

std::optional<qint64> knownEmployee(const EmployeeLookUp& lookUp)
{
    try {
        return lookUp();
    } catch (...) {
        return std::nullopt;
    }
}

// A change's stages: whether any failed, and the change kept at the end of the last stage reached
// only when none did (a failed keep is that stage's failure).
class Change {
public:
    Change(Connection& connection, WriteRule rule, RuleSteps& steps, std::optional<qint64> employee = std::nullopt)
        : transaction_(connection, rule, employee), steps_(steps)
    {
    }
    bool run(int stage, const std::function<void()>& work)
    {
        const bool done = steps_.run(stage, work);
        failed_ = failed_ || !done;
        return done;
    }
    bool test(int stage, const std::function<bool()>& condition)
    {
        bool failed = false;
        const bool result = steps_.test(stage, [&] {
            try {
                return condition();
            } catch (...) {
                failed = true;
                throw;
            }
        });
        failed_ = failed_ || failed;
        return result;
    }
    // True when the change was kept.
    bool end(int lastStage)
    {
        if (failed_) {
            transaction_.rollback();
            return false;
        }
        return run(lastStage, [&] { transaction_.commit(); });
    }

private:
    WriteTransaction transaction_;
    RuleSteps& steps_;
    bool failed_ = false;
};

ShiftAdding insertIfFree(Change& change, bool free, int decidedAt, int insertAt, Connection& connection, Weekday day,
                         const ShiftLookUp& shift)
{
    bool gone = false;
    if (free)
        change.run(insertAt, [&] {
            try {
                insertShift(connection, day, shift.employee(), shift.timeIn(), shift.timeOut());
            } catch (const EmployeeNotOnRoster&) {
                gone = true;
                throw;
            }
        });
    const bool kept = change.end(free ? insertAt : decidedAt);
    if (!free)
        return ShiftAdding::Overlaps;
    if (gone)
        return ShiftAdding::EmployeeGone;
    return kept ? ShiftAdding::Added : ShiftAdding::NotStored;
}

}  // namespace

ShiftAdding addShift(Connection& connection, Weekday day, const ShiftLookUp& shift, RuleSteps& steps)
{
    // No other planner's shift for this employee can come between the check and the insert.
    Change change(connection, WriteRule::AddShift, steps, knownEmployee(shift.employee));
    std::optional<bool> collides;
    change.run(add_shift::kReadShifts, [&] {
        collides = shiftOverlaps(connection, day, shift.employee(), shift.timeIn(), shift.timeOut());
    });
    const bool free = change.test(add_shift::kDecide, [&] {
        if (!collides)
            throw StoreError(QStringLiteral("The employee's shifts could not be read, so whether the new one overlaps them is unknown."));
        return !*collides;
    });
    return insertIfFree(change, free, add_shift::kDecide, add_shift::kInsert, connection, day, shift);
}

ShiftAdding addShiftUnlessOverlapping(Connection& connection, Weekday day, const ShiftLookUp& shift,
                                      RuleSteps& steps)
{
    Change change(connection, WriteRule::AddShift, steps, knownEmployee(shift.employee));
    const bool free = change.test(place_shift::kDecide, [&] {
        return !shiftOverlaps(connection, day, shift.employee(), shift.timeIn(), shift.timeOut());
    });
    return insertIfFree(change, free, place_shift::kDecide, place_shift::kInsert, connection, day, shift);
}

EmployeeAdding addEmployeeUnlessPresent(Connection& connection, const QString& name, const QString& position,
                                        RuleSteps& steps)
{
    // Another copy adding the same employee at the same time adds it once.
    Change change(connection, WriteRule::AddEmployee, steps);
    const bool missing = change.test(add_employee::kLookUp, [&] {
        return !findEmployee(connection, name, position).has_value();
    });
    if (missing)
        change.run(add_employee::kInsert, [&] { insertEmployee(connection, name, position); });
    const bool kept = change.end(missing ? add_employee::kInsert : add_employee::kLookUp);
    if (!kept)
        return EmployeeAdding::NotStored;
    return missing ? EmployeeAdding::Added : EmployeeAdding::AlreadyThere;
}

DayCopy copyDay(Connection& connection, Weekday from, const std::vector<Weekday>& to)
{
    // Nobody's shifts change between the checks and the inserts.
    WriteTransaction change(connection, WriteRule::ChangeDay);
    DayCopy copy;
    copy.from = from;
    const std::vector<DayShift> shifts = dayShifts(connection, from);
    for (const Weekday day : to) {
        if (day == from)
            continue;
        int copied = 0;
        for (const DayShift& shift : shifts) {
            const CopiedShift described{shift.employeeName, shift.timeIn, shift.timeOut, day};
            if (!shift.timeIn.isValid() || !shift.timeOut.isValid()) {
                copy.skipped.push_back(described);
                continue;
            }
            const QString in = listTimeText(shift.timeIn);
            const QString out = listTimeText(shift.timeOut);
            if (shiftOverlaps(connection, day, shift.employeeId, in, out)) {
                copy.skipped.push_back(described);
                continue;
            }
            insertShift(connection, day, shift.employeeId, in, out);
            ++copied;
        }
        copy.copied.emplace_back(day, copied);
    }
    change.commit();
    return copy;
}

int clearDay(Connection& connection, Weekday day)
{
    WriteTransaction change(connection, WriteRule::ChangeDay);
    const int count = static_cast<int>(dayShifts(connection, day).size());
    connection.execute(sql::dayShiftsDelete(day));
    change.commit();
    return count;
}

EmployeeRemoval removeEmployee(Connection& connection, const EmployeeLookUp& employee, RuleSteps& steps)
{
    // The employee and its shifts go together or not at all.
    Change change(connection, WriteRule::DeleteEmployee, steps, knownEmployee(employee));
    change.run(remove_employee::kEmployee, [&] { deleteEmployee(connection, employee()); });
    for (const Weekday day : allWeekdays)
        change.run(remove_employee::kShiftsOf(day), [&] { deleteEmployeeShifts(connection, day, employee()); });
    return change.end(remove_employee::kShiftsOf(Weekday::Sunday)) ? EmployeeRemoval::Removed
                                                                   : EmployeeRemoval::NotStored;
}

}  // namespace store
