// Checks that keep handles of the object model from outliving what they refer to.
#include "sheet/detail/State.h"

#include "sheet/model/SheetError.h"

namespace sheet::detail {

void throwNotRunning() { throw SheetError("The spreadsheet application is no longer running."); }

void throwClosed() { throw SheetError("The workbook has been closed."); }

int indexOfSheet(const WorkbookData& data, const SheetData* sheet)
{
    for (std::size_t i = 0; i < data.sheets.size(); ++i)
        if (data.sheets[i].get() == sheet)
            return static_cast<int>(i);
    return -1;
}

SheetData& requireSheet(const AppState& app, const BookState& book, SheetData* sheet)
{
    const WorkbookData& data = requireOpen(app, book);
    // The active sheet is the one almost every call goes to; look there first.
    const auto active = static_cast<std::size_t>(data.activeSheet);
    if (active < data.sheets.size() && data.sheets[active].get() == sheet)
        return *sheet;
    if (indexOfSheet(data, sheet) < 0)
        throw SheetError("The worksheet has been deleted.");
    return *sheet;
}

}  // namespace sheet::detail
