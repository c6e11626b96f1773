// "Print..." and "Save as PDF...": the schedule on one page as the working workbook's page setup
// lays it out, or one page wide and as many tall as it needs, as the user picks before the print
// dialog or the file dialog (the pick is remembered); read from the working workbook with the
// engine and painted as vectors, to a printer chosen in the system print dialog or to a PDF file. A PDF replaces an existing file only once it
// is complete, after the same overwrite question as the workbook's save; a target that is not a
// file or is one of the program's own is refused without the question.
#include "preview/Form3.h"

#include "app/Dialogs.h"
#include "app/FileNames.h"
#include "app/Settings.h"
#include "app/Trap.h"
#include "app/WindowPointer.h"
#include "preview/Overwrite.h"

#include "sheet/render/PagePainter.h"
#include "sheet/render/PdfFile.h"
#include "sheet/xls/XlsReader.h"

#include <QPrinter>

#include <memory>
#include <optional>

namespace preview {
namespace {

using sheet::render::PageFit;

// The page layout the user picks, the remembered one preselected; nullopt when cancelled.
std::optional<PageFit> askPageLayout(const QString& title)
{
    const QStringList items{QStringLiteral("One page"), QStringLiteral("Fit to page width")};
    const PageFit remembered =
        sheet::render::pageFitNamed(app::Settings::pageLayout().toStdString()).value_or(PageFit::OnePage);
    const int picked = app::dialogs().chooseOne(title, QStringLiteral("Page layout:"), items,
                                                remembered == PageFit::PageWidth ? 1 : 0);
    if (picked < 0)
        return std::nullopt;
    const PageFit fit = picked == 1 ? PageFit::PageWidth : PageFit::OnePage;
    app::Settings::setPageLayout(QString::fromLatin1(sheet::render::pageFitWord(fit)));
    return fit;
}

}  // namespace

void Form3::PushButton9_Click()
{
    app::Trap trap(QStringLiteral("Form3"), QStringLiteral("PushButton9_Click"));
    if (mSaving || mPrinting)
        return;  // a save or a print is already running; this click is ignored
    trap(100, [&] { mPrinting = true; });

    const std::optional<PageFit> fit =
        trap.value(102, std::optional<PageFit>(), [&] { return askPageLayout(QStringLiteral("Print")); });
    std::unique_ptr<sheet::WorkbookData> book;
    if (fit)
        trap(104, [&] { book = sheet::xls::readWorkbook(app::toSystemBytes(mExcelFile)); });
    if (book) {
        QPrinter printer(QPrinter::HighResolution);
        trap(106, [&] {
            const sheet::SheetData& printed = sheet::render::activeSheetOf(*book);
            printer.setDocName(QString::fromStdString(printed.name));
            if (!printer.setPageLayout(sheet::render::pageLayoutFor(printed.pageSetup, *fit)))
                throw app::Failure(QStringLiteral("The printer does not take the sheet's page setup."));
        });
        if (trap.value(108, false, [&] { return app::dialogs().printDialog(printer, QStringLiteral("Print")); })) {
            trap(110, [&] { mPointer->set(app::WindowPointer::Shape::Busy); });
            trap(112, [&] { sheet::render::printActiveSheet(*book, printer, *fit); });
            trap(114, [&] { mPointer->set(app::WindowPointer::Shape::Default); });
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

    const std::optional<PageFit> fit =
        trap.value(102, std::optional<PageFit>(), [&] { return askPageLayout(QStringLiteral("Save as PDF")); });
    QString chosen;
    if (fit)
        chosen = trap.value(104, QString(), [&] {
            return app::dialogs().saveFileName(QStringLiteral("Save as PDF"), QStringLiteral("PDF Files (*.pdf)|*.pdf|"));
        });
    int answer = 0;  // Cancel and No write nothing and say nothing
    if (!chosen.isEmpty())
        answer = trap.value(106, 0, [&] { return overwriteAnswer(chosen); });

    if (answer == app::msg::kYes) {
        trap(108, [&] { mPointer->set(app::WindowPointer::Shape::Busy); });
        const bool written = trap(110, [&] {
            const auto book = sheet::xls::readWorkbook(app::toSystemBytes(mExcelFile));
            sheet::render::savePdf(*book, app::toSystemBytes(chosen), *fit);
        });
        trap(112, [&] { mPointer->set(app::WindowPointer::Shape::Default); });
        // A write that failed has been reported; "Done." would claim the opposite.
        if (written)
            trap(114, [&] { app::MsgBox(QStringLiteral("Done.")); });
    }
    mPrinting = false;
}

}  // namespace preview
