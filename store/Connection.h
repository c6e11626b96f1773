// The database connection: one named Qt SQL connection to the working database, opened once and
// shared by everything that reads or writes records. Every failure is a StoreError carrying the
// database's own description.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

class QSqlError;
class QSqlQuery;

namespace store {

// One result row; values by position (from 0) or by column name, the name matched without regard
// to case as the database matches identifiers. A null field is a null QVariant.
class Row {
public:
    Row(std::shared_ptr<const QStringList> columns, QVariantList values);

    int size() const { return static_cast<int>(values_.size()); }
    const QVariant& value(int position) const;          // throws StoreError when out of range
    const QVariant& value(const QString& column) const; // throws StoreError for an unknown column
    const QStringList& columns() const { return *columns_; }

private:
    std::shared_ptr<const QStringList> columns_;
    QVariantList values_;
};

using Rows = std::vector<Row>;

// How a connection may use its database: commands that only read open it read-only, so that they
// also work on a file or folder the user may not write.
enum class Access { ReadWrite, ReadOnly };

class Connection;

// A statement prepared once and run as often as needed, each time with its own values for the
// statement's "?" placeholders.
class PreparedQuery {
public:
    PreparedQuery(PreparedQuery&&) noexcept;
    PreparedQuery& operator=(PreparedQuery&&) noexcept;
    ~PreparedQuery();

    Rows run(const QVariantList& values = {});

private:
    friend class Connection;
    PreparedQuery(Connection& connection, std::unique_ptr<QSqlQuery> statement);

    Connection* connection_;
    std::unique_ptr<QSqlQuery> statement_;
};

class Connection {
public:
    explicit Connection(QString connectionName);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an existing working database. Never creates, overwrites or changes the file: a
    // missing or unreadable file (for reading and writing also a read-only file or folder), a file
    // that is not an SQLite database, or one without our tables and views, fails with a StoreError
    // and is left as found. A read-only connection refuses every change. An open connection is
    // closed first.
    // The one thing opening for writing may add is the index on each weekday table's employee
    // column, to a database made before the template had it: in a transaction of its own, once.
    // A database that cannot take it just goes on without it.
    void open(const QString& databasePath, Access access = Access::ReadWrite);
    void close();
    bool isOpen() const;
    QString databasePath() const { return path_; }
    QString connectionName() const { return name_; }

    // Runs one statement that returns no rows.
    void execute(const QString& sql);
    // Runs one insert into the table and returns the identifier the new row was given. A table
    // that has given out its largest identifier says so rather than blaming the disk.
    qint64 insert(const QString& sql, const QString& table);
    // Runs one statement and reads its rows from first to last.
    Rows query(const QString& sql);
    // Prepares a statement with "?" placeholders for values.
    PreparedQuery prepare(const QString& sql);

    // A transaction that only reads: everything read in it comes from one state of the database.
    void beginReading();
    void commit();
    void rollback();
    bool inTransaction() const { return inTransaction_; }

private:
    friend class PreparedQuery;
    void requireOpen() const;
    [[noreturn]] void fail(const QSqlError& error) const;
    bool identifiersUsedUp(const QString& table);
    Rows readRows(QSqlQuery& statement) const;
    void addMissingEmployeeIndexes();

    QString name_;
    QString path_;
    bool open_ = false;
    bool inTransaction_ = false;
};

// The shared connection, named "rostelle", used by the whole program.
Connection& shared();
bool sharedIsOpen();

}  // namespace store
