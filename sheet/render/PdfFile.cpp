// PDF files.
#include "sheet/render/PdfFile.h"

#include "fileio/AtomicWrite.h"
#include "sheet/model/SheetError.h"
#include "sheet/model/TextLimit.h"
#include "sheet/render/PagePainter.h"

#include <QByteArray>

namespace sheet::render {

void savePdf(const WorkbookData& book, const std::string& path, PageFit fit)
{
    // What the workbook file could not hold is refused on paper too.
    if (book.activeSheet >= 0 && book.activeSheet < static_cast<int>(book.sheets.size()))
        checkTextLengths(*book.sheets[static_cast<std::size_t>(book.activeSheet)]);
    // Made whole in memory first (a page of vectors, far smaller than the sheet's picture), so
    // that a sheet that cannot be printed touches no file.
    const QByteArray pdf = activeSheetPdf(book, fit);
    try {
        fileio::writeFile(path, std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
    } catch (const fileio::FileError& e) {
        throw SheetError("The PDF cannot be saved as \"" + path + "\": " + e.reason());
    }
}

}  // namespace sheet::render
