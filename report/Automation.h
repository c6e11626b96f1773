// The application object of a build: the one spreadsheet instance that the sheet builder, the
// formatting primitives and the page setup make every call through, and the working workbook.
// Set by LoadExcel, dropped by ReleaseExcel.
#pragma once

#include "sheet/Application.h"

#include <optional>

namespace report::EmployeeShiftSchedule {

// The running instance; throws a failure when there is none, as any call on a missing object does.
sheet::Application& xlApp();
// nullptr when no instance is held.
sheet::Application* xlAppOrNull();

// The workbook the build writes into; throws when there is none.
sheet::Workbook& workingWorkbook();
void setWorkingWorkbook(std::optional<sheet::Workbook> workbook);

// Starts a new, separate instance and holds it as the application object (an earlier one is
// dropped first).
void LoadExcel();
// Drops the application object and the working workbook.
void ReleaseExcel();

}  // namespace report::EmployeeShiftSchedule
