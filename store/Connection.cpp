// The named Qt SQL connection to the roster's database, and the one shared instance.
#include "store/Connection.h"

#include "store/LibSqlite.h"
#include "store/RowValues.h"
#include "store/Statements.h"
#include "store/StoreError.h"
#include "store/TimeText.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

#include <algorithm>
#include <exception>
#include <limits>

namespace store {

namespace {

// The objects the program's statements rely on; a database without them is not one of ours.
const char* const requiredObjects[] = {
    "tblEmployee",   "tblShiftMonday", "tblShiftTuesday", "tblShiftWednesday", "tblShiftThursday",
    "tblShiftFriday", "tblShiftSaturday", "tblShiftSunday", "qryMonday",       "qryTuesday",
    "qryWednesday",  "qryThursday",    "qryFriday",       "qrySaturday",       "qrySunday",
};

// mode=rw opens an existing file for reading and writing, mode=ro for reading only; neither
// ever creates one.
QString fileUri(const QString& path, Access access)
{
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded) +
           (access == Access::ReadOnly ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=rw"));
}

QString journalOf(const QString& path) { return path + QStringLiteral("-journal"); }

bool hasJournal(const QString& path)
{
    const QFileInfo journal(journalOf(path));
    return journal.isFile() && journal.size() > 0;
}

// Undoing a cut-off change rewrites the file and removes its journal.
bool mayWriteFile(const QString& path)
{
    const QFileInfo file(path);
    return file.isWritable() && QFileInfo(file.absolutePath()).isWritable();
}

void checkFileIsUsable(const QString& path, Access access)
{
    const QFileInfo file(path);
    if (!file.exists())
        throw StoreError(QStringLiteral("The database file \"%1\" does not exist.").arg(path));
    if (!file.isFile())
        throw StoreError(QStringLiteral("The database \"%1\" is not a file.").arg(path));
    if (!file.isReadable())
        throw StoreError(QStringLiteral("The database file \"%1\" cannot be read: permission denied.").arg(path));
    if (access == Access::ReadOnly)
        return;
    if (!file.isWritable())
        throw StoreError(QStringLiteral("The database file \"%1\" cannot be written: permission denied.").arg(path));
    // Every change writes a journal beside the database.
    if (!QFileInfo(file.absolutePath()).isWritable())
        throw StoreError(
            QStringLiteral("The folder \"%1\" of the database cannot be written: permission denied.")
                .arg(QDir::toNativeSeparators(file.absolutePath())));
}

// libpq's keyword='value' form; Qt's driver reads ";" in its options as a separator.
QString serverOptions(const Location& location)
{
    QStringList options;
    QStringList given;
    for (const auto& [keyword, value] : location.serverParameters()) {
        if (value.contains(QLatin1Char(';')))
            throw StoreError(QStringLiteral("The connection URI \"%1\" cannot be used: its %2 holds a \";\".")
                                 .arg(location.shownText(), keyword));
        QString escaped = value;
        escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
        options.append(keyword + QStringLiteral("='") + escaped + QLatin1Char('\''));
        given.append(keyword);
    }
    // A server that does not answer must not hold the window for long: a connection attempt
    // gives up after 10 s, and a connection whose network went away is noticed within a minute.
    const std::pair<const char*, const char*> defaults[] = {
        {"connect_timeout", "10"},     {"keepalives_idle", "20"},     {"keepalives_interval", "10"},
        {"keepalives_count", "3"},     {"tcp_user_timeout", "60000"}, {"application_name", "rostelle"},
    };
    for (const auto& [keyword, value] : defaults) {
        if (!given.contains(QLatin1String(keyword)))
            options.append(QLatin1String(keyword) + QStringLiteral("='") + QLatin1String(value) + QLatin1Char('\''));
    }
    return options.join(QLatin1Char(' '));
}

}  // namespace

qint64 Fields::identifier(int position) const { return identifierFrom(field(position)); }

std::optional<qint64> Fields::storedInteger(int position) const
{
    const QVariant value = field(position);
    if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int)
        return value.toLongLong();
    return std::nullopt;
}

