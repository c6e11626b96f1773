// The named Qt SQL connection to the working database, and the one shared instance.
#include "store/Connection.h"

#include "store/Statements.h"
#include "store/StoreError.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

#include <algorithm>
#include <limits>

namespace store {

namespace {

// The objects the program's statements rely on; a file without them is not one of ours.
const char* const requiredObjects[] = {
    "tblEmployee",   "tblShiftMonday", "tblShiftTuesday", "tblShiftWednesday", "tblShiftThursday",
    "tblShiftFriday", "tblShiftSaturday", "tblShiftSunday", "qryMonday",       "qryTuesday",
    "qryWednesday",  "qryThursday",    "qryFriday",       "qrySaturday",       "qrySunday",
};

// SQLite's result code for a write that found no room (SQLITE_FULL).
constexpr const char* kFullCode = "13";

bool isFull(const QSqlError& error) { return error.nativeErrorCode() == QLatin1String(kFullCode); }

QString describe(const QSqlError& error)
{
    if (!error.databaseText().isEmpty())
        return error.databaseText();
    if (!error.driverText().isEmpty())
        return error.driverText();
    return QStringLiteral("Unknown database failure");
}

// mode=rw opens an existing file for reading and writing, mode=ro for reading only; neither
// ever creates one.
QString fileUri(const QString& path, Access access)
{
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded) +
           (access == Access::ReadOnly ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=rw"));
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

}  // namespace

Row::Row(std::shared_ptr<const QStringList> columns, QVariantList values)
    : columns_(std::move(columns)), values_(std::move(values))
{
}

const QVariant& Row::value(int position) const
{
    if (position < 0 || position >= values_.size())
        throw StoreError(QStringLiteral("The result has no column %1.").arg(position + 1));
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

void Connection::open(const QString& databasePath, Access access)
{
    close();
    checkFileIsUsable(databasePath, access);

    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        if (!db.isValid()) {
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name_);
            throw StoreError(QStringLiteral("The SQLite driver of Qt SQL is not installed."));
        }
        db.setConnectOptions(access == Access::ReadOnly
                                 ? QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=2000")
                                 : QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=2000"));
        db.setDatabaseName(fileUri(databasePath, access));
        if (!db.open()) {
            const QString reason = describe(db.lastError());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name_);
            throw StoreError(QStringLiteral("The database \"%1\" cannot be opened: %2").arg(databasePath, reason));
        }
    }
    open_ = true;
    path_ = databasePath;

    // SQLite reads a file only when asked, so a file that is not a database (or is damaged) shows
    // only now. These reads change nothing.
    try {
        const Rows integrity = query(QStringLiteral("pragma quick_check"));
        if (integrity.empty() || integrity.front().value(0).toString() != QLatin1String("ok"))
            throw StoreError(QStringLiteral("database disk image is malformed"));
        QStringList present;
        for (const Row& row : query(QStringLiteral("select name from sqlite_master where type in ('table','view')")))
            present.append(row.value(0).toString());
        for (const char* object : requiredObjects) {
            if (!present.contains(QLatin1String(object), Qt::CaseInsensitive))
                throw StoreError(QStringLiteral("it has no %1").arg(QLatin1String(object)));
        }
    } catch (const StoreError& failure) {
        close();
        throw StoreError(QStringLiteral("The file \"%1\" is not a usable schedule database: %2")
                             .arg(databasePath, failure.description()));
    }
    if (access == Access::ReadWrite)
        addMissingEmployeeIndexes();
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
        execute(sql::beginWriting());
        try {
            for (const Weekday day : missing)
                execute(sql::employeeIndexCreate(day));
            execute(sql::commit());
        } catch (const StoreError&) {
            execute(sql::rollback());
        }
    } catch (const StoreError&) {
    }
}

void Connection::close()
{
    if (QSqlDatabase::contains(name_)) {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
    open_ = false;
    inTransaction_ = false;
    path_.clear();
}

bool Connection::isOpen() const
{
    return open_ && QSqlDatabase::database(name_, false).isOpen();
}

void Connection::requireOpen() const
{
    if (!isOpen())
        throw StoreError(QStringLiteral("The database is not open."));
}

// SQLite's own words for a full disk ("database or disk is full") say neither which it is nor
// what became of the change.
void Connection::fail(const QSqlError& error) const
{
    if (isFull(error))
        throw StoreError(
            QStringLiteral("The change was not made because the disk is full: there is no room to write to the "
                           "database \"%1\".")
                .arg(path_));
    throw StoreError(describe(error));
}

void Connection::execute(const QString& sql)
{
    requireOpen();
    QSqlQuery statement(QSqlDatabase::database(name_, false));
    if (!statement.exec(sql))
        fail(statement.lastError());
}

qint64 Connection::insert(const QString& sql, const QString& table)
{
    requireOpen();
    QSqlQuery statement(QSqlDatabase::database(name_, false));
    if (!statement.exec(sql)) {
        // A table that has given out the largest identifier fails the way a full disk does.
        if (isFull(statement.lastError()) && identifiersUsedUp(table))
            throw StoreError(QStringLiteral("Nothing was stored: %1 has used up its identifiers. The largest one, "
                                            "%2, has been given out, and identifiers are never reused.")
                                 .arg(table)
                                 .arg(std::numeric_limits<qint64>::max()));
        fail(statement.lastError());
    }
    return statement.lastInsertId().toLongLong();
}

bool Connection::identifiersUsedUp(const QString& table)
{
    try {
        const Rows rows = query(sql::identifierSequence(table));
        return !rows.empty() && rows.front().value(0).toLongLong() == std::numeric_limits<qint64>::max();
    } catch (const StoreError&) {
        return false;
    }
}

Rows Connection::query(const QString& sql)
{
    requireOpen();
    QSqlQuery statement(QSqlDatabase::database(name_, false));
    statement.setForwardOnly(true);
    if (!statement.exec(sql))
        fail(statement.lastError());
    return readRows(statement);
}

Rows Connection::readRows(QSqlQuery& statement) const
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
    requireOpen();
    auto statement = std::make_unique<QSqlQuery>(QSqlDatabase::database(name_, false));
    statement->setForwardOnly(true);
    if (!statement->prepare(sql))
        fail(statement->lastError());
    return PreparedQuery(*this, std::move(statement));
}

void Connection::beginReading()
{
    execute(sql::beginReading());
    inTransaction_ = true;
}

void Connection::commit()
{
    execute(sql::commit());
    inTransaction_ = false;
}

void Connection::rollback()
{
    // A rollback that fails leaves nothing to undo: the database has ended the transaction itself.
    inTransaction_ = false;
    execute(sql::rollback());
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
    connection_->requireOpen();
    for (int i = 0; i < values.size(); ++i)
        statement_->bindValue(i, values[i]);
    if (!statement_->exec())
        connection_->fail(statement_->lastError());
    return connection_->readRows(*statement_);
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
