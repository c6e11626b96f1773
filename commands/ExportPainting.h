// What the export needs of the painting code: the fonts made ready while the sheet is built, the
// PDF and the picture. Declared here and defined twice, one definition in each executable part:
// ExportPainting.cpp (in this library) paints with the renderer; NoExportPainting.cpp, linked
// into the light executable only, has no renderer and is never asked to paint, because that
// executable hands every run that paints to the painting part (see ProgramParts.h). A program that
// links this library without its own definition gets the renderer's.
#pragma once

#include "sheet/Workbook.h"
#include "sheet/render/PageFit.h"

#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace commands::painting {

// Whether this run can paint: the renderer is linked in and the graphics platform is up.
bool canPaint();

// Starts making the installed fonts and those that stand in for the fonts named ready on another
// core; the work is waited for when the returned object goes. Only when canPaint().
std::shared_ptr<void> readyFonts(std::vector<std::string> fontNames);

// The PDF of the workbook's active sheet, written whole or not at all; throws app::Failure or
// SheetError with a message for the user.
void savePdf(const sheet::Workbook& workbook, const QString& path, sheet::render::PageFit fit);

// The picture of the workbook's active sheet, as the preview makes it; failures are reported.
void savePicture(const sheet::Workbook& workbook, const QString& path);

}  // namespace commands::painting
