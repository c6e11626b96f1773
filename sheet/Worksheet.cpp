// Worksheets: names, deletion, activation, addressing of their cells and their page setup.
#include "sheet/Worksheet.h"

#include "sheet/detail/State.h"
#include "sheet/model/SheetError.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace sheet {
namespace {

std::size_t characterCount(const std::string& utf8)
{
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

bool sameNameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

void requireSheetName(const WorkbookData& book, const SheetData* self, const std::string& name)
{
    const std::string quoted = "Invalid sheet name \"" + name + "\": ";
    if (name.empty())
        throw SheetError("A sheet name must not be empty.");
    if (characterCount(name) > 31)
        throw SheetError(quoted + "a sheet name has at most 31 characters.");
    if (name.find_first_of(":\\/?*[]") != std::string::npos)
        throw SheetError(quoted + "a sheet name must not contain : \\ / ? * [ or ].");
    if (name.front() == '\'' || name.back() == '\'')
        throw SheetError(quoted + "a sheet name must not begin or end with an apostrophe.");
    for (const auto& other : book.sheets)
        if (other.get() != self && sameNameIgnoringCase(other->name, name))
            throw SheetError(quoted + "another sheet already has this name.");
}

void requireCell(int row, int column)
{
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
        throw SheetError("Cell position out of range: row " + std::to_string(row) + ", column " + std::to_string(column) +
                         ".");
}

void requireMargin(double points)
{
    if (!std::isfinite(points) || points < 0 || points > 1584)  // 22 inches
        throw SheetError("A page margin must be between 0 and 22 inches.");
}

}  // namespace

Worksheet::Worksheet(std::shared_ptr<detail::AppState> app, std::shared_ptr<detail::BookState> book, SheetData* sheet)
    : app_(std::move(app)), book_(std::move(book)), sheet_(sheet)
{
}

SheetData& Worksheet::data() const { return detail::requireSheet(*app_, *book_, sheet_); }

std::string Worksheet::name() const { return data().name; }

void Worksheet::setName(const std::string& name) const
{
    SheetData& sheet = data();
    requireSheetName(*book_->data, sheet_, name);
    sheet.name = name;
}

int Worksheet::Index() const
{
    data();
    return detail::indexOfSheet(*book_->data, sheet_) + 1;
}

void Worksheet::Select() const
{
    data();
    book_->data->activeSheet = detail::indexOfSheet(*book_->data, sheet_);
    app_->activeBook = book_;
    detail::forgetActiveSheet(*app_);
}

void Worksheet::Delete() const
{
    data();
    WorkbookData& book = *book_->data;
    if (book.sheets.size() <= 1)
        throw SheetError("A workbook must keep at least one sheet; the sheet \"" + sheet_->name +
                         "\" cannot be deleted.");
    const int index = detail::indexOfSheet(book, sheet_);
    book_->deletedSheets.push_back(std::move(book.sheets[static_cast<std::size_t>(index)]));
    book.sheets.erase(book.sheets.begin() + index);
    if (book.activeSheet > index || book.activeSheet >= static_cast<int>(book.sheets.size()))
        book.activeSheet = std::max(0, book.activeSheet - 1);
    detail::forgetActiveSheet(*app_);
}

sheet::Range Worksheet::Cells() const
{
    data();
    return sheet::Range(app_, book_, sheet_, CellRect{1, 1, kMaxRows, kMaxColumns});
}

sheet::Range Worksheet::Cells(int row, int column) const
{
    data();
    requireCell(row, column);
    return sheet::Range(app_, book_, sheet_, CellRect{row, column, row, column});
}

sheet::Range Worksheet::Range(const std::string& address) const
{
    data();
    return sheet::Range(app_, book_, sheet_, parseA1(address).rect);
}

namespace {

// Whole rows ("5:7", or "5" for one row) or whole columns ("C:E", or "C"); anything else is refused
// with a message that names what was asked for.
A1Range wholeLines(const std::string& address, A1Kind kind, const char* what)
{
    const std::string full = address.find(':') == std::string::npos ? address + ":" + address : address;
    A1Range range;
    try {
        range = parseA1(full);
    } catch (const SheetError&) {
        throw SheetError(std::string("Invalid ") + what + " address: " + address);
    }
    if (range.kind != kind && range.kind != A1Kind::WholeSheet)
        throw SheetError(std::string("Invalid ") + what + " address: " + address);
    return range;
}

}  // namespace

sheet::Range Worksheet::Rows(const std::string& address) const
{
    data();
    return sheet::Range(app_, book_, sheet_, wholeLines(address, A1Kind::WholeRows, "row").rect);
}

sheet::Range Worksheet::Columns(const std::string& address) const
{
    data();
    return sheet::Range(app_, book_, sheet_, wholeLines(address, A1Kind::WholeColumns, "column").rect);
}

sheet::Range Worksheet::UsedRange() const
{
    const auto used = data().usedRange();
    return sheet::Range(app_, book_, sheet_, used.value_or(CellRect{1, 1, 1, 1}));
}

sheet::Range Worksheet::Selection() const { return sheet::Range(app_, book_, sheet_, data().selection); }

sheet::Range Worksheet::ActiveCell() const
{
    const CellRef cell = data().activeCell;
    return sheet::Range(app_, book_, sheet_, CellRect{cell.row, cell.column, cell.row, cell.column});
}

SheetPageSetup Worksheet::PageSetup() const
{
    data();
    return SheetPageSetup(app_, book_, sheet_);
}

// ---- Page setup ----

SheetPageSetup::SheetPageSetup(std::shared_ptr<detail::AppState> app, std::shared_ptr<detail::BookState> book,
                               SheetData* sheet)
    : app_(std::move(app)), book_(std::move(book)), sheet_(sheet)
{
}

PageSetup& SheetPageSetup::setup() const { return detail::requireSheet(*app_, *book_, sheet_).pageSetup; }

void SheetPageSetup::setPrintArea(const std::string& address)
{
    PageSetup& s = setup();
    if (!address.empty())
        parseA1(address);
    s.printArea = address;
}

void SheetPageSetup::setLeftMargin(double points) { requireMargin(points); setup().leftMargin = points; }
void SheetPageSetup::setRightMargin(double points) { requireMargin(points); setup().rightMargin = points; }
void SheetPageSetup::setTopMargin(double points) { requireMargin(points); setup().topMargin = points; }
void SheetPageSetup::setBottomMargin(double points) { requireMargin(points); setup().bottomMargin = points; }
void SheetPageSetup::setHeaderMargin(double points) { requireMargin(points); setup().headerMargin = points; }
void SheetPageSetup::setFooterMargin(double points) { requireMargin(points); setup().footerMargin = points; }

void SheetPageSetup::setPrintComments(int mode)
{
    if (mode != xlPrintNoComments && mode != xlPrintSheetEnd && mode != xlPrintInPlace)
        throw SheetError("Unknown comment printing mode: " + std::to_string(mode));
    setup().printComments = mode;
}

void SheetPageSetup::setOrientation(int orientation)
{
    if (orientation != xlPortrait && orientation != xlLandscape)
        throw SheetError("Unknown page orientation: " + std::to_string(orientation));
    setup().orientation = orientation;
}

void SheetPageSetup::setPaperSize(int paperSize)
{
    if (paperSize < 1 || paperSize > 0xFFFF)
        throw SheetError("Unknown paper size: " + std::to_string(paperSize));
    setup().paperSize = paperSize;
}

void SheetPageSetup::setZoom(bool enabled)
{
    if (enabled)
        throw SheetError("Zoom takes false or a percentage from 10 to 400.");
    setup().zoom = std::nullopt;
}

void SheetPageSetup::setZoom(int percent)
{
    if (percent < 10 || percent > 400)
        throw SheetError("Zoom takes false or a percentage from 10 to 400.");
    setup().zoom = percent;
}

void SheetPageSetup::setFitToPagesWide(int pages)
{
    if (pages < 0 || pages > 32767)
        throw SheetError("The number of pages wide must be between 0 and 32767.");
    setup().fitToPagesWide = pages;
}

void SheetPageSetup::setFitToPagesTall(int pages)
{
    if (pages < 0 || pages > 32767)
        throw SheetError("The number of pages tall must be between 0 and 32767.");
    setup().fitToPagesTall = pages;
}

std::string SheetPageSetup::PrintArea() const { return setup().printArea; }
double SheetPageSetup::LeftMargin() const { return setup().leftMargin; }
double SheetPageSetup::RightMargin() const { return setup().rightMargin; }
double SheetPageSetup::TopMargin() const { return setup().topMargin; }
double SheetPageSetup::BottomMargin() const { return setup().bottomMargin; }
double SheetPageSetup::HeaderMargin() const { return setup().headerMargin; }
double SheetPageSetup::FooterMargin() const { return setup().footerMargin; }
int SheetPageSetup::PrintComments() const { return setup().printComments; }
int SheetPageSetup::Orientation() const { return setup().orientation; }
int SheetPageSetup::PaperSize() const { return setup().paperSize; }
std::optional<int> SheetPageSetup::Zoom() const { return setup().zoom; }
int SheetPageSetup::FitToPagesWide() const { return setup().fitToPagesWide; }
int SheetPageSetup::FitToPagesTall() const { return setup().fitToPagesTall; }

}  // namespace sheet
