// The spreadsheet application of the automation object model. Every Application is a new,
// separate instance with its own workbooks; it runs until Quit() or its destruction, after
// which every call on it or on anything it handed out fails with a SheetError. Calls such as
// Cells(), Range() and Selection() act on the active sheet of the active workbook.
#pragma once

#include "sheet/Workbook.h"

#include <memory>
#include <string>

namespace sheet {

class Application {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Instances created and not yet quit in this process.
    static int liveInstances();

    bool Visible() const;
    void setVisible(bool visible);
    bool ScreenUpdating() const;
    void setScreenUpdating(bool on);
    bool DisplayAlerts() const;
    void setDisplayAlerts(bool on);
    bool EnableEvents() const;
    void setEnableEvents(bool on);
    // xlDisabled, xlInterrupt or xlErrorHandler.
    int EnableCancelKey() const;
    void setEnableCancelKey(int mode);
    // xlDefault, xlWait, xlNorthwestArrow or xlIBeam.
    int Cursor() const;
    void setCursor(int cursor);

    std::string Version() const;  // "16.0"
    double InchesToPoints(double inches) const;
    // Closes every workbook without saving and ends the instance.
    void Quit();
    bool hasQuit() const;

    WorkbookCollection Workbooks() const;
    Workbook ActiveWorkbook() const;
    SheetCollection Sheets() const;
    Worksheet ActiveSheet() const;

    sheet::Range Cells() const;
    sheet::Range Cells(int row, int column) const;
    sheet::Range Range(const std::string& address) const;
    // The same block given as rows and columns, for callers that already know them.
    sheet::Range Range(const CellRect& block) const;
    sheet::Range Rows(const std::string& address) const;
    sheet::Range Columns(const std::string& address) const;
    sheet::Range Selection() const;
    sheet::Range ActiveCell() const;

    // The calls a sheet is built with most, each doing what the handle calls named beside it do,
    // with the same failures, but without making the handles: a big schedule makes hundreds of
    // thousands of them.
    void selectRange(const CellRect& block) const;      // Range(block).Select()
    void setActiveCellText(const CellText& text) const;  // ActiveCell().setText(text)
    void mergeSelection() const;                         // Selection().Merge()
    void fillSelection(int colorIndex) const;            // Selection().Interior().setColorIndex(colorIndex)

private:
    SheetData& activeSheetData() const;
    SheetData& findActiveSheet() const;
    sheet::Range rangeOnActiveSheet(const CellRect& rect) const;

    std::shared_ptr<detail::AppState> state_;
};

}  // namespace sheet
