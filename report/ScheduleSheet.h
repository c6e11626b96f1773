// The weekly schedule sheet: a title area, then one block per weekday from Monday to Sunday, each
// with a time column per slot from the day's earliest time in to its latest time out, a row per
// employee in name order, the shifts marked in the employee's colour with the position, "Sick"
// for a day without a shift, and the count of shifts. Written on the active sheet of the
// application object through the formatting primitives; ends with the page setup.
#pragma once

#include "report/ReportHost.h"

namespace report::EmployeeShiftSchedule {

// The font the whole sheet is written in.
inline constexpr const char* kSheetFont = "Century Gothic";

// The palette colour of the k-th employee (0 = first in name order): 34..56, repeating after 23.
int EmployeeColorIndex(int employeeIndex);

// Builds the sheet from the shared connection's records and the given header texts and interval,
// telling progress (when given) after each weekday's headers and after each employee row.
void GenerateReport(const ScheduleInputs& inputs, const BuildProgressSink& progress = {});

}  // namespace report::EmployeeShiftSchedule
