// Workbooks of an application in the automation object model: their sheets, the active sheet,
// saving as an .xls file and closing. A workbook handle fails with a SheetError once the workbook
// is closed or its application quit.
#pragma once

#include "sheet/Worksheet.h"

#include <memory>
#include <string>

namespace sheet {

// The worksheets of a workbook (Workbook::Sheets(), Application::Sheets()).
class SheetCollection {
public:
    SheetCollection(std::shared_ptr<detail::AppState> app, std::shared_ptr<detail::BookState> book);
    int count() const;
    Worksheet item(int index) const;  // 1-based
    Worksheet item(const std::string& name) const;
    // A new sheet after the last one, made active.
    Worksheet add() const;

private:
    std::shared_ptr<detail::AppState> app_;
    std::shared_ptr<detail::BookState> book_;
};

class Workbook {
public:
    Workbook(std::shared_ptr<detail::AppState> app, std::shared_ptr<detail::BookState> book);

    SheetCollection Sheets() const;
    Worksheet ActiveSheet() const;
    // Writes the workbook as a BIFF8 .xls file; fileFormat is xlWorkbookNormal or xlExcel8.
    // The file is replaced whole or not at all.
    void SaveAs(const std::string& path, int fileFormat = xlExcel8) const;
    // Closes the workbook without saving; its handles fail afterwards.
    void Close() const;
    // The path it was opened from or last saved to; empty for a new workbook.
    std::string FullName() const;
    std::string Name() const;

    WorkbookData& data() const;
    bool operator==(const Workbook& other) const { return book_ == other.book_; }

private:
    std::shared_ptr<detail::AppState> app_;
    std::shared_ptr<detail::BookState> book_;
};

// The open workbooks of an application (Application::Workbooks()).
class WorkbookCollection {
public:
    explicit WorkbookCollection(std::shared_ptr<detail::AppState> app);
    // A new workbook with the sheets "Sheet1".."Sheet3"; it becomes the active workbook with its
    // first sheet active.
    Workbook add() const;
    // Reads an .xls file; it becomes the active workbook.
    Workbook Open(const std::string& path) const;
    int count() const;
    Workbook item(int index) const;  // 1-based

private:
    std::shared_ptr<detail::AppState> app_;
};

}  // namespace sheet
