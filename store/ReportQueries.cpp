// The schedule sheet's reads, in one read transaction; on the SQLite file each read's rows come
// straight from SQLite, as the sheet reads thousands of them.
#include "store/ReportQueries.h"

#include "store/Statements.h"
#include "store/StoreError.h"
#include "store/TimeText.h"

#include <cstddef>
#include <functional>
#include <unordered_map>
#include <utility>

namespace store {

namespace {

// An aggregate over no rows is null: the weekday has no time of its own.
std::optional<QTime> timeOfDay(QTime time)
{
    if (!time.isValid())
        return std::nullopt;
    return time;
}

std::optional<QTime> aggregateTime(Connection& connection, const QString& sql)
{
    std::optional<QTime> time;
    bool first = true;
    connection.eachRow(sql, [&](const Fields& row) {
        if (std::exchange(first, false))
            time = row.storedTime(0);
    });
    return time ? timeOfDay(*time) : std::nullopt;
}

}  // namespace

// The reading's connection, in its transaction, and what it has read; and each read, which
// restarts the reading when it fails.
struct ReportReads {
    template <class Read>
    static auto guarded(ReportReading& reading, Read&& read)
    {
        try {
            return read();
        } catch (const StoreError&) {
            reading.restart();
            throw;
        }
    }

    static Connection& connection(ReportReading& reading) { return reading.begun(); }
    static std::optional<QTime> dayStart(ReportReading& reading, Weekday day);
    static std::optional<QTime> dayEnd(ReportReading& reading, Weekday day);
    // The employee list's rows: read straight from the file, or on a server through the statement
    // the reading prepared.
    static void eachEmployee(ReportReading& reading, const std::function<void(const Fields&)>& each)
    {
        Connection& connection = reading.begun();
        if (connection.engine() == Engine::SQLite) {
            connection.eachRow(sql::reportEmployeeList(connection.engine()), each);
            return;
        }
        if (!reading.employees_)
            reading.employees_ = connection.prepare(sql::reportEmployeeList(connection.engine()));
        for (const Row& row : reading.employees_->run())
            each(row);
    }
    static std::optional<std::vector<ReportEmployee>>& employeeList(ReportReading& reading) { return reading.employeeList_; }
    // The weekday's shifts by employee, read on first use.
    static const DayShifts& shifts(ReportReading& reading, Weekday day);

private:
    static std::optional<DayShifts> shiftsOnTheirOwn(ReportReading& reading, Weekday day);
    static std::shared_ptr<const EmployeeNumbers> positions(ReportReading& reading);
};

// Employees numbered from 0, and on the file each one's position.
struct EmployeeNumbers {
    std::unordered_map<qint64, std::size_t> numbers;
    std::vector<QString> positions;
};

// A weekday's shifts, each employee's together and in the order they were read: the employee
// numbered n has shifts[starts[n]] up to shifts[starts[n + 1]]. Kept in one piece rather than a
// list per employee, as a big roster has thousands of them.
struct DayShifts {
    std::shared_ptr<const EmployeeNumbers> employees;
    std::vector<ReportShift> shifts;
    std::vector<std::size_t> starts;
};

namespace {

// Gathers a weekday's shifts, in the order they are read, into their DayShifts: each employee
// numbered as the reading's positions number them, or as first met.
class DayShiftsGathering {
public:
    DayShiftsGathering() : met_(std::make_shared<EmployeeNumbers>()), employees_(met_) {}
    explicit DayShiftsGathering(std::shared_ptr<const EmployeeNumbers> employees) : employees_(std::move(employees)) {}

    std::size_t numberOf(qint64 employee)
    {
        return met_->numbers.try_emplace(employee, met_->numbers.size()).first->second;
    }

    void add(std::size_t number, ReportShift shift) { read_.push_back({number, std::move(shift)}); }

