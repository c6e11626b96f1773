// The sheet snapshot. The engine paints the range directly, so no clipboard is involved.
#include "report/Snapshot.h"

#include "app/FileNames.h"
#include "app/Trap.h"

#include "sheet/render/ImageFile.h"
#include "sheet/render/Renderer.h"

#include <QImage>

#include <cstdint>
#include <optional>

namespace report::Excel1 {
namespace {

const sheet::Worksheet& held(const std::optional<sheet::Worksheet>& sheet)
{
    if (!sheet)
        throw app::Failure(QStringLiteral("The workbook has no active sheet."));
    return *sheet;
}

}  // namespace

QImage saveCellsActivesheet(const sheet::Workbook& workbook, const QString& path, sheet::render::FileLife life)
{
    app::Trap trap(QStringLiteral("Excel1"), QStringLiteral("saveCellsActivesheet"));
    std::optional<sheet::Worksheet> sheet;
    std::int32_t rows = 0;
    std::int32_t columns = 0;
    std::int32_t lastRow = 0;
    std::int32_t lastColumn = 0;
    QImage picture;

    trap(100, [&] { sheet = workbook.ActiveSheet(); });
    trap(102, [&] { rows = held(sheet).UsedRange().Rows().count(); });
    trap(104, [&] { lastRow = held(sheet).UsedRange().Rows().item(rows).Row(); });
    trap(106, [&] { columns = held(sheet).UsedRange().Columns().count(); });
    trap(108, [&] { lastColumn = held(sheet).UsedRange().Columns().item(columns).Column(); });
    if (!trap.test(110, [&] { return lastRow > 1 && lastColumn > 1; }))
        return QImage();
    trap(112, [&] {
        const sheet::Range used = held(sheet).UsedRange();
        picture = sheet::render::renderRange(workbook.data(), held(sheet).data(), used.rect());
    });
    const bool written = trap(114, [&] {
        if (picture.isNull())
            throw app::Failure(QStringLiteral("There is no picture of the sheet to write to %1.").arg(path));
        sheet::render::saveImage(picture, app::toSystemBytes(path), life);
    });
    return written ? picture : QImage();
}

}  // namespace report::Excel1
