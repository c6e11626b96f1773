// Conversions between the list, stored and display forms of a time of day.
#include "store/TimeText.h"

#include "store/StoreError.h"

#include <QRegularExpression>

namespace store {

namespace {

int twelveHour(int hour24)
{
    const int h = hour24 % 12;
    return h == 0 ? 12 : h;
}

// Times are formed by hand: lists, the shift list and the sheet show thousands of them, and a
// formatted argument costs many times the few characters it makes.
void appendTwoDigits(QString& text, int value)
{
    text += QChar(u'0' + value / 10 % 10);
    text += QChar(u'0' + value % 10);
}

// "h:mm:ss AM" with the hour as given, one or two digits, or always two.
QString twelveHourText(QTime time, bool twoDigitHour)
{
    QString text;
    text.reserve(11);
    const int hour = twelveHour(time.hour());
    if (twoDigitHour || hour >= 10)
        appendTwoDigits(text, hour);
    else
        text += QChar(u'0' + hour);
    text += QLatin1Char(':');
    appendTwoDigits(text, time.minute());
    text += QLatin1Char(':');
    appendTwoDigits(text, time.second());
    text += time.hour() < 12 ? QLatin1String(" AM") : QLatin1String(" PM");
    return text;
}

// hour on the 12-hour clock (1..12), minutes, seconds, AM/PM
std::optional<QTime> parseTwelveHour(const QString& text, const QRegularExpression& form)
{
    const auto match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int hour = match.captured(1).toInt();
    const int minute = match.captured(2).toInt();
    const int second = match.captured(3).toInt();
    if (hour < 1 || hour > 12 || minute > 59 || second > 59)
        return std::nullopt;
    const bool pm = match.captured(4) == QLatin1String("PM");
    return QTime(hour % 12 + (pm ? 12 : 0), minute, second);
}

}  // namespace

QString listTimeText(QTime time) { return twelveHourText(time, true); }

QString storedTimeText(QTime time)
{
    QString text;
    text.reserve(8);
    appendTwoDigits(text, time.hour());
    text += QLatin1Char(':');
    appendTwoDigits(text, time.minute());
    text += QLatin1Char(':');
    appendTwoDigits(text, time.second());
    return text;
}

QString displayTimeText(QTime time) { return twelveHourText(time, false); }

std::optional<QTime> parseListTime(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d\\d):(\\d\\d):(\\d\\d) (AM|PM)$"));
    return parseTwelveHour(text, form);
}

std::optional<QTime> parseDisplayTime(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d\\d?):(\\d\\d):(\\d\\d) (AM|PM)$"));
    return parseTwelveHour(text, form);
}

namespace {

// hh:mm:ss, read by hand: the report reads thousands of these. As the pattern match it replaced,
// a single line break after the seconds is let through. charAt gives the character at a position
// as a UTF-16 code unit.
template <class CharAt>
std::optional<QTime> storedTimeOf(qsizetype length, CharAt charAt)
{
    if (length != 8 && !(length == 9 && charAt(8) == u'\n'))
        return std::nullopt;
    const auto digit = [&](qsizetype i) {
        const char16_t c = charAt(i);
        return c >= u'0' && c <= u'9' ? c - u'0' : -1;
    };
    const auto field = [&](qsizetype i) {
        const int tens = digit(i);
        const int ones = digit(i + 1);
        return tens < 0 || ones < 0 ? -1 : tens * 10 + ones;
    };
    if (charAt(2) != u':' || charAt(5) != u':')
        return std::nullopt;
    const int hour = field(0);
    const int minute = field(3);
    const int second = field(6);
    if (hour < 0 || minute < 0 || second < 0 || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return QTime::fromMSecsSinceStartOfDay(((hour * 60 + minute) * 60 + second) * 1000);
}

}  // namespace

std::optional<QTime> parseStoredTime(const QString& text)
{
    return storedTimeOf(text.size(), [&](qsizetype i) { return text[i].unicode(); });
}

std::optional<QTime> parseStoredTimeUtf8(QByteArrayView text)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    return storedTimeOf(text.size(), [bytes](qsizetype i) { return char16_t(bytes[i]); });
}

QString storedFromListText(const QString& listText)
{
    const auto time = parseListTime(listText);
    if (!time)
        throw StoreError(QStringLiteral("\"%1\" is not a time of day (hh:mm:ss AM/PM).").arg(listText));
    return storedTimeText(*time);
}

QString listTextFromStored(const QString& storedText)
{
    const auto time = parseStoredTime(storedText);
    if (!time)
        throw StoreError(QStringLiteral("The stored time \"%1\" is not a time of day.").arg(storedText));
    return listTimeText(*time);
}

QTime timeFromStored(const QVariant& storedField)
{
    if (storedField.isNull())
        return {};
    const QString text = storedField.toString();
    if (text.isEmpty())
        return {};
    const auto time = parseStoredTime(text);
    if (!time)
        throw StoreError(QStringLiteral("The stored time \"%1\" is not a time of day.").arg(text));
    return *time;
}

QString displayTextFromStored(const QVariant& storedField)
{
    const QTime time = timeFromStored(storedField);
    return time.isValid() ? displayTimeText(time) : QString();
}

QStringList timeListEntries(int stepMinutes)
{
    QStringList entries;
    if (stepMinutes < 1)
        return entries;
    // Counted in minutes from midnight so the day's end never wraps around to the next day.
    for (int minutes = 0; minutes <= 23 * 60 + 59; minutes += stepMinutes)
        entries.append(listTimeText(QTime(minutes / 60, minutes % 60)));
    return entries;
}

}  // namespace store