QString Fields::text(int position) const { return field(position).toString(); }

QTime Fields::storedTime(int position) const { return timeFromStored(field(position)); }

void Fields::noSuchColumn(int position)
{
    throw StoreError(QStringLiteral("The result has no column %1.").arg(position + 1));
}

Row::Row(std::shared_ptr<const QStringList> columns, QVariantList values)
    : columns_(std::move(columns)), values_(std::move(values))
{
}

const QVariant& Row::value(int position) const
{
    if (position < 0 || position >= values_.size())
        noSuchColumn(position);
    return values_[position];
}

const QVariant& Row::value(const QString& column) const
{
    const auto found = std::find_if(columns_->begin(), columns_->end(), [&](const QString& name) {
        return name.compare(column, Qt::CaseInsensitive) == 0;
    });
    if (found == columns_->end())
        throw StoreError(QStringLiteral("The result has no column \"%1\".").arg(column));
    return values_[static_cast<int>(found - columns_->begin())];
}

Connection::Connection(QString connectionName) : name_(std::move(connectionName)) {}

Connection::~Connection()
{
    close();
}

QSqlDatabase Connection::database() const { return QSqlDatabase::database(name_, false); }

QString Connection::databasePath() const
{
    return open_ && engine() == Engine::SQLite ? location_.text() : QString();
}

void Connection::open(const QString& databasePath, Access access) { open(Location::file(databasePath, access)); }

void Connection::open(const Location& location)
{
    close();
    location_ = location;
    if (location.engine() == Engine::SQLite)
        openFile();
    else
        openServer(true);
}

void Connection::openForSetup(const Location& location)
{
    close();
    location_ = location;
    openServer(false);
}

void Connection::openFile()
{
    const QString path = location_.text();
    const Access access = location_.access();
    checkFileIsUsable(path, access);
    try {
        openCheckedFile();
    } catch (const StoreError&) {
        // A read-only connection cannot undo the journal a killed writer left; a connection that
        // may write does so on its first read, and the file then opens read-only as usual.
        if (access != Access::ReadOnly || lastFailure_ != FailureKind::ReadOnly || !hasJournal(path))
            throw;
        if (!mayWriteFile(path))
            throw StoreError(QStringLiteral("The file \"%1\" holds a change that was cut off before it was complete "
                                            "(the program making it was stopped). It can be read again once the "
                                            "change is undone, which needs a program that may write the file and "
                                            "its folder: run Rostelle once as a user who may write them.")
                                 .arg(path));
        recoverInterruptedChange(path);
        openCheckedFile();
    }
    if (access == Access::ReadWrite)
        addMissingEmployeeIndexes();
}

void Connection::recoverInterruptedChange(const QString& path)
{
    const QString recoveryName = name_ + QStringLiteral("-recovery");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(dialect::driverName(Engine::SQLite), recoveryName);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000"));
        db.setDatabaseName(fileUri(path, Access::ReadWrite));
        QString reason;
        if (!db.open()) {
            reason = dialect::describe(Engine::SQLite, db.lastError());
        } else {
            // The first read of a file with a hot journal rolls the cut-off change back.
            QSqlQuery read(db);
            if (!read.exec(QStringLiteral("select count(*) from sqlite_master")))
                reason = dialect::describe(Engine::SQLite, read.lastError());
            read.finish();
            db.close();
        }
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(recoveryName);
        if (!reason.isEmpty())
            throw StoreError(QStringLiteral("The file \"%1\" holds a change that was cut off, and undoing it failed: %2")
                                 .arg(path, reason));
    }
}

