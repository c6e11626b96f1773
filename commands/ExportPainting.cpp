#include "commands/ExportPainting.h"

#include "report/Snapshot.h"

#include "app/FileNames.h"
#include "app/Trap.h"

#include "sheet/render/FontResolver.h"
#include "sheet/render/PdfFile.h"

#include <QCoreApplication>
#include <QGuiApplication>

namespace commands::painting {

bool canPaint() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

std::shared_ptr<void> readyFonts(std::vector<std::string> fontNames)
{
    return std::make_shared<sheet::render::FontWarmUp>(std::move(fontNames));
}

void savePdf(const sheet::Workbook& workbook, const QString& path, sheet::render::PageFit fit)
{
    // Fonts exist only once the graphics platform is up; without it Qt would abort the program.
    if (!canPaint())
        throw app::Failure(QStringLiteral("The PDF cannot be made without the graphics platform."));
    sheet::render::savePdf(workbook.data(), app::toSystemBytes(path), fit);
}

void savePicture(const sheet::Workbook& workbook, const QString& path)
{
    report::Excel1::saveCellsActivesheet(workbook, path);
}

}  // namespace commands::painting
