// The week's hours from the command line, as CSV, to a file or to standard output.
//   rostelle --hours [FILE.csv]
#pragma once

#include "commands/CommandLine.h"

namespace commands {

// Exit codes: 0 written, 1 failed (stderr says why), 2 the options cannot be used.
HeadlessCommand hoursCommand();
int runHours(const QString& csvPath);

}  // namespace commands