void Connection::openCheckedFile()
{
    const QString path = location_.text();
    const Access access = location_.access();
    lastFailure_ = FailureKind::Other;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(dialect::driverName(Engine::SQLite), name_);
        if (!db.isValid()) {
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name_);
            throw StoreError(QStringLiteral("The SQLite driver of Qt SQL is not installed."));
        }
        db.setConnectOptions(access == Access::ReadOnly
                                 ? QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=2000")
                                 : QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000"));
        db.setDatabaseName(fileUri(path, access));
        if (!db.open()) {
            const QString reason = dialect::describe(Engine::SQLite, db.lastError());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name_);
            throw StoreError(QStringLiteral("The database \"%1\" cannot be opened: %2").arg(path, reason));
        }
    }
    open_ = true;

    // SQLite reads a file only when asked, so a file that is not a database (or is damaged) shows
    // only now. These reads change nothing.
    try {
        const Rows integrity = query(QStringLiteral("pragma quick_check"));
        if (integrity.empty() || integrity.front().value(0).toString() != QLatin1String("ok"))
            throw StoreError(QStringLiteral("database disk image is malformed"));
        checkRosterObjects();
    } catch (const StoreError& failure) {
        const FailureKind kind = lastFailure_;
        close();
        lastFailure_ = kind;
        // A busy file is no damaged one: its message says so and that a later try may work.
        if (kind == FailureKind::Busy)
            throw;
        throw StoreError(QStringLiteral("The file \"%1\" is not a usable schedule database: %2")
                             .arg(path, failure.description()));
    }
}

void Connection::openServer(bool requireRoster)
{
    const QString options = serverOptions(location_);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(dialect::driverName(Engine::PostgreSQL), name_);
        if (!db.isValid()) {
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name_);
            throw StoreError(QStringLiteral("The PostgreSQL driver of Qt SQL is not installed "
                                            "(Debian package libqt6sql6-psql)."));
        }
        db.setConnectOptions(options);
        if (!db.open()) {
            // libpq quotes the fields it cannot use, a password read as another field among them.
            const QString reason = location_.withoutPassword(dialect::describe(Engine::PostgreSQL, db.lastError()));
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name_);
            throw StoreError(
                QStringLiteral("The database %1 cannot be reached: %2").arg(location_.displayName(), reason));
        }
    }
    open_ = true;
    try {
        prepareServerSession();
        if (requireRoster)
            checkRosterObjects();
    } catch (const StoreError& failure) {
        close();
        throw StoreError(QStringLiteral("The database %1 cannot be used: %2")
                             .arg(location_.displayName(), location_.withoutPassword(failure.description())));
    }
}

void Connection::prepareServerSession()
{
    for (const QString& setting : dialect::sessionSettings(engine(), location_.access() == Access::ReadOnly))
        execute(setting);
}

void Connection::checkRosterObjects()
{
    QStringList present;
    for (const Row& row : query(dialect::objectNames(engine())))
        present.append(row.value(0).toString());
    for (const char* object : requiredObjects) {
        if (!present.contains(QLatin1String(object), Qt::CaseInsensitive)) {
            if (engine() == Engine::SQLite)
                throw StoreError(QStringLiteral("it has no %1").arg(QLatin1String(object)));
            throw StoreError(QStringLiteral("it has no %1; set the roster up in it first with "
                                            "rostelle --init-database URI")
                                 .arg(QLatin1String(object)));
        }
    }
}

// Without an index on the employee column every per-employee read scans the whole weekday table,
// so reading a roster takes time growing with its square. Only an index that is missing is made,
// and a database that cannot take it now (locked, full) works on without it until the next open.
void Connection::addMissingEmployeeIndexes()
{
    try {
        std::vector<Weekday> missing;
        for (const Weekday day : allWeekdays) {
            if (query(sql::employeeIndexCount(day)).front().value(0).toInt() == 0)
                missing.push_back(day);
        }
        if (missing.empty())
            return;
        beginWriting(WriteRule::Upkeep);
        try {
            for (const Weekday day : missing)
                execute(sql::employeeIndexCreate(day));
            commit();
        } catch (const StoreError&) {
            rollback();
        }
    } catch (const StoreError&) {
    }
}

