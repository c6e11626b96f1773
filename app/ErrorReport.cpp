// The error report's text and its message box.
#include "app/ErrorReport.h"

#include "app/BuildConfig.h"
#include "app/Dialogs.h"
#include "app/VisibleText.h"

#include "store/Connection.h"

#include <vector>

namespace app {

QString errorSourceLabel(const QString& owner, const QString& procedure)
{
    return QStringLiteral("in Rostellix2021/08/31.") + owner + QLatin1Char('.') + procedure + QLatin1Char(' ');
}

QString applicationErrorText(const QString& label, int line, const QString& description)
{
    return visibleText(description) + QStringLiteral("\r\n") + label + QStringLiteral("at line ") + QString::number(line)
        + QStringLiteral("\r\r") + QStringLiteral("Please email screenshot of this message to ")
        + QString::fromUtf8(config::kSupportEmail);
}

namespace {

// Reports met while a change's transaction is open, shown once it has ended: a message box that
// waits for the user must not hold the roster's locks.
std::vector<QString>& heldReports()
{
    static std::vector<QString> held;
    return held;
}

void showHeldReports()
{
    std::vector<QString> held;
    held.swap(heldReports());
    for (const QString& text : held)
        MsgBox(text, msg::kExclamation, QStringLiteral("Application Error"));
}

}  // namespace

void ShowApplicationError(const QString& label, int line, const QString& description)
{
    const QString text = applicationErrorText(label, line, description);
    if (store::sharedIsOpen() && store::shared().inTransaction()) {
        heldReports().push_back(text);
        store::shared().whenTransactionEnds(showHeldReports);
        return;
    }
    MsgBox(text, msg::kExclamation, QStringLiteral("Application Error"));
}

}  // namespace app
