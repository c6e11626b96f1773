// Whether a roster fits on one schedule sheet. Every weekday block takes a row per employee plus
// two, under a title area of four rows, and an .xls sheet ends at row 65536.
#pragma once

#include "app/Trap.h"

#include <QString>

namespace store {
class ReportReading;
}

namespace report {

// A roster with more employees than one sheet can hold.
class RosterTooLarge : public app::Failure {
public:
    using app::Failure::Failure;
};

// The last row the schedule of that many employees writes.
long long lastScheduleRow(long long employees);
// The largest roster that fits.
long long maxScheduleEmployees();

// Throws RosterTooLarge, saying why, when the roster of that many employees does not fit.
void requireRosterFits(long long employees);

// Counts the employees of the shared connection as one numbered statement of the trap. True when
// the roster does not fit: that has been reported and the caller stops. A failing count is
// reported too, but leaves the caller to go on.
bool rosterRefused(app::Trap& trap, int line);
// The same within a report's reading, which keeps the employee list it counts for its later reads.
bool rosterRefused(app::Trap& trap, int line, store::ReportReading& reading);

}  // namespace report
