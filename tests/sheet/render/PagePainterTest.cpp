// Sheets on paper: the page layout from the page setup, the range that prints, the range fitted to
// the page and placed at its top left without gridlines, and one-page PDFs, in memory and through
// a printer writing a file, read back by poppler-utils; a PDF save that fails at any step of the
// file library keeps the old file.
#include "RenderProbe.h"

#include "sheet/model/SheetError.h"
#include "sheet/render/PagePainter.h"
#include "sheet/render/PdfFile.h"

#include "tests/fileio/FaultSweep.h"
#include "tests/support/PdfProbe.h"

#include <QBuffer>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

using namespace sheet;
using namespace sheet::render;
using namespace sheet::render::testing;
using testing_support::PdfProbe;

namespace {

// The schedule's own page setup: A4 landscape, margins 0.7 inch left and right, 0.5 top and bottom.
PageSetup schedulePageSetup()
{
    PageSetup setup;
    setup.leftMargin = setup.rightMargin = 0.7 * 72;
    setup.topMargin = setup.bottomMargin = 0.5 * 72;
    setup.headerMargin = setup.footerMargin = 0;
    setup.orientation = xlLandscape;
    setup.paperSize = xlPaperA4;
    setup.zoom = std::nullopt;
    return setup;
}

// B2 "Cashier" on a filled cell, C2 a number, B3 a bordered text: a small sheet set up as the
// schedule prints.
OneSheetBook smallSheet()
{
    OneSheetBook b;
    CellFormat filled;
    filled.interiorColorIndex = 34;
    b.put(2, 2, std::string("Cashier"), filled);
    b.put(2, 3, 42.0);
    CellFormat framed;
    framed.borders[kBorderBottom] = Border{xlContinuous, 48};
    b.put(3, 2, std::string("Greeter"), framed);
    b.sheet->name = "Shift Schedule";
    b.sheet->pageSetup = schedulePageSetup();
    return b;
}

}  // namespace

TEST(PagePainter, PaperOrientationAndMarginsComeFromThePageSetup)
{
    const QPageLayout a4 = pageLayoutOf(schedulePageSetup());
    EXPECT_EQ(a4.pageSize().id(), QPageSize::A4);
    EXPECT_EQ(a4.orientation(), QPageLayout::Landscape);
    EXPECT_EQ(a4.units(), QPageLayout::Point);
    EXPECT_EQ(a4.margins(), QMarginsF(50.4, 36, 50.4, 36));
    EXPECT_NEAR(a4.fullRect(QPageLayout::Point).width(), 842, 0.5);

    PageSetup letter;  // a new sheet's: Letter, portrait
    EXPECT_EQ(pageLayoutOf(letter).pageSize().id(), QPageSize::Letter);
    EXPECT_EQ(pageLayoutOf(letter).orientation(), QPageLayout::Portrait);
    letter.paperSize = 8;
    EXPECT_EQ(pageLayoutOf(letter).pageSize().id(), QPageSize::A3);
    letter.paperSize = 999;
    EXPECT_EQ(pageLayoutOf(letter).pageSize().id(), QPageSize::A4);

    // Margins read from a file may be anything: none below zero, never the whole paper.
    PageSetup odd;
    odd.leftMargin = std::numeric_limits<double>::quiet_NaN();
    odd.topMargin = -5;
    odd.rightMargin = 1e9;
    odd.bottomMargin = std::numeric_limits<double>::infinity();
    const QPageLayout clamped = pageLayoutOf(odd);
    EXPECT_EQ(clamped.margins().left(), 0);
    EXPECT_EQ(clamped.margins().top(), 0);
    EXPECT_GT(clamped.paintRect(QPageLayout::Point).width(), 0);
    EXPECT_GT(clamped.paintRect(QPageLayout::Point).height(), 0);
}

