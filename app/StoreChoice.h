// Which store the program uses: the database the command line names with --database, else the
// one the setting "Database" names, else the SQLite working file. A server's password comes only
// from libpq's own places (~/.pgpass, PGPASSWORD): never from the settings file, and never from
// the command line, where every user of the computer sees it in the list of processes.
#pragma once

#include "store/Location.h"

#include <QCommandLineOption>
#include <QString>

namespace app {

// --database URI: taken by the window and by every command.
QCommandLineOption databaseOption();
// Why the URI of --database or --init-database cannot name a database (it holds a password, or
// libpq cannot read it), or an empty text when it can. Never repeats a password.
QString databaseUriRefusal(const QString& uri);

// The --database of this run; empty: none.
void chooseDatabase(const QString& uri);

// The store to open; throws a Failure (or a StoreError for a URI libpq cannot read) when the
// setting names a server with a password in it.
store::Location chosenStore(store::Access access);
// Whether the chosen store is the working file, which start-up makes from the template.
bool usesWorkingFile();
// Whether a connection's location is the chosen store (whatever its access).
bool isChosenStore(const store::Location& location);

// The main window's title: the product's name, and the shared roster when one is open.
QString windowTitle(const store::Location& open);

}  // namespace app
