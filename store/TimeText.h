// Times of day as the program writes them:
//  - list text    "hh:nn:ss AMPM"  e.g. "08:30:00 AM", "12:00:00 AM" (midnight), "12:00:00 PM" (noon):
//                 the entries of the time lists;
//  - stored text  "HH:MM:SS"       24-hour, so text order is time order ("00:00:00" is midnight);
//  - display text "h:mm:ss AM/PM"  e.g. "8:30:00 AM": the shift list and the sheet.
// Fixed forms, never the machine's locale.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>

#include <optional>

namespace store {

QString listTimeText(QTime time);
QString storedTimeText(QTime time);
QString displayTimeText(QTime time);

// Strict parsers; nullopt when the text is not of that form (seconds and minutes 00..59).
std::optional<QTime> parseListTime(const QString& text);
std::optional<QTime> parseStoredTime(const QString& text);
// The same from the text's UTF-8 bytes, as SQLite keeps it. Both read every text alike: a byte
// beyond ASCII is no digit, colon or line break, and no run of such bytes stands for one.
std::optional<QTime> parseStoredTimeUtf8(QByteArrayView text);
// Accepts a one- or two-digit hour ("8:30:00 AM" and "08:30:00 AM").
std::optional<QTime> parseDisplayTime(const QString& text);

// Conversions between the forms; a malformed input throws StoreError naming the text.
QString storedFromListText(const QString& listText);
QString listTextFromStored(const QString& storedText);
// A stored field read back from the database: null or empty gives an empty text.
QString displayTextFromStored(const QVariant& storedField);
// null or empty gives an invalid QTime.
QTime timeFromStored(const QVariant& storedField);

// The entries of a time list: from 12:00:00 AM in steps of stepMinutes up to the last one not
// later than 11:59 PM (24 entries for 60, 48 for 30, 96 for 15). A step below 1 gives no entries.
QStringList timeListEntries(int stepMinutes);

}  // namespace store
