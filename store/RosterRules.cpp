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
                         const ShiftLookUp& shift, ChangeRecord* record = nullptr)
{
    bool gone = false;
    if (free)
        change.run(insertAt, [&] {
            try {
                const qint64 id = insertShift(connection, day, shift.employee(), shift.timeIn(), shift.timeOut());
                if (record)
                    record->after(connection, shiftTableName(day), id);
            } catch (const EmployeeNotOnRoster&) {
                // Another planner's doing, not a failure: the caller says what happened.
                gone = true;
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

ShiftAdding addShift(Connection& connection, Weekday day, const ShiftLookUp& shift, RuleSteps& steps,
                     ChangeRecord* record)
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
    return insertIfFree(change, free, add_shift::kDecide, add_shift::kInsert, connection, day, shift, record);
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

DayCopy copyDay(Connection& connection, Weekday from, const std::vector<Weekday>& to, ChangeRecord* record)
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
            const qint64 id = insertShift(connection, day, shift.employeeId, in, out);
            if (record)
                record->after(connection, shiftTableName(day), id);
            ++copied;
        }
        copy.copied.emplace_back(day, copied);
    }
    change.commit();
    return copy;
}

int clearDay(Connection& connection, Weekday day, ChangeRecord* record)
{
    WriteTransaction change(connection, WriteRule::ChangeDay);
    const std::vector<DayShift> shifts = dayShifts(connection, day);
    const int count = static_cast<int>(shifts.size());
    for (const DayShift& shift : shifts)
        if (record)
            record->before(connection, shiftTableName(day), shift.id);
    connection.execute(sql::dayShiftsDelete(day));
    for (const DayShift& shift : shifts)
        if (record)
            record->after(connection, shiftTableName(day), shift.id);
    change.commit();
    return count;
}

EmployeeRemoval removeEmployee(Connection& connection, const EmployeeLookUp& employee, RuleSteps& steps,
                               ChangeRecord* record)
{
    // The employee and its shifts go together or not at all.
    Change change(connection, WriteRule::DeleteEmployee, steps, knownEmployee(employee));
    const auto recorded = [&](const QString& table, const std::vector<qint64>& ids, auto work) {
        for (const qint64 id : ids)
            record->before(connection, table, id);
        work();
        for (const qint64 id : ids)
            record->after(connection, table, id);
    };
    const auto shiftIds = [&](Weekday day) {
        std::vector<qint64> ids;
        for (const Row& row : connection.query(sql::employeeShiftIds(day, employee())))
            ids.push_back(row.value(0).toLongLong());
        return ids;
    };
    change.run(remove_employee::kEmployee, [&] {
        const auto work = [&] { deleteEmployee(connection, employee()); };
        record ? recorded(QStringLiteral("tblEmployee"), {employee()}, work) : work();
    });
    for (const Weekday day : allWeekdays)
        change.run(remove_employee::kShiftsOf(day), [&] {
            const auto work = [&] { deleteEmployeeShifts(connection, day, employee()); };
            record ? recorded(shiftTableName(day), shiftIds(day), work) : work();
        });
    return change.end(remove_employee::kShiftsOf(Weekday::Sunday)) ? EmployeeRemoval::Removed
                                                                   : EmployeeRemoval::NotStored;
}

qint64 addEmployee(Connection& connection, const QString& name, const QString& position, ChangeRecord* record)
{
    WriteTransaction change(connection, WriteRule::AddEmployee);
    const qint64 id = insertEmployee(connection, name, position);
    if (record)
        record->after(connection, QStringLiteral("tblEmployee"), id);
    change.commit();
    return id;
}

EmployeeEditing editEmployee(Connection& connection, qint64 employeeId, const QString& name, const QString& position,
                             ChangeRecord* record)
{
    WriteTransaction change(connection, WriteRule::DeleteEmployee, employeeId);
    if (connection.query(sql::employeePresent(employeeId)).front().value(0).toLongLong() == 0)
        return EmployeeEditing::EmployeeGone;
    if (record)
        record->before(connection, QStringLiteral("tblEmployee"), employeeId);
    connection.execute(sql::employeeUpdate(employeeId, name, position));
    if (record)
        record->after(connection, QStringLiteral("tblEmployee"), employeeId);
    change.commit();
    return EmployeeEditing::Changed;
}

ShiftEditing editShift(Connection& connection, Weekday day, qint64 shiftId, const QString& timeIn,
                       const QString& timeOut, ChangeRecord* record)
{
    // Nobody's shifts change between the check and the update.
    WriteTransaction change(connection, WriteRule::ChangeDay);
    const Rows owner = connection.query(sql::shiftEmployee(day, shiftId));
    if (owner.empty())
        return ShiftEditing::ShiftGone;
    const qint64 employee = owner.front().value(0).toLongLong();
    if (!connection.query(sql::shiftOverlapExcept(day, employee, timeIn, timeOut, shiftId)).empty())
        return ShiftEditing::Overlaps;
    if (record)
        record->before(connection, shiftTableName(day), shiftId);
    connection.execute(sql::shiftUpdate(day, shiftId, timeIn, timeOut));
    if (record)
        record->after(connection, shiftTableName(day), shiftId);
    change.commit();
    return ShiftEditing::Changed;
}

bool removeShift(Connection& connection, Weekday day, qint64 shiftId, ChangeRecord* record)
{
    WriteTransaction change(connection, WriteRule::ChangeDay);
    if (connection.query(sql::shiftEmployee(day, shiftId)).empty())
        return false;
    if (record)
        record->before(connection, shiftTableName(day), shiftId);
    deleteShift(connection, day, shiftId);
    if (record)
        record->after(connection, shiftTableName(day), shiftId);
    change.commit();
    return true;
}

}  // namespace store
