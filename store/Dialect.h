// Where the two stores' SQL differs, all in one place: the SQLite file (the default) and a
// PostgreSQL server that several planners share. Every statement text not built from these pieces
// is the same on both; the tables, views, columns and 'HH:MM:SS' time texts are the same too,
// each store made from its own schema (schema.sql for the file's template, ServerSetup.cpp on a
// server).
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QSqlDatabase;
class QSqlError;

namespace store {

enum class Engine { SQLite, PostgreSQL };

// The rules that read and then write, each in one transaction that no other planner's change
// under the same rule can come between.
enum class WriteRule {
    AddShift,        // the overlap check and the insert of a shift for one employee
    AddEmployee,     // the look-up of an employee by name and position and its insert
    DeleteEmployee,  // the employee and its shifts on every weekday
    LoadSample,      // the whole sample data set: its look-ups and inserts, kept or dropped together
    ChangeDay,       // a weekday's shifts of every employee at once (copied onto it, or cleared)
    Upkeep,          // the store's own additions to its schema
};

// What went wrong, where the stores word it differently. A lost connection is told apart by
// connectionLost and connectionEnded.
// Busy: another connection holds what the statement needs (a lock), so a later try may work.
// ReadOnly: SQLite refused to write on a read-only connection; a read gets it when it would first
// have to undo the journal of a change that was cut off.
enum class FailureKind { Other, DiskFull, IdentifiersUsedUp, Busy, ReadOnly };

namespace dialect {

QString driverName(Engine engine);

// Settings of each new session (a server's; the file needs none): a backslash in a quoted text is
// a backslash, as the quoting of user text relies on; a lock another planner holds too long fails
// the step rather than freezing the window; the server's notices stay off the terminal; and a
// read-only connection refuses every change.
QStringList sessionSettings(Engine engine, bool readOnly);

// Names ordered and matched without regard to case. SQLite's name columns compare that way
// themselves (COLLATE NOCASE, which folds ASCII letters only); PostgreSQL's compare bytes
// (COLLATE "C") and the statement folds ASCII letters itself, so that both stores order and
// match names alike.
QString caselessOrder(Engine engine, const QString& column);
QString caselessEquals(Engine engine, const QString& column, const QString& quotedText);

// A transaction that only reads and sees one state of the roster throughout.
QString beginReading(Engine engine);
// A write transaction for the rule: SQLite takes the database's write lock at once (nothing else
// can write until it ends); PostgreSQL begins and then locks only what the rule touches: the
// employee's row, or for new employees the employee table against other inserts.
QStringList beginWriting(Engine engine, WriteRule rule, std::optional<qint64> employeeId);

// The names of the tables and views the database holds (where the program looks for its own).
QString objectNames(Engine engine);

// A failed statement aborts a PostgreSQL transaction whole; a savepoint around each statement
// keeps the others of the transaction usable, as they are on SQLite. Empty where not needed.
QString markStatement(Engine engine);
// SQLite's counter of changes other connections kept; the server's channel that announces them.
QString dataVersion();
QString changeChannel();
// The statement a kept change announces itself with; empty where nothing listens.
QString announceChange(Engine engine);

// Takes what the server has sent the connection and says whether it holds an announcement of a
// change made by another session (nothing is asked of the server). False for SQLite.
bool takeAnnouncements(Engine engine, const QSqlDatabase& database);
QString listenForChanges();  // listen rostelle_roster

// A part of a larger change (Connection::beginPart), the same on both stores.
QString beginPart();
QString keepPart();
QString undoPart();
QString keepStatement(Engine engine);
QString undoStatement(Engine engine);

// The largest identifier a table has given out, for telling a used-up table from a full disk
// (SQLite says "database or disk is full" to both). Empty where the failure itself says which.
QString identifierSequence(Engine engine, const QString& table);

FailureKind classify(Engine engine, const QSqlError& error);
// The database's own description, without PostgreSQL's severity prefix, code and statement echo.
QString describe(Engine engine, const QSqlError& error);
// Whether the connection to a server has gone (restarted, network down): by the connection's
// state, or by a failure that says so before the connection knows (the server ending the session).
bool connectionLost(Engine engine, const QSqlDatabase& database);
bool connectionEnded(Engine engine, const QSqlError& error);

}  // namespace dialect
}  // namespace store
