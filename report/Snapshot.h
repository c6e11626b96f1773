// The picture of a workbook's active sheet: its used range painted by the engine and written to a
// file (BMP or PNG by the file's extension), replacing a file of that name.
#pragma once

#include "sheet/Workbook.h"

#include <QString>

namespace report::Excel1 {

// Writes the picture only when the used range ends below row 1 and right of column A; otherwise
// nothing is written and nothing is said. Failures are reported and the next step still runs.
void saveCellsActivesheet(const sheet::Workbook& workbook, const QString& path);

}  // namespace report::Excel1