TEST(PagePainter, EachMarginBoundsItsOwnSideOfThePage)
{
    // A4 portrait (595 x 842 points) with four different margins: a range too wide for the page
    // shrinks to end at the right margin, one too tall at the bottom margin.
    PageSetup setup;
    setup.paperSize = xlPaperA4;
    setup.orientation = xlPortrait;
    setup.leftMargin = 36;
    setup.topMargin = 18;
    setup.rightMargin = 108;
    setup.bottomMargin = 72;
    EXPECT_EQ(pageLayoutOf(setup).margins(), QMarginsF(36, 18, 108, 72));

    CellFormat filled;
    filled.interiorColorIndex = 34;
    OneSheetBook wide;
    wide.sheet->pageSetup = setup;
    for (int column = 1; column <= 30; ++column)
        wide.format(1, column, filled);
    const PdfProbe widePdf(activeSheetPdf(wide.book));
    const QImage widePage = widePdf.raster(72);
    ASSERT_FALSE(widePage.isNull()) << widePdf.error().toStdString();
    EXPECT_EQ(widePage.pixel(38, 20), rgbOf(34));
    EXPECT_EQ(widePage.pixel(34, 20), kWhite) << "left margin";
    EXPECT_EQ(widePage.pixel(100, 16), kWhite) << "top margin";
    EXPECT_EQ(widePage.pixel(595 - 108 - 3, 20), rgbOf(34));
    EXPECT_EQ(widePage.pixel(595 - 108 + 2, 20), kWhite) << "right margin";

    OneSheetBook tall;
    tall.sheet->pageSetup = setup;
    for (int row = 1; row <= 200; ++row)
        tall.format(row, 1, filled);
    const PdfProbe tallPdf(activeSheetPdf(tall.book));
    const QImage tallPage = tallPdf.raster(72);
    ASSERT_FALSE(tallPage.isNull()) << tallPdf.error().toStdString();
    EXPECT_EQ(tallPage.pixel(40, 20), rgbOf(34));
    EXPECT_EQ(tallPage.pixel(40, 842 - 72 - 3), rgbOf(34));
    EXPECT_EQ(tallPage.pixel(40, 842 - 72 + 2), kWhite) << "bottom margin";
}

TEST(PagePainter, ThePrintAreaPrintsElseTheUsedRange)
{
    OneSheetBook b;
    EXPECT_FALSE(printedRange(*b.sheet).has_value());
    b.sheet->pageSetup.printArea = "$A:$C";
    EXPECT_FALSE(printedRange(*b.sheet).has_value()) << "whole columns of an empty sheet";

    b.put(4, 2, std::string("x"));
    b.put(9, 5, 1.0);
    b.sheet->pageSetup.printArea.clear();
    EXPECT_EQ(printedRange(*b.sheet), (CellRect{4, 2, 9, 5}));
    b.sheet->pageSetup.printArea = "$B$2:$D$20";
    EXPECT_EQ(printedRange(*b.sheet), (CellRect{2, 2, 20, 4}));
    b.sheet->pageSetup.printArea = "$A:$C";
    EXPECT_EQ(printedRange(*b.sheet), (CellRect{1, 1, 9, 3}));
    b.sheet->pageSetup.printArea = "$3:$5";
    EXPECT_EQ(printedRange(*b.sheet), (CellRect{3, 1, 5, 5}));
    b.sheet->pageSetup.printArea = "Not an address";
    EXPECT_THROW(printedRange(*b.sheet), SheetError);
}

TEST(PagePainter, TheRangeShrinksToFitThePageButNeverGrows)
{
    const PageSetup setup = schedulePageSetup();
    // 0.75 point to the pixel at full size.
    EXPECT_DOUBLE_EQ(pageScale(setup, QSizeF(100, 50), QSizeF(741, 523)), 0.75);
    EXPECT_DOUBLE_EQ(pageScale(setup, QSizeF(1976, 100), QSizeF(741, 523)), 741.0 / 1976);
    EXPECT_DOUBLE_EQ(pageScale(setup, QSizeF(100, 69736), QSizeF(741, 523)), 523.0 / 69736);
    PageSetup zoomed = setup;
    zoomed.zoom = 50;
    EXPECT_DOUBLE_EQ(pageScale(zoomed, QSizeF(100, 50), QSizeF(741, 523)), 0.375);
    EXPECT_DOUBLE_EQ(pageScale(zoomed, QSizeF(100, 6973.6), QSizeF(741, 523)), 523.0 / 6973.6);
}

