// Whether a roster fits on one schedule sheet. Every weekday block takes a row per employee plus
// two, under a title area of four rows, and an .xls sheet ends at row 65536.
#pragma once

#include <QString>

namespace report {

// The last row the schedule of that many employees writes.
long long lastScheduleRow(long long employees);
// The largest roster that fits.
long long maxScheduleEmployees();

// Throws a failure that says why, when the roster of that many employees does not fit.
void requireRosterFits(long long employees);

}  // namespace report
