// The files one build leaves in the temporary folder: the working workbook under a fresh
// random name and the picture of its sheet. Both throw app::Failure when there is no temporary
// folder to write to (app/Paths.h). A working workbook is held (app/HeldFiles.h) while it is
// owned, so that a start-up sweep removes only those whose owner has gone.
#pragma once

#include <QString>

#include <functional>

namespace report {

// "tquill" followed by eight digits 1..9, then ".xls", in the temporary folder; a name whose file
// already exists is drawn again. drawDigit gives one digit 1..9 per call (random by default).
QString newWorkingWorkbookPath(const std::function<int()>& drawDigit = {});

// "temp.bmp" in the temporary folder.
QString bitmapPath();

// Removes the working workbooks in the temporary folder that no running copy of the program holds,
// left by one that was killed or lost its session. Nothing when there is no temporary folder.
void removeAbandonedWorkingWorkbooks();

}  // namespace report
