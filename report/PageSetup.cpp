// Page setup through the application object; each margin is converted by the application just
// before it is assigned.
#include "report/PageSetup.h"

#include "report/Automation.h"

#include "app/Trap.h"

#include "sheet/model/Constants.h"

namespace report::EmployeeShiftSchedule {
namespace {

sheet::SheetPageSetup pageSetup() { return xlApp().ActiveSheet().PageSetup(); }
double inches(double value) { return xlApp().InchesToPoints(value); }

}  // namespace

void PrinterSetup0()
{
    app::Trap trap(QStringLiteral("EmployeeShiftSchedule"), QStringLiteral("PrinterSetup0"));
    trap(100, [] { pageSetup().setPrintArea(std::string()); });
    trap(102, [] { pageSetup().setLeftMargin(inches(0.7)); });
    trap(104, [] { pageSetup().setRightMargin(inches(0.7)); });
    trap(106, [] { pageSetup().setTopMargin(inches(0.5)); });
    trap(108, [] { pageSetup().setBottomMargin(inches(0.5)); });
    trap(110, [] { pageSetup().setHeaderMargin(inches(0)); });
    trap(112, [] { pageSetup().setFooterMargin(inches(0)); });
    trap(114, [] { pageSetup().setPrintComments(sheet::xlPrintNoComments); });
    trap(116, [] { pageSetup().setOrientation(sheet::xlLandscape); });
    trap(118, [] { pageSetup().setPaperSize(sheet::xlPaperA4); });
    trap(120, [] { pageSetup().setZoom(false); });
    trap(122, [] { pageSetup().setFitToPagesWide(1); });
    trap(124, [] { pageSetup().setFitToPagesTall(1); });
}

}  // namespace report::EmployeeShiftSchedule
