// Saving a workbook's active sheet as a one-page PDF file, laid out by the sheet's own page setup,
// through the file library: a failed save leaves no half-written file and never destroys the file
// that was there, and a target the library refuses is not written.
#pragma once

#include "sheet/model/SheetData.h"

#include <string>

namespace sheet::render {

// `path` is bytes, as the file system takes them. Throws SheetError with a message for the user
// when there is nothing to print (nothing is written then) or the file cannot be written.
void savePdf(const WorkbookData& book, const std::string& path);

}  // namespace sheet::render
