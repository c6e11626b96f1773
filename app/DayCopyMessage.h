// What copying a day did, in the words the planner reads after it (the window's message and the
// command's output alike): how many shifts went to which days, and which were skipped, the list
// cut after ten.
#pragma once

#include "store/RosterRules.h"

#include <QString>

#include <optional>

namespace app {

QString dayCopyMessage(const store::DayCopy& copy);

// A weekday named in English, in any case ("monday", "Monday"); nullopt for anything else.
std::optional<store::Weekday> weekdayFromName(const QString& name);

}  // namespace app
