// The command line's setup of a shared roster: the roster's tables and views made in a PostgreSQL
// database, so that several planners can work on one roster.
//   rostelle --init-database URI
#pragma once

#include "commands/CommandLine.h"

namespace commands {

// Exit codes: 0 made or already there, 1 refused or failed (one line on stderr says why), 2 the
// options cannot be used.
HeadlessCommand initDatabaseCommand();

int runInitDatabase(const QString& uri);

}  // namespace commands
