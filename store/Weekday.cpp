// Weekday names and the per-weekday table and view names.
#include "store/Weekday.h"

namespace store {

std::optional<Weekday> weekdayFromIndex(int index)
{
    if (index < 0 || index >= static_cast<int>(allWeekdays.size()))
        return std::nullopt;
    return allWeekdays[static_cast<std::size_t>(index)];
}

int weekdayIndex(Weekday day)
{
    return static_cast<int>(day);
}

QString weekdayCaption(Weekday day)
{
    static const char* const captions[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                           "Friday", "Saturday", "Sunday"};
    return QString::fromLatin1(captions[weekdayIndex(day)]);
}

QString shiftTableName(Weekday day)
{
    return QStringLiteral("tblShift") + weekdayCaption(day);
}

QString weekdayQueryName(Weekday day)
{
    return QStringLiteral("qry") + weekdayCaption(day);
}

}  // namespace store