void Connection::close()
{
    if (QSqlDatabase::contains(name_)) {
        {
            QSqlDatabase db = database();
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
    open_ = false;
    const bool wasInTransaction = inTransaction();
    transaction_ = TransactionState::None;
    parts_ = 0;
    refusal_.clear();
    ended_ = false;
    if (wasInTransaction)
        transactionEnded();
}

bool Connection::isOpen() const { return open_; }

bool Connection::takeAnnouncements() const { return open_ && dialect::takeAnnouncements(engine(), database()); }

void Connection::requireUsable()
{
    if (!open_)
        throw StoreError(QStringLiteral("The database is not open."));
    if (!refusal_.isEmpty())
        throw StoreError(refusal_);
    if (!inTransaction())
        reconnectIfLost();
    else if (lost())
        failLost(QStringLiteral("the change was cut off and nothing of it was stored"));
}

bool Connection::lost() const { return ended_ || dialect::connectionLost(engine(), database()); }

void Connection::failLost(const QString& detail) const
{
    throw ConnectionLost(QStringLiteral("The connection to the database %1 was lost (%2). The next action connects again.")
                         .arg(location_.displayName(), location_.withoutPassword(detail)));
}

// A server that went away (restarted, network down) is asked again by the next statement. Never
// inside a transaction: what it did so far is gone with the old connection, and the rest of it
// must not run on its own.
void Connection::reconnectIfLost()
{
    if (!lost())
        return;
    QSqlDatabase db = database();
    db.close();
    ended_ = false;
    if (!db.open())
        throw StoreError(QStringLiteral("The database %1 cannot be reached: %2")
                             .arg(location_.displayName(),
                                  location_.withoutPassword(dialect::describe(engine(), db.lastError()))));
    ++reconnections_;
    prepareServerSession();
}

void Connection::fail(const QSqlError& error, const QString& table)
{
    if (dialect::connectionEnded(engine(), error))
        ended_ = true;
    if (lost())
        failLost(dialect::describe(engine(), error));
    lastFailure_ = dialect::classify(engine(), error);
    switch (lastFailure_) {
    case FailureKind::IdentifiersUsedUp:
        break;
    case FailureKind::Busy:
        throw StoreError(QStringLiteral("The database \"%1\" is busy: another program is using it (%2). Nothing "
                                        "was changed; try again in a moment.")
                             .arg(location_.displayName(), dialect::describe(engine(), error)));
    case FailureKind::DiskFull:
        // SQLite fails a table that has given out its largest identifier as if the disk were full.
        if (!table.isEmpty() && identifiersUsedUp(table))
            break;
        throw StoreError(QStringLiteral("The change was not made because the disk is full: there is no room to "
                                        "write to the database \"%1\".")
                             .arg(location_.displayName()));
    case FailureKind::ReadOnly:
    case FailureKind::Other:
        throw StoreError(dialect::describe(engine(), error));
    }
    throw StoreError(QStringLiteral("Nothing was stored: %1 has used up its identifiers. The largest one, %2, has "
                                    "been given out, and identifiers are never reused.")
                         .arg(table.isEmpty() ? QStringLiteral("the table") : table)
                         .arg(std::numeric_limits<qint64>::max()));
}

bool Connection::identifiersUsedUp(const QString& table)
{
    const QString statement = dialect::identifierSequence(engine(), table);
    if (statement.isEmpty())
        return false;
    try {
        const Rows rows = query(statement);
        return !rows.empty() && rows.front().value(0).toLongLong() == std::numeric_limits<qint64>::max();
    } catch (const StoreError&) {
        return false;
    }
}

// Inside a write transaction each statement is marked, so that its failure undoes it alone. The
// work runs the statement and reads what it returns (a server's rows come while they are read,
// so the mark is let go only after them); it fails through fail().
template <class Work>
auto Connection::runStatement(Work&& work)
{
    const QString mark = transaction_ == TransactionState::Writing ? dialect::markStatement(engine()) : QString();
    if (mark.isEmpty())
        return work();
    QSqlQuery control(database());
    if (!control.exec(mark))
        fail(control.lastError());
    try {
        auto result = work();
        if (!control.exec(dialect::keepStatement(engine())))
            fail(control.lastError());
        return result;
    } catch (const StoreError&) {
        if (!lost())
            control.exec(dialect::undoStatement(engine()));
        throw;
    }
}

// A server that went away while the connection was idle is found out only by the next statement.
// Outside a transaction nothing of a change has been applied yet (every change begins a
// transaction first), so the statement runs once more on a connection made again; only when that
// fails too does the failure go on.
template <class Statement>
auto Connection::againIfLost(Statement&& statement)
{
    const bool outside = !inTransaction();
    try {
        return statement();
    } catch (const StoreError&) {
        if (!outside || engine() == Engine::SQLite || !lost())
            throw;
    }
    reconnectIfLost();
    return statement();
}

void Connection::execute(const QString& sql)
{
    againIfLost([&] {
        requireUsable();
        QSqlQuery statement(database());
        return runStatement([&] {
            if (!statement.exec(sql))
                fail(statement.lastError());
            return true;
        });
    });
}

qint64 Connection::insert(const QString& sql, const QString& table)
{
    return againIfLost([&] {
        requireUsable();
        QSqlQuery statement(database());
        return runStatement([&] {
            if (!statement.exec(sql))
                fail(statement.lastError(), table);
            return statement.lastInsertId().toLongLong();
        });
    });
}

Rows Connection::query(const QString& sql)
{
    return againIfLost([&] {
        requireUsable();
        QSqlQuery statement(database());
        statement.setForwardOnly(true);
        return runStatement([&] {
            if (!statement.exec(sql))
                fail(statement.lastError());
            return readRows(statement);
        });
    });
}

void Connection::eachRow(const QString& sql, const std::function<void(const Fields&)>& each)
{
    const auto file = open_ && engine() == Engine::SQLite ? libsqlite::Handle::of(database()) : std::nullopt;
    if (!file) {
        for (const Row& row : query(sql))
            each(row);
        return;
    }
    againIfLost([&] {
        requireUsable();
        return runStatement([&] {
            // What `each` throws waits until the rows are read, and a failure of the read goes first:
            // after query() it would come only once every row was there.
            std::exception_ptr unreadable;
            const auto failure = file->eachRow(sql, [&](const Fields& row) {
                if (unreadable)
                    return;
                try {
                    each(row);
                } catch (const StoreError&) {
                    unreadable = std::current_exception();
                }
            });
            if (failure)
                fail(*failure);
            if (unreadable)
                std::rethrow_exception(unreadable);
            return true;
        });
    });
}

Rows Connection::readRows(QSqlQuery& statement)
{
    const QSqlRecord record = statement.record();
    auto columns = std::make_shared<QStringList>();
    for (int i = 0; i < record.count(); ++i)
        columns->append(record.fieldName(i));

    Rows rows;
    while (statement.next()) {
        QVariantList values;
        values.reserve(record.count());
        for (int i = 0; i < record.count(); ++i)
            values.append(statement.value(i));
        rows.emplace_back(columns, std::move(values));
    }
    // A row that could not be fetched (a locked or damaged file) ends the loop early.
    if (statement.lastError().isValid())
        fail(statement.lastError());
    statement.finish();
    return rows;
}

PreparedQuery Connection::prepare(const QString& sql)
{
    return againIfLost([&] {
        requireUsable();
        auto statement = std::make_unique<QSqlQuery>(database());
        statement->setForwardOnly(true);
        if (!statement->prepare(sql))
            fail(statement->lastError());
        return PreparedQuery(*this, std::move(statement));
    });
}

void Connection::beginReading()
{
    requireUsable();
    if (inTransaction())
        throw StoreError(QStringLiteral("Another change is still in progress on this connection."));
    execute(dialect::beginReading(engine()));
    transaction_ = TransactionState::Reading;
}

void Connection::beginWriting(WriteRule rule, std::optional<qint64> employeeId)
{
    requireUsable();
    if (inTransaction())
        throw StoreError(QStringLiteral("Another change is still in progress on this connection."));
    const QStringList statements = dialect::beginWriting(engine(), rule, employeeId);
    execute(statements.front());
    transaction_ = TransactionState::Writing;
    try {
        for (int i = 1; i < statements.size(); ++i)
            execute(statements[i]);
    } catch (const StoreError&) {
        rollback();
        throw;
    }
}

void Connection::beginPart(WriteRule rule, std::optional<qint64> employeeId)
{
    requireUsable();
    if (!isWriting())
        throw StoreError(QStringLiteral("A part of a change was begun outside a change."));
    // Not marked as a statement: letting go of a statement's mark would let go of this one too.
    QSqlQuery statement(database());
    if (!statement.exec(dialect::beginPart()))
        fail(statement.lastError());
    ++parts_;
    try {
        const QStringList locks = dialect::beginWriting(engine(), rule, employeeId);
        for (int i = 1; i < locks.size(); ++i)
            execute(locks[i]);
    } catch (const StoreError&) {
        dropPart();
        throw;
    }
}

void Connection::keepPart()
{
    if (parts_ == 0 || !isWriting())
        return;
    requireUsable();
    QSqlQuery statement(database());
    if (!statement.exec(dialect::keepPart()))
        fail(statement.lastError());
    --parts_;
}

void Connection::dropPart() noexcept
{
    if (parts_ == 0 || !isWriting())
        return;
    --parts_;
    try {
        if (!lost()) {
            QSqlQuery statement(database());
            statement.exec(dialect::undoPart());
            statement.exec(dialect::keepPart());
        }
    } catch (...) {
    }
}

void Connection::commit()
{
    if (!inTransaction())
        return;
    if (lost()) {
        rollback();
        failLost(QStringLiteral("the change was cut off and nothing of it was stored"));
    }
    QSqlQuery statement(database());
    if (!statement.exec(sql::commit())) {
        // SQLite keeps a transaction whose commit failed (the file was busy); end it here so that
        // nothing of it is stored later by accident.
        const QSqlError error = statement.lastError();
        rollback();
        fail(error);
    }
    transaction_ = TransactionState::None;
    transactionEnded();
}

void Connection::rollback() noexcept
{
    if (!inTransaction())
        return;
    transaction_ = TransactionState::None;
    parts_ = 0;
    try {
        if (!lost()) {
            QSqlQuery statement(database());
            statement.exec(sql::rollback());
        }
    } catch (...) {
    }
    transactionEnded();
}

void Connection::transactionEnded() noexcept
{
    if (!transactionEnds_)
        return;
    const std::function<void()> call = std::exchange(transactionEnds_, nullptr);
    try {
        call();
    } catch (...) {
    }
}

PreparedQuery::PreparedQuery(Connection& connection, std::unique_ptr<QSqlQuery> statement)
    : connection_(&connection), statement_(std::move(statement))
{
}

PreparedQuery::PreparedQuery(PreparedQuery&&) noexcept = default;
PreparedQuery& PreparedQuery::operator=(PreparedQuery&&) noexcept = default;
PreparedQuery::~PreparedQuery() = default;

Rows PreparedQuery::run(const QVariantList& values)
{
    connection_->requireUsable();
    return connection_->runStatement([&] {
        for (int i = 0; i < values.size(); ++i)
            statement_->bindValue(i, values[i]);
        if (!statement_->exec())
            connection_->fail(statement_->lastError());
        return connection_->readRows(*statement_);
    });
}

Connection& shared()
{
    // Never destroyed: Qt SQL's own registry of connections is gone by the time static objects
    // are torn down, and it closes what is still open itself.
    static Connection* const connection = new Connection(QStringLiteral("rostelle"));
    return *connection;
}

bool sharedIsOpen()
{
    return shared().isOpen();
}

}  // namespace store
