// A worksheet of a workbook in the automation object model: its name, its cells, rows, columns
// and ranges in A1 form, its used range and its page setup. A worksheet handle fails with a
// SheetError once its sheet is deleted, its workbook closed or its application quit.
#pragma once

#include "sheet/Range.h"

#include <memory>
#include <optional>
#include <string>

namespace sheet {

// The page setup of a worksheet (Worksheet::PageSetup()); margins in points.
class SheetPageSetup {
public:
    SheetPageSetup(std::shared_ptr<detail::AppState> app, std::shared_ptr<detail::BookState> book, SheetData* sheet);

    // Empty: no print area. Otherwise an A1 address.
    void setPrintArea(const std::string& address);
    void setLeftMargin(double points);
    void setRightMargin(double points);
    void setTopMargin(double points);
    void setBottomMargin(double points);
    void setHeaderMargin(double points);
    void setFooterMargin(double points);
    // xlPrintNoComments, xlPrintSheetEnd or xlPrintInPlace.
    void setPrintComments(int mode);
    // xlPortrait or xlLandscape.
    void setOrientation(int orientation);
    void setPaperSize(int paperSize);
    // false: no fixed scale, the fit-to-pages values apply; a percent 10..400 fixes the scale.
    void setZoom(bool enabled);
    void setZoom(int percent);
    void setFitToPagesWide(int pages);
    void setFitToPagesTall(int pages);

    std::string PrintArea() const;
    double LeftMargin() const;
    double RightMargin() const;
    double TopMargin() const;
    double BottomMargin() const;
    double HeaderMargin() const;
    double FooterMargin() const;
    int PrintComments() const;
    int Orientation() const;
    int PaperSize() const;
    std::optional<int> Zoom() const;
    int FitToPagesWide() const;
    int FitToPagesTall() const;

private:
    PageSetup& setup() const;

    std::shared_ptr<detail::AppState> app_;
    std::shared_ptr<detail::BookState> book_;
    SheetData* sheet_;
};

class Worksheet {
public:
    Worksheet(std::shared_ptr<detail::AppState> app, std::shared_ptr<detail::BookState> book, SheetData* sheet);

    std::string name() const;
    // Non-empty, at most 31 characters, none of : \ / ? * [ ], unique in the workbook (any case).
    void setName(const std::string& name) const;
    int Index() const;  // 1-based position in the workbook

    // Makes this the active sheet of its workbook.
    void Select() const;
    void Activate() const { Select(); }
    // Removes the sheet from its workbook; the last sheet of a workbook cannot be deleted.
    void Delete() const;

    sheet::Range Cells() const;
    sheet::Range Cells(int row, int column) const;
    sheet::Range Range(const std::string& address) const;
    sheet::Range Rows(const std::string& address) const;
    sheet::Range Columns(const std::string& address) const;
    // From the first to the last cell in use; A1 on an empty sheet.
    sheet::Range UsedRange() const;
    sheet::Range Selection() const;
    sheet::Range ActiveCell() const;

    SheetPageSetup PageSetup() const;

    SheetData& data() const;
    bool operator==(const Worksheet& other) const { return sheet_ == other.sheet_; }

private:
    std::shared_ptr<detail::AppState> app_;
    std::shared_ptr<detail::BookState> book_;
    SheetData* sheet_;
};

}  // namespace sheet
