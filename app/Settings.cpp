// Reading and writing the remembered choices.
#include "app/Settings.h"

#include "app/Trap.h"

#include <QDate>
#include <QLocale>
#include <QSettings>

namespace app {
namespace {

constexpr const char* kOrganisation = "Tarrowby";
constexpr const char* kApplication = "Tarrowby";
constexpr const char* kGroup = "Rostelle Software";

QString keyPath(const char* key) { return QString::fromUtf8(kGroup) + QLatin1Char('/') + QString::fromUtf8(key); }

bool truthOr(const char* key, bool fallback)
{
    const auto text = Settings::stored(key);
    return text ? Settings::toTruth(*text) : fallback;
}

QString boolText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

}  // namespace

std::optional<QString> Settings::stored(const char* key)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kOrganisation, kApplication);
    const QVariant value = settings.value(keyPath(key));
    if (!value.isValid())
        return std::nullopt;
    return value.toString();
}

void Settings::store(const char* key, const QString& value)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kOrganisation, kApplication);
    settings.setValue(keyPath(key), value);
    settings.sync();
}

QString Settings::fileName()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, kOrganisation, kApplication).fileName();
}

int Settings::toNumber(const QString& text)
{
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    if (!ok)
        throw Failure(QStringLiteral("The remembered value \"%1\" is not a number.").arg(text));
    return number;
}

bool Settings::toTruth(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = trimmed.toDouble(&ok);
    if (!ok)
        throw Failure(QStringLiteral("The remembered value \"%1\" is neither True, False nor a number.").arg(text));
    return number != 0.0;
}

int Settings::employeeIndex()
{
    const auto text = stored(kEmployeeIndex);
    return text ? toNumber(*text) : 0;
}

void Settings::setEmployeeIndex(int index) { store(kEmployeeIndex, QString::number(index)); }
void Settings::setTimeInIndex(int index) { store(kTimeInIndex, QString::number(index)); }

bool Settings::hourly() { return truthOr(kHourly, true); }
bool Settings::halfHour() { return truthOr(kHalfHour, false); }
bool Settings::fifteenMinutes() { return truthOr(kFifteenMinutes, false); }

void Settings::setIntervalOptions(bool hourly, bool halfHour, bool fifteenMinutes)
{
    store(kHourly, boolText(hourly));
    store(kHalfHour, boolText(halfHour));
    store(kFifteenMinutes, boolText(fifteenMinutes));
}

Interval Settings::interval()
{
    // The options are set in this order, each true one clearing the others, so the last true wins.
    Interval chosen = Interval::Hourly;
    if (hourly())
        chosen = Interval::Hourly;
    if (halfHour())
        chosen = Interval::HalfHour;
    if (fifteenMinutes())
        chosen = Interval::FifteenMinutes;
    return chosen;
}

QString Settings::department() { return stored(kDepartment).value_or(QString()); }
void Settings::setDepartment(const QString& text) { store(kDepartment, text); }

QString Settings::forAWeek()
{
    if (const auto text = stored(kForAWeek))
        return *text;
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}
void Settings::setForAWeek(const QString& text) { store(kForAWeek, text); }

QString Settings::saveFolder() { return stored(kSaveFolder).value_or(QString()); }
void Settings::setSaveFolder(const QString& folder) { store(kSaveFolder, folder); }

QString Settings::pageLayout() { return stored(kPageLayout).value_or(QStringLiteral("one")).trimmed(); }
void Settings::setPageLayout(const QString& word) { store(kPageLayout, word); }

QString Settings::database() { return stored(kDatabase).value_or(QString()).trimmed(); }

}  // namespace app
