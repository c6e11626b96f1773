// Other instances of the spreadsheet application: whether one is alive, the question the user is
// asked then, and a second instance that opens a saved workbook.
#pragma once

#include "sheet/Application.h"

#include <QString>

#include <memory>

namespace report::Excel1 {

// True when another instance of the spreadsheet engine is alive in this program. Never reports.
bool IsExcelRunning();

// The question shown when another instance is alive.
QString excelOpenQuestion();

// True when another instance is alive and the user declines to go on; false otherwise.
bool CancelIfExcelOpen();

// A new instance with the workbook at the path open in it (read by the engine's reader, so it
// holds what the file holds). Throws when the file cannot be read; no instance is left running.
std::unique_ptr<sheet::Application> OpenInNewExcel(const QString& path);

}  // namespace report::Excel1
