// Which file format number the workbook is saved with, from the spreadsheet engine's version text,
// read by the regional number rules.
#pragma once

#include <QLocale>
#include <QString>

namespace sheet {
class Application;
}

namespace report::EmployeeShiftSchedule {

// The decimal separator of the regional settings: "." where one half is written 0.5, "," where
// it is written 0,5.
QString LocalDecimalSeparator(const QLocale& locale = QLocale());

// The format number for a version text such as "16.0" or "11,0": below version 12 the older
// workbook format number, otherwise the newer one (both save an .xls workbook). Throws when the
// version text is no number.
int ExcelFileFormatForVersion(const QString& versionText, const QLocale& locale = QLocale());

// The format number for the given application's version; without one, a new application is
// started just to ask for its version and then quit.
int ExcelFileFormat(sheet::Application* application = nullptr);

}  // namespace report::EmployeeShiftSchedule
