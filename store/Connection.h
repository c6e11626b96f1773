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

private:
    void requireOpen() const;
    [[noreturn]] void fail(const QSqlError& error) const;
    bool identifiersUsedUp(const QString& table);

    QString name_;
    QString path_;
    bool open_ = false;
};

// The shared connection, named "rostelle", used by the whole program.
Connection& shared();
bool sharedIsOpen();

}  // namespace store
