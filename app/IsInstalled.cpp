// The spreadsheet availability check.
#include "app/IsInstalled.h"

#include "app/Dialogs.h"
#include "app/ProgramExit.h"

#include "sheet/Application.h"

#include <memory>

namespace app {
namespace {
std::function<bool()>& replacementCheck()
{
    static std::function<bool()> check;
    return check;
}
}  // namespace

void setSpreadsheetCheck(std::function<bool()> check) { replacementCheck() = std::move(check); }

bool spreadsheetAvailable()
{
    try {
        if (replacementCheck())
            return replacementCheck()();
        auto application = std::make_unique<sheet::Application>();
        application.reset();  // released at once, without any call on it
        return true;
    } catch (...) {
        return false;
    }
}

void IsInstalled()
{
    if (spreadsheetAvailable())
        return;
    const QString crlf = QStringLiteral("\r\n");
    MsgBox(QStringLiteral("Error 842001. A normal instance of Excel could not be created.") + crlf + crlf
           + QStringLiteral("1. Please make sure Excel is installed on this computer.") + crlf + crlf
           + QStringLiteral("2. Please open Excel normally and make sure a blank spreadsheet opens immediately without any "
                            "interrupting window (such as an Excel file recovery window).")
           + crlf + crlf
           + QStringLiteral("3. Please make sure that when you double-click on a XLS or XLSX file that Excel opens normally "
                            "without any interrupting messages.")
           + crlf + crlf
           + QStringLiteral("4. All versions of Excel are supported by this software except for the rare Excel Starter and "
                            "Student editions."),
           msg::kOkOnly);
    endProgram(0);
}

}  // namespace app