TEST(PagePainter, ThePageShowsTheRangeAtTheTopLeftInsideTheMarginsWithoutGridlines)
{
    // An image page at 96 dpi: one pixel per sheet pixel while the range fits.
    const OneSheetBook b = smallSheet();
    QImage page(800, 600, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        paintPage(painter, QRectF(67, 48, 700, 500), 96.0 / 72, b.book, *b.sheet);
    }
    // B2:C3 is 128 x 34 px: the fill of B2 from the area's corner, its own closing lines included.
    EXPECT_EQ(page.pixel(67, 48), rgbOf(34));
    EXPECT_EQ(page.pixel(67 + 64, 48 + 17), rgbOf(34));
    EXPECT_EQ(page.pixel(66, 50), kWhite);
    EXPECT_EQ(page.pixel(70, 47), kWhite);
    EXPECT_EQ(page.pixel(67 + 65, 48 + 5), kWhite) << "no grid line beside the fill";
    EXPECT_EQ(page.pixel(67 + 128, 48 + 5), kWhite) << "no grid line closing the range";
    EXPECT_EQ(page.pixel(67 + 30, 48 + 34), rgbOf(48)) << "B3's border";
    EXPECT_TRUE(inkBounds(page, QRect(67 + 65, 49, 62, 16)).has_value()) << "C2's number";
    EXPECT_FALSE(inkBounds(page, QRect(67 + 130, 48, 500, 500)).has_value());

    // A page too small for the range: scaled down, its far corner at the area's edge.
    QImage small(200, 100, QImage::Format_RGB32);
    small.fill(Qt::white);
    {
        QPainter painter(&small);
        paintPage(painter, QRectF(10, 10, 64, 80), 96.0 / 72, b.book, *b.sheet);
    }
    EXPECT_EQ(small.pixel(11, 11), rgbOf(34));
    EXPECT_EQ(small.pixel(10 + 30, 10 + 8), rgbOf(34)) << "B2 spans half the area's width";
    EXPECT_EQ(small.pixel(10 + 40, 10 + 12), kWhite);
    EXPECT_TRUE(allPixels(small, QRect(75, 0, 125, 100), kWhite));
}

TEST(PagePainter, APdfIsOnePageOfTheSetupsPaperWithItsTextAsText)
{
    const OneSheetBook b = smallSheet();
    const QByteArray pdf = activeSheetPdf(b.book);
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    const PdfProbe probe(pdf);
    ASSERT_TRUE(probe.error().isEmpty()) << probe.error().toStdString();
    EXPECT_EQ(probe.pages(), 1);
    EXPECT_NEAR(probe.pageSizePoints().width(), 841.89, 0.5);
    EXPECT_NEAR(probe.pageSizePoints().height(), 595.28, 0.5);
    const QString text = probe.text();
    for (const char* shown : {"Cashier", "42", "Greeter"})
        EXPECT_TRUE(text.contains(shown)) << shown << " in " << text.toStdString();
    const auto fonts = probe.fonts();
    ASSERT_FALSE(fonts.isEmpty());
    for (const auto& font : fonts)
        EXPECT_TRUE(font.embedded) << font.name.toStdString();
    // The fill at the top left inside the margins (0.7 and 0.5 inch): at 72 dpi, B2 spans
    // 50..98 across and 36..49 down.
    const QImage page = probe.raster(72);
    ASSERT_FALSE(page.isNull()) << probe.error().toStdString();
    EXPECT_EQ(page.pixel(52, 38), rgbOf(34));
    EXPECT_EQ(page.pixel(48, 38), kWhite);
}

TEST(PagePainter, ARangeTooLargeToReadStillPrintsOnOnePageWithEveryText)
{
    // 2,000 rows by 40 columns: more than one band, far too small to read on A4 (text a fifth of a
    // point high), each name still text that a PDF viewer finds and shows sharp when zoomed in.
    OneSheetBook b;
    b.sheet->pageSetup = schedulePageSetup();
    constexpr int kRows = 2000;
    for (int row = 1; row <= kRows; ++row) {
        b.put(row, 1, "Employee " + std::to_string(row));
        b.put(row, 40, std::string("Cashier"));
    }
    const PdfProbe probe(activeSheetPdf(b.book));
    ASSERT_TRUE(probe.error().isEmpty()) << probe.error().toStdString();
    EXPECT_EQ(probe.pages(), 1);
    const QString text = probe.text();
    for (const int row : {1, 1234, kRows})
        EXPECT_TRUE(text.contains(QStringLiteral("Employee %1\n").arg(row))) << row;
    EXPECT_EQ(text.count(QStringLiteral("Cashier")), kRows);
}

