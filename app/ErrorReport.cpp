// The error report's text and its message box.
#include "app/ErrorReport.h"

#include "app/BuildConfig.h"
#include "app/Dialogs.h"
#include "app/VisibleText.h"

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

void ShowApplicationError(const QString& label, int line, const QString& description)
{
    MsgBox(applicationErrorText(label, line, description), msg::kExclamation, QStringLiteral("Application Error"));
}

}  // namespace app
