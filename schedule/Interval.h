// The spacing of a schedule's time slots: one hour, half an hour or a quarter of an hour. The time
// lists, the settings, the sheet's columns and the command line all speak of it.
#pragma once

#include <QString>

#include <optional>

namespace schedule {

enum class Interval { Hourly = 60, HalfHour = 30, FifteenMinutes = 15 };

inline int stepMinutes(Interval interval) { return static_cast<int>(interval); }

// The interval a command-line word names (hourly, half-hour, 15-minutes), or nullopt.
inline std::optional<Interval> intervalFromWord(const QString& word)
{
    const QString w = word.trimmed().toLower();
    if (w == QStringLiteral("hourly"))
        return Interval::Hourly;
    if (w == QStringLiteral("half-hour"))
        return Interval::HalfHour;
    if (w == QStringLiteral("15-minutes"))
        return Interval::FifteenMinutes;
    return std::nullopt;
}

}  // namespace schedule