TEST(PagePainter, TextThatNoZoomCouldShowIsLeftOutAndTheCellsStillPrint)
{
    // 8,000 rows on A4: text a twentieth of a point high, about 3 points even at 6400 %. Kept, the
    // largest roster's millions of such texts took gigabytes to write; left out, the page keeps
    // the fills (column A made as wide as a column goes, about 7 points on the page).
    OneSheetBook b;
    b.sheet->pageSetup = schedulePageSetup();
    constexpr int kRows = 8000;
    b.sheet->setColumnWidth(1, 255);
    CellFormat filled;
    filled.interiorColorIndex = 34;
    for (int row = 1; row <= kRows; ++row)
        b.put(row, 1, "Employee " + std::to_string(row), filled);
    const PdfProbe probe(activeSheetPdf(b.book));
    ASSERT_TRUE(probe.error().isEmpty()) << probe.error().toStdString();
    EXPECT_EQ(probe.pages(), 1);
    EXPECT_FALSE(probe.text().contains(QStringLiteral("Employee"))) << probe.text().left(200).toStdString();
    const QImage page = probe.raster(72);
    ASSERT_FALSE(page.isNull()) << probe.error().toStdString();
    EXPECT_EQ(page.pixel(54, 300), rgbOf(34));
}

TEST(PagePainter, PrintsThroughAPrinterWritingAFile)
{
    const OneSheetBook b = smallSheet();
    QTemporaryDir dir;
    const QString path = dir.path() + "/printed.pdf";
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    ASSERT_TRUE(printer.setPageLayout(pageLayoutOf(b.sheet->pageSetup)));
    printActiveSheet(b.book, printer);

    const PdfProbe probe(path);
    ASSERT_TRUE(probe.error().isEmpty()) << probe.error().toStdString();
    EXPECT_EQ(probe.pages(), 1);
    EXPECT_GT(probe.pageSizePoints().width(), probe.pageSizePoints().height());
    EXPECT_TRUE(probe.text().contains("Cashier"));
}

TEST(PagePainter, NothingToPrintOrNoActiveSheetIsRefusedBeforeAnyPage)
{
    OneSheetBook empty;
    EXPECT_THROW(activeSheetPdf(empty.book), SheetError);
    QByteArray written;
    QBuffer buffer(&written);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_THROW(writeActiveSheetPdf(empty.book, buffer), SheetError);
    buffer.close();
    EXPECT_TRUE(written.isEmpty());
    OneSheetBook b = smallSheet();
    b.book.activeSheet = 3;
    EXPECT_THROW(activeSheetPdf(b.book), SheetError);

    QTemporaryDir dir;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.path() + "/none.pdf");
    EXPECT_THROW(printActiveSheet(empty.book, printer), SheetError);
    EXPECT_FALSE(QFile::exists(dir.path() + "/none.pdf"));

    // A PDF file already there stays as it was.
    const QString kept = dir.path() + "/kept.pdf";
    QFile file(kept);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("last week");
    file.close();
    EXPECT_THROW(savePdf(empty.book, kept.toStdString()), SheetError);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("last week"));
}

TEST(PagePainter, APdfSaveThatFailsAtAnyStepKeepsTheOldFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const OneSheetBook b = smallSheet();
    const std::string path = dir.filePath("week.pdf").toStdString();
    for (const std::optional<std::string> before : {std::optional<std::string>("last week"), std::optional<std::string>()}) {
        SCOPED_TRACE(before ? "over a file" : "a new file");
        const int steps = fileio_test::sweepFaults(dir.path().toStdString(), {{path, before, std::nullopt, "%PDF-"}},
                                                   [&] { savePdf(b.book, path); });
        EXPECT_GE(steps, 6);
    }
}
