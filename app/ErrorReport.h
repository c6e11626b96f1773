// The error report: one message layout for every failure a trapped procedure meets.
#pragma once

#include <QString>

namespace app {

// "in Rostellix2021/08/31." + owner + "." + procedure + " "
QString errorSourceLabel(const QString& owner, const QString& procedure);

// The report's text: description (in its visible form, VisibleText.h), CR LF, label, "at line ", number, CR CR, e-mail request.
QString applicationErrorText(const QString& label, int line, const QString& description);

// Shows the report (title "Application Error", warning icon, OK) and returns when closed. While a
// change's transaction is open on the shared connection the report waits, and shows as soon as the
// transaction ends.
void ShowApplicationError(const QString& label, int line, const QString& description);

}  // namespace app
