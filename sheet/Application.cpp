// The application: its flags, its workbooks and the calls that act on its active sheet.
#include "sheet/Application.h"

#include "sheet/detail/Formatting.h"
#include "sheet/detail/State.h"
#include "sheet/model/SheetError.h"

#include <atomic>

namespace sheet {
namespace {

std::atomic<int> g_liveInstances{0};

}  // namespace

Application::Application() : state_(std::make_shared<detail::AppState>()) { ++g_liveInstances; }

Application::~Application()
{
    if (state_->running)
        Quit();
}

int Application::liveInstances() { return g_liveInstances.load(); }

bool Application::Visible() const { detail::requireRunning(*state_); return state_->visible; }
void Application::setVisible(bool visible) { detail::requireRunning(*state_); state_->visible = visible; }
bool Application::ScreenUpdating() const { detail::requireRunning(*state_); return state_->screenUpdating; }
void Application::setScreenUpdating(bool on) { detail::requireRunning(*state_); state_->screenUpdating = on; }
bool Application::DisplayAlerts() const { detail::requireRunning(*state_); return state_->displayAlerts; }
void Application::setDisplayAlerts(bool on) { detail::requireRunning(*state_); state_->displayAlerts = on; }
bool Application::EnableEvents() const { detail::requireRunning(*state_); return state_->enableEvents; }
void Application::setEnableEvents(bool on) { detail::requireRunning(*state_); state_->enableEvents = on; }
int Application::EnableCancelKey() const { detail::requireRunning(*state_); return state_->enableCancelKey; }
int Application::Cursor() const { detail::requireRunning(*state_); return state_->cursor; }

void Application::setEnableCancelKey(int mode)
{
    detail::requireRunning(*state_);
    if (mode != xlDisabled && mode != xlInterrupt && mode != xlErrorHandler)
        throw SheetError("Unknown cancel key mode: " + std::to_string(mode));
    state_->enableCancelKey = mode;
}

void Application::setCursor(int cursor)
{
    detail::requireRunning(*state_);
    if (cursor != xlDefault && cursor != xlWait && cursor != xlNorthwestArrow && cursor != xlIBeam)
        throw SheetError("Unknown cursor: " + std::to_string(cursor));
    state_->cursor = cursor;
}

std::string Application::Version() const
{
    detail::requireRunning(*state_);
    return "16.0";
}

double Application::InchesToPoints(double inches) const
{
    detail::requireRunning(*state_);
    return inches * 72.0;
}

void Application::Quit()
{
    detail::requireRunning(*state_);
    for (const auto& book : state_->books) {
        book->open = false;
        book->data.reset();
        book->deletedSheets.clear();
    }
    state_->books.clear();
    state_->activeBook.reset();
    state_->running = false;
    detail::forgetActiveSheet(*state_);
    --g_liveInstances;
}

bool Application::hasQuit() const { return !state_->running; }

WorkbookCollection Application::Workbooks() const
{
    detail::requireRunning(*state_);
    return WorkbookCollection(state_);
}

Workbook Application::ActiveWorkbook() const
{
    detail::requireRunning(*state_);
    if (!state_->activeBook)
        throw SheetError("No workbook is open.");
    return Workbook(state_, state_->activeBook);
}

SheetCollection Application::Sheets() const { return ActiveWorkbook().Sheets(); }
Worksheet Application::ActiveSheet() const { return ActiveWorkbook().ActiveSheet(); }

// The calls below run once or more for every cell written, so they go straight to the active
// sheet instead of through a chain of handles, and take it as last found while nothing changed
// it: the application, its workbooks and their sheets forget it on every change.
SheetData& Application::activeSheetData() const
{
    if (SheetData* sheet = state_->activeSheet) [[likely]]
        return *sheet;
    return findActiveSheet();
}

SheetData& Application::findActiveSheet() const
{
    detail::requireRunning(*state_);
    if (!state_->activeBook)
        throw SheetError("No workbook is open.");
    WorkbookData& book = detail::requireOpen(*state_, *state_->activeBook);
    SheetData& sheet = *book.sheets.at(static_cast<std::size_t>(book.activeSheet));
    state_->activeSheet = &sheet;
    return sheet;
}

sheet::Range Application::rangeOnActiveSheet(const CellRect& rect) const
{
    SheetData& sheet = activeSheetData();
    return sheet::Range(state_, state_->activeBook, &sheet, rect);
}

sheet::Range Application::Cells() const { return rangeOnActiveSheet(CellRect{1, 1, kMaxRows, kMaxColumns}); }
sheet::Range Application::Cells(int row, int column) const { return ActiveSheet().Cells(row, column); }
sheet::Range Application::Range(const std::string& address) const
{
    SheetData& sheet = activeSheetData();
    return sheet::Range(state_, state_->activeBook, &sheet, parseA1(address).rect);
}
sheet::Range Application::Range(const CellRect& block) const { return rangeOnActiveSheet(block); }
sheet::Range Application::Rows(const std::string& address) const { return ActiveSheet().Rows(address); }
sheet::Range Application::Columns(const std::string& address) const { return ActiveSheet().Columns(address); }
sheet::Range Application::Selection() const { return rangeOnActiveSheet(activeSheetData().selection); }
sheet::Range Application::ActiveCell() const
{
    const CellRef cell = activeSheetData().activeCell;
    return rangeOnActiveSheet(CellRect{cell.row, cell.column, cell.row, cell.column});
}

void Application::selectRange(const CellRect& block) const { detail::selectArea(activeSheetData(), block); }

void Application::setActiveCellText(const CellText& text) const
{
    if (text.empty()) {
        ActiveCell().setText(text);  // an emptied cell may go altogether
        return;
    }
    SheetData& sheet = activeSheetData();
    sheet.at(sheet.activeCell.row, sheet.activeCell.column).value = text;
}

void Application::mergeSelection() const
{
    SheetData& sheet = activeSheetData();
    detail::mergeArea(sheet, sheet.selection);
}

void Application::fillSelection(int colorIndex) const
{
    SheetData& sheet = activeSheetData();  // the active workbook is open when it has an active sheet
    detail::BookState& book = *state_->activeBook;
    detail::fillArea(sheet, book.data->formats, book.transitions, sheet.selection, colorIndex);
}

}  // namespace sheet
