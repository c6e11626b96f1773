// The command line's sample load: the data steps of start-up (folders, template copy, connection)
// and the sample data procedure, without a window. Failures are reported in the error report's
// format on stderr.
#pragma once

#include "commands/CommandLine.h"
#include "schedule/Interval.h"

#include <optional>

namespace commands {

// "--load-sample [--interval hourly|half-hour|15-minutes]"
HeadlessCommand loadSampleCommand();


// Runs the load; the remembered interval stands in when none is given. Returns 0 when nothing
// failed, 1 otherwise.
int runLoadSample(std::optional<schedule::Interval> interval);

}  // namespace commands
