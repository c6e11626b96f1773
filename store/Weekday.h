// The seven weekdays in tab order, and the names of the table and the view each one owns.
#pragma once

#include <QString>

#include <array>
#include <optional>

namespace store {

enum class Weekday { Monday, Tuesday, Wednesday, Thursday, Friday, Saturday, Sunday };

inline constexpr std::array<Weekday, 7> allWeekdays{Weekday::Monday,   Weekday::Tuesday, Weekday::Wednesday,
                                                    Weekday::Thursday, Weekday::Friday,  Weekday::Saturday,
                                                    Weekday::Sunday};

// Tab index 0..6; anything else has no weekday.
std::optional<Weekday> weekdayFromIndex(int index);
int weekdayIndex(Weekday day);

QString weekdayCaption(Weekday day);     // "Monday"
QString shiftTableName(Weekday day);     // "tblShiftMonday"
QString weekdayQueryName(Weekday day);   // "qryMonday"

}  // namespace store
