// The differences between the SQLite file and the PostgreSQL server.
#include "store/Dialect.h"

#include "store/LibPq.h"
#include "store/Statements.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QVariant>


namespace store::dialect {

namespace {

// SQLite's primary result codes (an extended code holds its primary one in the low byte) for a
// write that found no room (SQLITE_FULL), a file another connection has locked (SQLITE_BUSY,
// SQLITE_LOCKED) and a write refused on a read-only connection (SQLITE_READONLY), which a read
// meets when it would first have to undo the journal of a change that was cut off.
constexpr int kSqliteFull = 13;
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteReadOnly = 8;
// PostgreSQL's codes for a sequence past its largest value and for a full disk.
constexpr const char* kPostgresSequenceEnd = "2200H";
constexpr const char* kPostgresDiskFull = "53100";
// PostgreSQL's code for a lock that was not granted within the lock timeout.
constexpr const char* kPostgresLockNotAvailable = "55P03";

}  // namespace

QString driverName(Engine engine)
{
    return engine == Engine::SQLite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL");
}

QStringList sessionSettings(Engine engine, bool readOnly)
{
    if (engine == Engine::SQLite)
        return {};
    QStringList settings{QStringLiteral("set standard_conforming_strings = on"),
                         QStringLiteral("set lock_timeout = '10s'"), QStringLiteral("set client_min_messages = warning")};
    if (readOnly)
        settings.append(QStringLiteral("set session characteristics as transaction read only"));
    return settings;
}

QString caselessOrder(Engine engine, const QString& column)
{
    return engine == Engine::SQLite ? column : QStringLiteral("lower(") + column + ')';
}

QString caselessEquals(Engine engine, const QString& column, const QString& quotedText)
{
    if (engine == Engine::SQLite)
        return column + '=' + quotedText;
    return QStringLiteral("lower(") + column + QStringLiteral(")=lower(") + quotedText + QStringLiteral(" collate \"C\")");
}

QString beginReading(Engine engine)
{
    return engine == Engine::SQLite ? QStringLiteral("begin")
                                    : QStringLiteral("begin isolation level repeatable read read only");
}

QStringList beginWriting(Engine engine, WriteRule rule, std::optional<qint64> employeeId)
{
    if (engine == Engine::SQLite)
        return {QStringLiteral("begin immediate")};
    QStringList statements{QStringLiteral("begin")};
    if (rule == WriteRule::AddEmployee || rule == WriteRule::LoadSample)
        statements.append(QStringLiteral("lock table tblEmployee in share row exclusive mode"));
    else if (rule == WriteRule::ChangeDay)
        statements.append(sql::employeesLock());
    else if (employeeId)
        statements.append(QStringLiteral("select fldID from tblEmployee where fldID=") + QString::number(*employeeId) +
                          QStringLiteral(" for update"));
    return statements;
}

QString objectNames(Engine engine)
{
    return engine == Engine::SQLite
               ? QStringLiteral("select name from sqlite_master where type in ('table','view')")
               : QStringLiteral("select table_name from information_schema.tables where table_schema=current_schema()");
}

QString dataVersion() { return QStringLiteral("pragma data_version"); }
QString changeChannel() { return QStringLiteral("rostelle_roster"); }
QString announceChange(Engine engine)
{
    return engine == Engine::SQLite ? QString() : QStringLiteral("notify ") + changeChannel();
}

QString listenForChanges() { return QStringLiteral("listen ") + changeChannel(); }

bool takeAnnouncements(Engine engine, const QSqlDatabase& database)
{
    if (engine != Engine::PostgreSQL || !database.isOpen())
        return false;
    const QVariant handle = database.driver()->handle();
    if (!handle.isValid() ||
        (qstrcmp(handle.typeName(), "PGconn*") != 0 && qstrcmp(handle.typeName(), "pg_conn*") != 0))
        return false;
    PGconn* connection = *static_cast<PGconn* const*>(handle.constData());
    if (connection == nullptr || libpq::consumeInput(connection) == 0)
        return false;
    bool announced = false;
    const QByteArray channel = changeChannel().toLatin1();
    while (PGnotify* notice = libpq::notifies(connection)) {
        announced = announced || (channel == notice->relname && notice->be_pid != libpq::backendPID(connection));
        libpq::freemem(notice);
    }
    return announced;
}

QString beginPart() { return QStringLiteral("savepoint part"); }
QString keepPart() { return QStringLiteral("release savepoint part"); }
QString undoPart() { return QStringLiteral("rollback to savepoint part"); }

QString markStatement(Engine engine)
{
    return engine == Engine::SQLite ? QString() : QStringLiteral("savepoint statement");
}

QString keepStatement(Engine engine)
{
    return engine == Engine::SQLite ? QString() : QStringLiteral("release savepoint statement");
}

QString undoStatement(Engine engine)
{
    return engine == Engine::SQLite ? QString() : QStringLiteral("rollback to savepoint statement");
}

QString identifierSequence(Engine engine, const QString& table)
{
    if (engine != Engine::SQLite)
        return {};
    return QStringLiteral("select seq from sqlite_sequence where name=") + sql::quoted(table) +
           QStringLiteral(" collate nocase");
}

FailureKind classify(Engine engine, const QSqlError& error)
{
    const QString code = error.nativeErrorCode();
    if (engine == Engine::SQLite) {
        bool isNumber = false;
        const int primary = code.toInt(&isNumber) & 0xff;
        if (!isNumber)
            return FailureKind::Other;
        if (primary == kSqliteFull)
            return FailureKind::DiskFull;
        if (primary == kSqliteBusy || primary == kSqliteLocked)
            return FailureKind::Busy;
        if (primary == kSqliteReadOnly)
            return FailureKind::ReadOnly;
        return FailureKind::Other;
    }
    if (code == QLatin1String(kPostgresLockNotAvailable))
        return FailureKind::Busy;
    if (code == QLatin1String(kPostgresSequenceEnd))
        return FailureKind::IdentifiersUsedUp;
    if (code == QLatin1String(kPostgresDiskFull))
        return FailureKind::DiskFull;
    return FailureKind::Other;
}

QString describe(Engine engine, const QSqlError& error)
{
    QString text = !error.databaseText().isEmpty() ? error.databaseText() : error.driverText();
    if (engine == Engine::PostgreSQL) {
        // "ERROR:  message\nLINE 1: ...\n(42703)": the message line alone.
        text = text.section(QLatin1Char('\n'), 0, 0).trimmed();
        for (const char* severity : {"ERROR:", "FATAL:", "PANIC:"}) {
            if (text.startsWith(QLatin1String(severity)))
                text = text.mid(static_cast<int>(qstrlen(severity))).trimmed();
        }
    }
    return text.isEmpty() ? QStringLiteral("Unknown database failure") : text;
}

bool connectionEnded(Engine engine, const QSqlError& error)
{
    // Class 08: connection exceptions; 57P0x: the server shutting down or ending the session.
    const QString code = error.nativeErrorCode();
    return engine == Engine::PostgreSQL && (code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P")));
}

bool connectionLost(Engine engine, const QSqlDatabase& database)
{
    if (engine != Engine::PostgreSQL)
        return false;
    if (!database.isOpen())
        return true;
    const QVariant handle = database.driver()->handle();
    // libpq's PGconn is a typedef of struct pg_conn; the driver names it either way.
    if (!handle.isValid() ||
        (qstrcmp(handle.typeName(), "PGconn*") != 0 && qstrcmp(handle.typeName(), "pg_conn*") != 0))
        return false;
    const PGconn* connection = *static_cast<PGconn* const*>(handle.constData());
    return connection == nullptr || libpq::status(connection) != CONNECTION_OK;
}

}  // namespace store::dialect
