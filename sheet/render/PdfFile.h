// Saving a workbook's active sheet as a PDF file, on one page by the sheet's own page setup or one
// page wide,
// through the file library: a failed save leaves no half-written file and never destroys the file
// that was there, and a target the library refuses is not written.
#pragma once

#include "sheet/model/SheetData.h"
#include "sheet/render/PagePainter.h"

#include <string>

namespace sheet::render {

// `path` is bytes, as the file system takes them. Throws SheetError with a message for the user
// when there is nothing to print (nothing is written then) or the file cannot be written.
void savePdf(const WorkbookData& book, const std::string& path, PageFit fit = PageFit::OnePage);

}  // namespace sheet::render
