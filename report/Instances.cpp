// Instance checks and the second instance of the report driver.
#include "report/Instances.h"

#include "app/Dialogs.h"
#include "app/FileNames.h"

namespace report::Excel1 {

bool IsExcelRunning()
{
    try {
        return sheet::Application::liveInstances() > 0;
    } catch (...) {
        return false;
    }
}

QString excelOpenQuestion()
{
    return QStringLiteral("Excel may be open. It is recommended that you close Excel first.") + QLatin1Char('\r')
        + QStringLiteral("Use Ctrl+Alt+Del > Task Manager > EXCEL.EXE if necessary.") + QStringLiteral("\r\n\r\n")
        + QStringLiteral("Would you like to proceed anyway?");
}

bool CancelIfExcelOpen()
{
    if (!IsExcelRunning())
        return false;
    return app::MsgBox(excelOpenQuestion(), app::msg::kYesNo) != app::msg::kYes;
}

std::unique_ptr<sheet::Application> OpenInNewExcel(const QString& path)
{
    auto instance = std::make_unique<sheet::Application>();
    instance->Workbooks().Open(app::toSystemBytes(path));
    return instance;
}

}  // namespace report::Excel1
