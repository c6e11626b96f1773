// The module's application object and working workbook.
#include "report/Automation.h"

#include "app/Trap.h"

#include <memory>

namespace report::EmployeeShiftSchedule {
namespace {

std::unique_ptr<sheet::Application> g_application;
std::optional<sheet::Workbook> g_workbook;

}  // namespace

sheet::Application& xlApp()
{
    if (!g_application)
        throw app::Failure(QStringLiteral("No spreadsheet instance is running."));
    return *g_application;
}

sheet::Application* xlAppOrNull() { return g_application.get(); }

sheet::Workbook& workingWorkbook()
{
    if (!g_workbook)
        throw app::Failure(QStringLiteral("There is no working workbook."));
    return *g_workbook;
}

void setWorkingWorkbook(std::optional<sheet::Workbook> workbook) { g_workbook = std::move(workbook); }

void LoadExcel()
{
    app::Trap trap(QStringLiteral("EmployeeShiftSchedule"), QStringLiteral("LoadExcel"));
    trap(100, [] {
        g_workbook.reset();
        g_application = std::make_unique<sheet::Application>();
    });
}

void ReleaseExcel()
{
    g_workbook.reset();
    g_application.reset();
}

}  // namespace report::EmployeeShiftSchedule
