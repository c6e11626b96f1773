// The file format number from the version text, read with the regional decimal separator.
#include "report/FileFormat.h"

#include "app/Trap.h"

#include "sheet/Application.h"
#include "sheet/model/Constants.h"

#include <cmath>
#include <limits>
#include <memory>

namespace report::EmployeeShiftSchedule {

QString LocalDecimalSeparator(const QLocale& locale)
{
    const QString half = locale.toString(0.5).trimmed();
    if (half.size() < 2)
        throw app::Failure(QStringLiteral("The regional settings write one half as \"%1\".").arg(half));
    return half.mid(1, 1);
}

int ExcelFileFormatForVersion(const QString& versionText, const QLocale& locale)
{
    const QString separator = LocalDecimalSeparator(locale);
    QString text = versionText;
    text.replace(QLatin1Char('.'), separator);
    text.replace(QLatin1Char(','), separator);
    bool ok = false;
    const double number = locale.toDouble(text.trimmed(), &ok);
    if (!ok)
        throw app::Failure(QStringLiteral("The spreadsheet version \"%1\" is not a number.").arg(versionText));
    const double rounded = std::nearbyint(number);
    if (rounded < std::numeric_limits<std::int16_t>::min() || rounded > std::numeric_limits<std::int16_t>::max())
        throw app::Failure(QStringLiteral("The spreadsheet version \"%1\" is too large.").arg(versionText));
    return rounded < 12 ? sheet::xlWorkbookNormal : sheet::xlExcel8;
}

int ExcelFileFormat(sheet::Application* application)
{
    QString version;
    if (!application) {
        auto asked = std::make_unique<sheet::Application>();
        version = QString::fromStdString(asked->Version());
        asked->Quit();
    } else {
        version = QString::fromStdString(application->Version());
    }
    return ExcelFileFormatForVersion(version);
}

}  // namespace report::EmployeeShiftSchedule
