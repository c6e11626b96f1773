// The page setup of the finished schedule: the whole sheet on one landscape A4 page.
#pragma once

namespace report::EmployeeShiftSchedule {

// Sets, on the active sheet: no print area, margins 0.7 inch left and right and 0.5 inch top and
// bottom, no header or footer margin, no comments printed, landscape, A4, fit to one page.
void PrinterSetup0();

}  // namespace report::EmployeeShiftSchedule
