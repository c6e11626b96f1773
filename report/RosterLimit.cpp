// The row budget of the schedule sheet.
#include "report/RosterLimit.h"

#include "sheet/model/Constants.h"

#include "store/Connection.h"
#include "store/ReportQueries.h"

namespace report {

long long lastScheduleRow(long long employees)
{
    // Monday's header row is 5; each weekday takes its header row, the employee rows and two
    // closing rows, the last of which is the next weekday's title row.
    return 5 + 7 * (employees + 2);
}

long long maxScheduleEmployees() { return (sheet::kMaxRows - 5) / 7 - 2; }

void requireRosterFits(long long employees)
{
    if (lastScheduleRow(employees) <= sheet::kMaxRows)
        return;
    throw RosterTooLarge(
        QStringLiteral("The schedule cannot be made: %1 employees need %2 rows, but a worksheet has only %3 rows "
                       "(at most %4 employees fit). No workbook was written.")
            .arg(employees)
            .arg(lastScheduleRow(employees))
            .arg(sheet::kMaxRows)
            .arg(maxScheduleEmployees()));
}

namespace {

template <class Count>
bool refusedBy(app::Trap& trap, int line, Count&& count)
{
    bool refused = false;
    trap(line, [&] {
        try {
            requireRosterFits(static_cast<long long>(count()));
        } catch (const RosterTooLarge&) {
            refused = true;
            throw;
        }
    });
    return refused;
}

}  // namespace

bool rosterRefused(app::Trap& trap, int line)
{
    return refusedBy(trap, line, [] { return store::reportEmployees(store::shared()).size(); });
}

bool rosterRefused(app::Trap& trap, int line, store::ReportReading& reading)
{
    return refusedBy(trap, line, [&] { return store::reportEmployees(reading).size(); });
}

}  // namespace report
