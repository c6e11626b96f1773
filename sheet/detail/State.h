// What the object model's handles share: the running state of an application and its open
// workbooks. Handles hold these by shared pointer and check them on every call, so a handle that
// outlives its application, workbook or sheet fails with a clear message instead of touching
// freed data.
#pragma once

#include "sheet/model/SheetData.h"

#include <memory>
#include <string>
#include <vector>

namespace sheet::detail {

struct BookState {
    std::unique_ptr<WorkbookData> data;
    bool open = true;
    std::string name;  // "Book1", or the file name once opened or saved
    std::string path;
    // Deleted sheets are kept until the workbook closes so that their addresses are never reused
    // by a new sheet while an old handle may still point at them.
    std::vector<std::unique_ptr<SheetData>> deletedSheets;
};

struct AppState {
    bool running = true;
    bool visible = false;
    bool screenUpdating = true;
    bool displayAlerts = true;
    bool enableEvents = true;
    int enableCancelKey = 1;  // xlInterrupt
    int cursor = -4143;       // xlDefault
    int booksMade = 0;
    std::vector<std::shared_ptr<BookState>> books;
    std::shared_ptr<BookState> activeBook;
};

// Each throws SheetError with a message for the user when the object may no longer be used.
void requireRunning(const AppState& app);
WorkbookData& requireOpen(const AppState& app, const BookState& book);
SheetData& requireSheet(const AppState& app, const BookState& book, SheetData* sheet);
// Position of the sheet in its workbook, 0-based; -1 when it is not there.
int indexOfSheet(const WorkbookData& data, const SheetData* sheet);

}  // namespace sheet::detail
