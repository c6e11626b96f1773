// The schedule sheet's reads, in one read transaction; on the SQLite file each read's rows come
// straight from SQLite, as the sheet reads thousands of them.
#include "store/ReportQueries.h"

#include "store/Statements.h"
#include "store/StoreError.h"

#include <cstddef>
#include <functional>
#include <unordered_map>
#include <utility>

namespace store {

namespace {

// An aggregate over no rows is null: the weekday has no time of its own.
std::optional<QTime> aggregateTime(Connection& connection, const QString& sql)
{
    std::optional<QTime> time;
    bool first = true;
    connection.eachRow(sql, [&](const Fields& row) {
        if (std::exchange(first, false))
            time = row.storedTime(0);
    });
    if (!time || !time->isValid())
        return std::nullopt;
    return time;
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
};

// A weekday's shifts, each employee's together and in the order they were read: the employee
// numbered n (from 0, as first met) has shifts[starts[n]] up to shifts[starts[n + 1]]. Kept in one
// piece rather than a list per employee, as a big roster has thousands of them.
struct DayShifts {
    std::unordered_map<qint64, std::size_t> numbers;
    std::vector<ReportShift> shifts;
    std::vector<std::size_t> starts;
};

namespace {

// Gathers a weekday's shifts, in the order they are read, into their DayShifts.
class DayShiftsGathering {
public:
    void add(qint64 employee, ReportShift shift)
    {
        const std::size_t number = day_.numbers.try_emplace(employee, day_.numbers.size()).first->second;
        read_.push_back({number, std::move(shift)});
    }

    DayShifts done() &&
    {
        DayShifts day = std::move(day_);
        std::vector<std::size_t>& starts = day.starts;
        starts.assign(day.numbers.size() + 1, 0);
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
    DayShifts day_;
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

std::optional<QTime> dayStart(ReportReading& reading, Weekday day)
{
    return ReportReads::guarded(reading,
                                [&] { return aggregateTime(ReportReads::connection(reading), sql::dayStart(day)); });
}

std::optional<QTime> dayEnd(ReportReading& reading, Weekday day)
{
    return ReportReads::guarded(reading,
                                [&] { return aggregateTime(ReportReads::connection(reading), sql::dayEnd(day)); });
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
    DayShiftsGathering gathering;
    // fldempid, fldtimein, fldtimeout, fldposition
    reading.begun().eachRow(sql::reportDayShifts(day), [&](const Fields& row) {
        gathering.add(row.identifier(0), {timeOrNone(row, 1), timeOrNone(row, 2), row.text(3)});
    });
    slot = std::make_unique<const DayShifts>(std::move(gathering).done());
    return *slot;
}

std::vector<ReportShift> reportEmployeeShifts(ReportReading& reading, Weekday day, qint64 employeeId)
{
    // A read that fails is not kept: the next employee's read tries again, and fails in its own step.
    return ReportReads::guarded(reading, [&] {
        const DayShifts& shifts = ReportReads::shifts(reading, day);
        const auto found = shifts.numbers.find(employeeId);
        if (found == shifts.numbers.end())
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
