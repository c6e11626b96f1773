// Setting the roster up in a PostgreSQL database: the tables, views and indexes of the SQLite
// template, with the same names, columns and meanings.
#pragma once

#include "store/Location.h"

namespace store {

enum class SetupOutcome {
    Created,      // the database held none of the roster's objects; now it holds them all
    Completed,    // it held some of them; the missing ones were added
    AlreadyThere  // it held them all; nothing was changed
};

// Creates what the database lacks, in one transaction. Refuses, with a StoreError and nothing
// changed, a database that holds a table or view of one of the roster's names with other columns
// (or a table where a view belongs, or the other way round). Several setups at once wait for
// each other, so running it twice, or twice at once, sets the roster up once.
SetupOutcome setUpServerDatabase(const Location& location);

}  // namespace store
