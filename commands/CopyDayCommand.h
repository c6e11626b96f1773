// Copying one weekday's shifts to other weekdays from the command line, as the window's tool does.
//   rostelle --copy-day DAY --to DAY[,DAY...]
#pragma once

#include "commands/CommandLine.h"

#include "store/Weekday.h"

#include <vector>

namespace commands {

// Exit codes: 0 copied (stdout says what), 1 failed (stderr says why, nothing was stored), 2 the
// options cannot be used.
HeadlessCommand copyDayCommand();
int runCopyDay(store::Weekday from, const std::vector<store::Weekday>& to);

}  // namespace commands
