// Formatting primitives on the application object. Those without a trap let a failure pass to
// their caller, whose trap reports it under the caller's label.
#include "report/Primitives.h"

#include "report/Automation.h"

#include "app/Trap.h"

#include "sheet/model/Constants.h"

#include <optional>
#include <string>

namespace report::EmployeeShiftSchedule {
namespace {

std::string utf8(const QString& text) { return text.toStdString(); }

const QString kModule = QStringLiteral("EmployeeShiftSchedule");

std::function<void(int, int)> g_borderObserver;

}  // namespace

void PutText(const QString& range, const QString& text, bool merge)
{
    sheet::Application& xl = xlApp();
    xl.Range(utf8(range)).Select();
    xl.ActiveCell().setFormulaR1C1(utf8(text));
    if (merge)
        xl.Selection().Merge();
}

void PutUserText(const QString& range, const QString& text, bool merge)
{
    sheet::Application& xl = xlApp();
    xl.Range(utf8(range)).Select();
    xl.ActiveCell().setText(utf8(text));
    if (merge)
        xl.Selection().Merge();
}

void PutUserText(const sheet::CellRect& range, const sheet::CellText& text, bool merge)
{
    sheet::Application& xl = xlApp();
    xl.selectRange(range);
    xl.setActiveCellText(text);
    if (merge)
        xl.mergeSelection();
}

void SetFont(const QString& style, double size, int colorIndex)
{
    sheet::RangeFont font = xlApp().Selection().Font();
    font.setFontStyle(utf8(style));
    font.setSize(size);
    font.setColorIndex(colorIndex);
}

void SetFontAlignment(int horizontalAlignment)
{
    app::Trap trap(kModule, QStringLiteral("SetFontAlignment"));
    trap(100, [&] { xlApp().Selection().setHorizontalAlignment(horizontalAlignment); });
}

void SetAlignment(bool centreHorizontally, bool centreVertically, bool wrap)
{
    app::Trap trap(kModule, QStringLiteral("SetAlignment"));
    if (trap.test(100, [&] { return centreHorizontally; }))
        trap(102, [] { xlApp().Selection().setHorizontalAlignment(sheet::xlCenter); });
    if (trap.test(104, [&] { return centreVertically; }))
        trap(106, [] { xlApp().Selection().setVerticalAlignment(sheet::xlCenter); });
    if (trap.test(108, [&] { return wrap; }))
        trap(110, [] { xlApp().Selection().setWrapText(true); });
}

void SetRowHeight(const QString& rows, double height)
{
    sheet::Application& xl = xlApp();
    xl.Rows(utf8(rows)).Select();
    xl.Selection().setRowHeight(height);
}

void SetColumnWidth(const QString& columns, double width)
{
    sheet::Application& xl = xlApp();
    xl.Columns(utf8(columns)).Select();
    xl.Selection().setColumnWidth(width);
}

void FillCells(const QString& range, int colorIndex)
{
    sheet::Application& xl = xlApp();
    if (!range.isEmpty())
        xl.Range(utf8(range)).Select();
    xl.Selection().Interior().setColorIndex(colorIndex);
}

void FillCells(const sheet::CellRect& range, int colorIndex)
{
    sheet::Application& xl = xlApp();
    xl.selectRange(range);
    xl.fillSelection(colorIndex);
}

void DrawBorder0(const QString& range, bool insideHorizontal, bool left, bool right, bool top, bool bottom,
                 bool insideVertical, int colorIndex)
{
    app::Trap trap(kModule, QStringLiteral("DrawBorder0"));
    if (trap.test(100, [&] { return !range.isEmpty(); }))
        trap(102, [&] { xlApp().Range(utf8(range)).Select(); });
    if (trap.test(104, [&] { return left; }))
        trap(106, [&] { DrawSingleBorder(sheet::xlEdgeLeft, colorIndex); });
    if (trap.test(108, [&] { return top; }))
        trap(110, [&] { DrawSingleBorder(sheet::xlEdgeTop, colorIndex); });
    if (trap.test(112, [&] { return bottom; }))
        trap(114, [&] { DrawSingleBorder(sheet::xlEdgeBottom, colorIndex); });
    if (trap.test(116, [&] { return right; }))
        trap(118, [&] { DrawSingleBorder(sheet::xlEdgeRight, colorIndex); });
    if (trap.test(120, [&] { return insideHorizontal; }))
        trap(122, [&] { DrawSingleBorder(sheet::xlInsideHorizontal, colorIndex); });
    if (trap.test(124, [&] { return insideVertical; }))
        trap(126, [&] { DrawSingleBorder(sheet::xlInsideVertical, colorIndex); });
}

void DrawSingleBorder(int edge, int colorIndex)
{
    app::Trap trap(kModule, QStringLiteral("DrawSingleBorder"));
    if (g_borderObserver)
        g_borderObserver(edge, colorIndex);
    // The line and its colour are set in one pass over the selection's cells: the line's step
    // finds the edge, the colour's step draws both. Where the edge cannot be found the colour's
    // step tries on its own, as it always has.
    std::optional<sheet::RangeBorder> border;
    trap(100, [&] { border.emplace(xlApp().Selection().Borders(edge)); });
    trap(102, [&] {
        if (border)
            border->setContinuousLine(colorIndex);
        else
            xlApp().Selection().Borders(edge).setColorIndex(colorIndex);
    });
}

void setBorderObserver(std::function<void(int edge, int colorIndex)> observer)
{
    g_borderObserver = std::move(observer);
}

}  // namespace report::EmployeeShiftSchedule
