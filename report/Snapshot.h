// The picture of a workbook's active sheet: its used range painted by the engine and written to a
// file (BMP or PNG by the file's extension), replacing a file of that name. The painted picture is
// also returned, so that a caller in the same process need not read the file back.
#pragma once

#include "sheet/Workbook.h"
#include "sheet/render/ImageFile.h"

#include <QImage>
#include <QString>

namespace report::Excel1 {

// Writes the picture only when the used range ends below row 1 and right of column A; otherwise
// nothing is written and nothing is said. Failures are reported and the next step still runs.
// Returns the picture the file now holds, or a null image when no file was written. A working
// file, deleted by the caller once used, is not synced to disk.
QImage saveCellsActivesheet(const sheet::Workbook& workbook, const QString& path,
                            sheet::render::FileLife life = sheet::render::FileLife::Kept);

}  // namespace report::Excel1