    DayShifts done() &&
    {
        DayShifts day{employees_, {}, {}};
        std::vector<std::size_t>& starts = day.starts;
        starts.assign(employees_->numbers.size() + 1, 0);
        for (const Read& read : read_)
            ++starts[read.number + 1];
        for (std::size_t n = 1; n < starts.size(); ++n)
            starts[n] += starts[n - 1];
        std::vector<std::size_t> next(starts.begin(), starts.end() - 1);
        day.shifts.resize(read_.size());
        for (Read& read : read_)
            day.shifts[next[read.number]++] = std::move(read.shift);
        return day;
    }

private:
    struct Read {
        std::size_t number;
        ReportShift shift;
    };
    std::shared_ptr<EmployeeNumbers> met_;
    std::shared_ptr<const EmployeeNumbers> employees_;
    std::vector<Read> read_;
};

}  // namespace

ReportReading::ReportReading(Connection& connection) : connection_(connection)
{
    // Begun at once, so that whatever else reads on this connection meanwhile reads the same state.
    // A transaction that cannot begin now is tried again by the first read, which then reports why.
    try {
        begun();
    } catch (const StoreError&) {
    }
}

ReportReading::~ReportReading()
{
    // The statements are done with before the transaction ends.
    employees_.reset();
    employeeList_.reset();
    for (auto& day : dayShifts_)
        day.reset();
    if (!began_)
        return;
    // Nothing was written, so a transaction that cannot be committed has nothing to lose.
    try {
        connection_.commit();
    } catch (const StoreError&) {
        try {
            connection_.rollback();
        } catch (const StoreError&) {
        }
    }
}

void ReportReading::restart() noexcept
{
    employees_.reset();
    for (auto& day : dayShifts_)
        day.reset();
    positions_.reset();
    for (auto& latest : dayEnds_)
        latest.reset();
    if (began_)
        connection_.rollback();
    began_ = false;
}

Connection& ReportReading::begun()
{
    if (!began_ && !connection_.inTransaction()) {
        connection_.beginReading();
        began_ = true;
    }
    return connection_;
}

// On the file a weekday's earliest time in and latest time out are read in one pass over its
// view, which costs SQLite as much as either alone; the latest time out waits for dayEnd, which
// reads it from the stored text as its own statement would. Where the two cannot be read together
// each is read on its own, and fails in its own words; only a file another program has locked is
// reported at once, as the statement on its own would wait for it as long again.
std::optional<QTime> ReportReads::dayStart(ReportReading& reading, Weekday day)
{
    Connection& connection = reading.begun();
    if (connection.engine() == Engine::SQLite) {
        std::optional<QVariant> earliest;
        std::optional<QVariant> latest;
        try {
            connection.eachRow(sql::daySpan(day), [&](const Fields& row) {
                if (!earliest) {
                    earliest = row.field(0);
                    latest = row.field(1);
                }
            });
        } catch (const StoreError&) {
            if (connection.lastFailure() == FailureKind::Busy)
                throw;
            earliest.reset();
        }
        if (earliest) {
            reading.dayEnds_[static_cast<std::size_t>(weekdayIndex(day))] = latest;
            return timeOfDay(timeFromStored(*earliest));
        }
    }
    return aggregateTime(connection, sql::dayStart(day));
}

std::optional<QTime> ReportReads::dayEnd(ReportReading& reading, Weekday day)
{
    Connection& connection = reading.begun();
    if (const std::optional<QVariant>& latest = reading.dayEnds_[static_cast<std::size_t>(weekdayIndex(day))])
        return timeOfDay(timeFromStored(*latest));
    return aggregateTime(connection, sql::dayEnd(day));
}

std::optional<QTime> dayStart(ReportReading& reading, Weekday day)
{
    return ReportReads::guarded(reading, [&] { return ReportReads::dayStart(reading, day); });
}

std::optional<QTime> dayEnd(ReportReading& reading, Weekday day)
{
    return ReportReads::guarded(reading, [&] { return ReportReads::dayEnd(reading, day); });
}

std::vector<ReportEmployee> reportEmployees(ReportReading& reading)
{
    // A read that fails is not kept: the next weekday's read tries again, and fails in its own step.
    std::optional<std::vector<ReportEmployee>>& known = ReportReads::employeeList(reading);
    if (!known) {
        std::vector<ReportEmployee> employees;
        ReportReads::guarded(reading, [&] {
            // fldid, fldName
            ReportReads::eachEmployee(reading, [&](const Fields& row) {
                employees.push_back({row.identifier(0), row.text(1)});
            });
        });
        known = std::move(employees);
    }
    return *known;
}

namespace {

// A stored time that is no time of day reads as none, like an empty field: the shift still counts
// on the sheet, which reports that it cannot place it, and the employee's other shifts stay.
QTime timeOrNone(const Fields& row, int position)
{
    try {
        return row.storedTime(position);
    } catch (const StoreError&) {
        return {};
    }
}

}  // namespace

const DayShifts& ReportReads::shifts(ReportReading& reading, Weekday day)
{
    std::unique_ptr<const DayShifts>& slot = reading.dayShifts_[static_cast<std::size_t>(weekdayIndex(day))];
    if (slot)
        return *slot;
    std::optional<DayShifts> read;
    if (reading.begun().engine() == Engine::SQLite)
        read = shiftsOnTheirOwn(reading, day);
    if (!read) {
        DayShiftsGathering gathering;
        // fldempid, fldtimein, fldtimeout, fldposition
        reading.begun().eachRow(sql::reportDayShifts(day), [&](const Fields& row) {
            gathering.add(gathering.numberOf(row.identifier(0)), {timeOrNone(row, 1), timeOrNone(row, 2), row.text(3)});
        });
        read = std::move(gathering).done();
    }
    slot = std::make_unique<const DayShifts>(std::move(*read));
    return *slot;
}

// On the file the shift table is read on its own, each shift given its employee's position from
// the reading's positions, read once: looking each shift's employee up in the join costs SQLite as
// much again as the rest of the read. A shift goes with an employee as the join puts it with one:
// its identifier, stored as an integer, is the employee's; a shift with none has no employee. An
// identifier stored as anything else, which the join may still match, leaves the weekday to the
// join, and so does a failed read, the join then failing in its own words; only a file another
// program has locked is reported at once, as the join would wait for it as long again.
std::optional<DayShifts> ReportReads::shiftsOnTheirOwn(ReportReading& reading, Weekday day)
{
    Connection& connection = reading.begun();
    try {
        const std::shared_ptr<const EmployeeNumbers> employees = positions(reading);
        if (!employees)
            return std::nullopt;
        DayShiftsGathering gathering(employees);
        bool matched = true;
        // fldempid, fldtimein, fldtimeout
        connection.eachRow(sql::reportDayShiftTimes(day), [&](const Fields& row) {
            if (!matched)
                return;
            if (const auto employee = row.storedInteger(0)) {
                const auto found = employees->numbers.find(*employee);
                if (found != employees->numbers.end())
                    gathering.add(found->second,
                                  {timeOrNone(row, 1), timeOrNone(row, 2), employees->positions[found->second]});
            } else if (!row.field(0).isNull()) {
                matched = false;
            }
        });
        if (!matched)
            return std::nullopt;
        return std::move(gathering).done();
    } catch (const StoreError&) {
        if (connection.lastFailure() == FailureKind::Busy)
            throw;
        return std::nullopt;
    }
}

// Null where an employee's identifier is not stored as an integer.
std::shared_ptr<const EmployeeNumbers> ReportReads::positions(ReportReading& reading)
{
    if (!reading.positions_) {
        auto employees = std::make_shared<EmployeeNumbers>();
        bool numbered = true;
        // fldid, fldposition
        reading.begun().eachRow(sql::reportPositions(), [&](const Fields& row) {
            const auto employee = row.storedInteger(0);
            numbered = numbered && employee &&
                       employees->numbers.try_emplace(*employee, employees->positions.size()).second;
            if (numbered)
                employees->positions.push_back(row.text(1));
        });
        reading.positions_ = numbered ? std::move(employees) : nullptr;
    }
    return *reading.positions_;
}

std::vector<ReportShift> reportEmployeeShifts(ReportReading& reading, Weekday day, qint64 employeeId)
{
    // A read that fails is not kept: the next employee's read tries again, and fails in its own step.
    return ReportReads::guarded(reading, [&] {
        const DayShifts& shifts = ReportReads::shifts(reading, day);
        const auto found = shifts.employees->numbers.find(employeeId);
        if (found == shifts.employees->numbers.end())
            return std::vector<ReportShift>();
        const auto first = shifts.shifts.begin();
        return std::vector<ReportShift>(first + static_cast<std::ptrdiff_t>(shifts.starts[found->second]),
                                        first + static_cast<std::ptrdiff_t>(shifts.starts[found->second + 1]));
    });
}

std::optional<QTime> dayStart(Connection& connection, Weekday day)
{
    ReportReading reading(connection);
    return dayStart(reading, day);
}

std::optional<QTime> dayEnd(Connection& connection, Weekday day)
{
    ReportReading reading(connection);
    return dayEnd(reading, day);
}

std::vector<ReportEmployee> reportEmployees(Connection& connection)
{
    ReportReading reading(connection);
    return reportEmployees(reading);
}

std::vector<ReportShift> reportEmployeeShifts(Connection& connection, Weekday day, qint64 employeeId)
{
    ReportReading reading(connection);
    return reportEmployeeShifts(reading, day, employeeId);
}

}  // namespace store
