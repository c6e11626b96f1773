// "Print..." and "Save as PDF...": the schedule on one page as the working workbook's page setup
// lays it out, read from the working workbook with the engine and painted as vectors, to a printer
// chosen in the system print dialog or to a PDF file. A PDF replaces an existing file only once it
// is complete, after the same overwrite question as the workbook's save; a target that is not a
// file or is one of the program's own is refused without the question.
#include "preview/Form3.h"

#include "app/Dialogs.h"
#include "app/FileNames.h"
#include "app/Trap.h"
#include "app/WindowPointer.h"
#include "preview/Overwrite.h"

#include "sheet/render/PagePainter.h"
#include "sheet/render/PdfFile.h"
#include "sheet/xls/XlsReader.h"

#include <QPrinter>

#include <memory>

namespace preview {

void Form3::PushButton9_Click()
{
    app::Trap trap(QStringLiteral("Form3"), QStringLiteral("PushButton9_Click"));
    if (mSaving || mPrinting)
        return;  // a save or a print is already running; this click is ignored
    trap(100, [&] { mPrinting = true; });

    std::unique_ptr<sheet::WorkbookData> book;
    trap(102, [&] { book = sheet::xls::readWorkbook(app::toSystemBytes(mExcelFile)); });
    if (book) {
        QPrinter printer(QPrinter::HighResolution);
        trap(104, [&] {
            const sheet::SheetData& printed = sheet::render::activeSheetOf(*book);
            printer.setDocName(QString::fromStdString(printed.name));
            if (!printer.setPageLayout(sheet::render::pageLayoutOf(printed.pageSetup)))
                throw app::Failure(QStringLiteral("The printer does not take the sheet's page setup."));
        });
        if (trap.value(106, false, [&] { return app::dialogs().printDialog(printer, QStringLiteral("Print")); })) {
            trap(108, [&] { mPointer->set(app::WindowPointer::Shape::Busy); });
            trap(110, [&] { sheet::render::printActiveSheet(*book, printer); });
            trap(112, [&] { mPointer->set(app::WindowPointer::Shape::Default); });
        }
    }
    mPrinting = false;
}

void Form3::PushButton10_Click()
{
    app::Trap trap(QStringLiteral("Form3"), QStringLiteral("PushButton10_Click"));
    if (mSaving || mPrinting)
        return;  // a save or a print is already running; this click is ignored
    trap(100, [&] { mPrinting = true; });

    const QString chosen = trap.value(102, QString(), [&] {
        return app::dialogs().saveFileName(QStringLiteral("Save as PDF"), QStringLiteral("PDF Files (*.pdf)|*.pdf|"));
    });
    int answer = 0;  // Cancel and No write nothing and say nothing
    if (!chosen.isEmpty())
        answer = trap.value(104, 0, [&] { return overwriteAnswer(chosen); });

    if (answer == app::msg::kYes) {
        trap(106, [&] { mPointer->set(app::WindowPointer::Shape::Busy); });
        const bool written = trap(108, [&] {
            const auto book = sheet::xls::readWorkbook(app::toSystemBytes(mExcelFile));
            sheet::render::savePdf(*book, app::toSystemBytes(chosen));
        });
        trap(110, [&] { mPointer->set(app::WindowPointer::Shape::Default); });
        // A write that failed has been reported; "Done." would claim the opposite.
        if (written)
            trap(112, [&] { app::MsgBox(QStringLiteral("Done.")); });
    }
    mPrinting = false;
}

}  // namespace preview
