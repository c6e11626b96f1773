// The report driver: what "Start Creating Template" runs. It builds the weekly schedule in a new
// spreadsheet instance, saves it as the working workbook in the temporary folder, opens the
// saved file in a second instance to picture it, and hands both to the preview through the host.
#pragma once

#include "report/ReportHost.h"

#include <QString>

#include <functional>

namespace report {

// The start button: asks first when another spreadsheet instance is alive (No ends here without
// a change), then builds with the busy pointer showing.
void startButtonClick(ReportHost& host);

namespace EmployeeShiftSchedule {

// Builds, saves, pictures and hands over the schedule. Returns the working workbook's path
// (empty when none was chosen).
QString GenerateReport0(ReportHost& host);

// Replaces how working names are drawn (tests); an empty function restores random digits.
void setWorkingNameDigits(std::function<int()> drawDigit);

}  // namespace EmployeeShiftSchedule
}  // namespace report
