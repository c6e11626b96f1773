// The light executable's painting: none. It runs only what needs no graphics library, and hands
// every run that paints to the painting part, so these are reached only if that hand-over is
// bypassed; they then fail as a run without the graphics platform does.
#include "commands/ExportPainting.h"

#include "app/Trap.h"

namespace commands::painting {

bool canPaint() { return false; }

std::shared_ptr<void> readyFonts(std::vector<std::string>) { return nullptr; }

void savePdf(const sheet::Workbook&, const QString&, sheet::render::PageFit)
{
    throw app::Failure(QStringLiteral("The PDF cannot be made without the graphics platform."));
}

void savePicture(const sheet::Workbook&, const QString&)
{
    throw app::Failure(QStringLiteral("The picture cannot be painted without the graphics platform."));
}

}  // namespace commands::painting
