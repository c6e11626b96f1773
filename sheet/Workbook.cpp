// Workbooks and the collections of workbooks and sheets: adding, opening, saving and closing.
#include "sheet/Workbook.h"

#include "sheet/detail/State.h"
#include "sheet/model/SheetError.h"
#include "sheet/xls/XlsReader.h"
#include "sheet/xls/XlsWriter.h"

#include <algorithm>

namespace sheet {
namespace {

std::string fileName(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The object model indexes formats and sheets without further checks, so a workbook read from a
// file must hold only ids and positions that exist.
void requireConsistent(WorkbookData& book, const std::string& path)
{
    const auto damaged = [&] { return SheetError("Cannot open the workbook " + path + ": the file is damaged."); };
    if (book.sheets.empty())
        throw damaged();
    const std::size_t formats = book.formats.size();
    for (const auto& sheet : book.sheets) {
        if (!sheet)
            throw damaged();
        for (const auto& [ref, cell] : sheet->cells())
            if (cell.format >= formats)
                throw damaged();
        for (const auto& [row, id] : sheet->rowFormats())
            if (id >= formats)
                throw damaged();
        for (const auto& [column, id] : sheet->columnFormats())
            if (id >= formats)
                throw damaged();
    }
    book.activeSheet = std::clamp(book.activeSheet, 0, static_cast<int>(book.sheets.size()) - 1);
}

}  // namespace

// ---- Sheets ----

SheetCollection::SheetCollection(std::shared_ptr<detail::AppState> app, std::shared_ptr<detail::BookState> book)
    : app_(std::move(app)), book_(std::move(book))
{
}

int SheetCollection::count() const { return static_cast<int>(detail::requireOpen(*app_, *book_).sheets.size()); }

Worksheet SheetCollection::item(int index) const
{
    WorkbookData& data = detail::requireOpen(*app_, *book_);
    const int total = static_cast<int>(data.sheets.size());
    if (index < 1 || index > total)
        throw SheetError("Sheet index out of range: " + std::to_string(index) + " (the workbook has " +
                         std::to_string(total) + (total == 1 ? " sheet)." : " sheets)."));
    return Worksheet(app_, book_, data.sheets[static_cast<std::size_t>(index - 1)].get());
}

Worksheet SheetCollection::item(const std::string& name) const
{
    WorkbookData& data = detail::requireOpen(*app_, *book_);
    for (const auto& sheet : data.sheets)
        if (sheet->name == name)
            return Worksheet(app_, book_, sheet.get());
    throw SheetError("There is no sheet named \"" + name + "\".");
}

Worksheet SheetCollection::add() const
{
    WorkbookData& data = detail::requireOpen(*app_, *book_);
    auto sheet = std::make_unique<SheetData>();
    for (int n = static_cast<int>(data.sheets.size()) + 1;; ++n) {
        const std::string name = "Sheet" + std::to_string(n);
        if (std::none_of(data.sheets.begin(), data.sheets.end(), [&](const auto& s) { return s->name == name; })) {
            sheet->name = name;
            break;
        }
    }
    data.sheets.push_back(std::move(sheet));
    data.activeSheet = static_cast<int>(data.sheets.size()) - 1;
    detail::forgetActiveSheet(*app_);
    return Worksheet(app_, book_, data.sheets.back().get());
}

// ---- Workbook ----

Workbook::Workbook(std::shared_ptr<detail::AppState> app, std::shared_ptr<detail::BookState> book)
    : app_(std::move(app)), book_(std::move(book))
{
}

WorkbookData& Workbook::data() const { return detail::requireOpen(*app_, *book_); }

SheetCollection Workbook::Sheets() const
{
    data();
    return SheetCollection(app_, book_);
}

Worksheet Workbook::ActiveSheet() const
{
    WorkbookData& book = data();
    return Worksheet(app_, book_, book.sheets.at(static_cast<std::size_t>(book.activeSheet)).get());
}

void Workbook::SaveAs(const std::string& path, int fileFormat) const
{
    WorkbookData& book = data();
    if (fileFormat != xlWorkbookNormal && fileFormat != xlExcel8)
        throw SheetError("Unsupported file format: " + std::to_string(fileFormat) + " (only .xls workbooks are written).");
    if (path.empty())
        throw SheetError("Cannot save the workbook: no file name was given.");
    xls::writeWorkbook(book, path);
    book_->path = path;
    book_->name = fileName(path);
}

void Workbook::Close() const
{
    data();
    book_->open = false;
    book_->data.reset();
    book_->deletedSheets.clear();
    std::erase(app_->books, book_);
    if (app_->activeBook == book_)
        app_->activeBook = app_->books.empty() ? nullptr : app_->books.back();
    detail::forgetActiveSheet(*app_);
}

std::string Workbook::FullName() const
{
    data();
    return book_->path;
}

std::string Workbook::Name() const
{
    data();
    return book_->name;
}

// ---- Workbooks ----

WorkbookCollection::WorkbookCollection(std::shared_ptr<detail::AppState> app) : app_(std::move(app)) {}

Workbook WorkbookCollection::add() const
{
    detail::requireRunning(*app_);
    auto book = std::make_shared<detail::BookState>();
    book->data = std::make_unique<WorkbookData>();
    for (int n = 1; n <= 3; ++n) {
        auto sheet = std::make_unique<SheetData>();
        sheet->name = "Sheet" + std::to_string(n);
        book->data->sheets.push_back(std::move(sheet));
    }
    book->data->activeSheet = 0;
    book->name = "Book" + std::to_string(++app_->booksMade);
    app_->books.push_back(book);
    app_->activeBook = book;
    detail::forgetActiveSheet(*app_);
    return Workbook(app_, book);
}

Workbook WorkbookCollection::Open(const std::string& path) const
{
    detail::requireRunning(*app_);
    auto book = std::make_shared<detail::BookState>();
    book->data = xls::readWorkbook(path);
    if (!book->data)
        throw SheetError("Cannot open the workbook " + path + ": the file could not be read.");
    requireConsistent(*book->data, path);
    book->path = path;
    book->name = fileName(path);
    app_->books.push_back(book);
    app_->activeBook = book;
    detail::forgetActiveSheet(*app_);
    return Workbook(app_, book);
}

int WorkbookCollection::count() const
{
    detail::requireRunning(*app_);
    return static_cast<int>(app_->books.size());
}

Workbook WorkbookCollection::item(int index) const
{
    detail::requireRunning(*app_);
    const int total = static_cast<int>(app_->books.size());
    if (index < 1 || index > total)
        throw SheetError("Workbook index out of range: " + std::to_string(index) + " (" + std::to_string(total) +
                         (total == 1 ? " workbook is open)." : " workbooks are open)."));
    return Workbook(app_, app_->books[static_cast<std::size_t>(index - 1)]);
}

}  // namespace sheet
