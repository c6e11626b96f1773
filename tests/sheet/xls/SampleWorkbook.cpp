// The shared sample workbook.
#include "SampleWorkbook.h"

using namespace sheet;

namespace xls_test {

CellFormat titleFormat()
{
    CellFormat f;
    f.font = {"Century Gothic", 24, true, xlColorIndexAutomatic};
    f.horizontalAlignment = xlCenter;
    f.verticalAlignment = xlCenter;
    return f;
}

CellFormat headerFormat()
{
    CellFormat f;
    f.font = {"Century Gothic", 12, true, 16};
    f.horizontalAlignment = xlCenter;
    f.verticalAlignment = xlCenter;
    f.wrapText = true;
    f.interiorColorIndex = 15;
    for (Border& b : f.borders)
        b = {xlContinuous, 48};
    return f;
}

CellFormat timeFormat()
{
    CellFormat f;
    f.font = {"Century Gothic", 9, false, 16};
    f.numberFormat = kNumberFormatTime;
    f.horizontalAlignment = xlRight;
    f.verticalAlignment = xlTop;
    f.borders[kBorderLeft] = {xlContinuous, 3};
    f.borders[kBorderBottom] = {xlContinuous, 5};
    f.interiorColorIndex = 36;
    return f;
}

std::unique_ptr<WorkbookData> sampleWorkbook()
{
    auto book = std::make_unique<WorkbookData>();
    auto notes = std::make_unique<SheetData>();
    notes->name = "Notes";
    notes->at(1, 1).value = std::string("Kept for later");
    book->sheets.push_back(std::move(notes));

    auto s = std::make_unique<SheetData>();
    s->name = "Shift Schedule";
    const FormatId title = book->formats.intern(titleFormat());
    const FormatId header = book->formats.intern(headerFormat());
    const FormatId time = book->formats.intern(timeFormat());
    CellFormat left;
    left.horizontalAlignment = xlLeft;
    left.font.name = "Century Gothic";
    left.font.size = 8;
    const FormatId leftId = book->formats.intern(left);

    s->at(1, 2) = {std::string("Weekly Schedule"), title};
    s->merges.push_back({1, 2, 2, 6});  // B1:F2; its other cells are left to the writer
    s->at(3, 1) = {std::string("Chlo\u00e9 \u20ac"), header};
    s->at(3, 2) = {7.0 * 3600 / 86400, time};
    s->at(3, 3) = {8.5, 0};
    s->at(3, 4) = {(15 * 3600 + 30 * 60) / 86400.0, time};
    s->at(4, 1) = {std::string("=SUM(A1)"), leftId};
    s->at(4, 2) = {std::string(), header};  // a formatted empty cell
    s->at(5, 1) = {-12345.125, 0};

    s->setRowHeight(1, 30);
    s->setRowHeight(2, 30);
    s->setRowHeight(3, 12.75);
    s->setRowHeight(4, 409.5);
    s->setColumnWidth(1, 7.43);
    s->setColumnWidth(2, 6.14);
    s->setColumnWidth(3, 14);
    s->setColumnWidth(5, 0.75);
    s->setRowFormat(10, leftId);
    s->setColumnFormat(8, header);

    s->selection = {3, 3, 4, 4};
    s->activeCell = {3, 4};

    PageSetup& p = s->pageSetup;
    p.printArea.clear();
    p.leftMargin = 0.7 * 72;
    p.rightMargin = 0.7 * 72;
    p.topMargin = 0.5 * 72;
    p.bottomMargin = 0.5 * 72;
    p.headerMargin = 0;
    p.footerMargin = 0;
    p.printComments = xlPrintNoComments;
    p.orientation = xlLandscape;
    p.paperSize = xlPaperA4;
    p.zoom = std::nullopt;
    p.fitToPagesWide = 1;
    p.fitToPagesTall = 1;
    book->sheets.push_back(std::move(s));
    book->activeSheet = 1;
    return book;
}

}  // namespace xls_test
