// The command line's sample load: the data steps of start-up (folders, template copy, connection)
// and the sample data procedure, without a window. Failures are reported in the error report's
// format on stderr.
#pragma once

#include "app/CommandLine.h"
#include "app/Settings.h"

#include <optional>

namespace app {

// "--load-sample [--interval hourly|half-hour|15-minutes]"
HeadlessCommand loadSampleCommand();

// The interval a command-line word names, or nullopt for a word we do not know.
std::optional<Interval> intervalFromWord(const QString& word);

// Runs the load; the remembered interval stands in when none is given. Returns 0 when nothing
// failed, 1 otherwise.
int runLoadSample(std::optional<Interval> interval);

}  // namespace app
