// The database connection: one named Qt SQL connection to the roster's database (the SQLite file
// or a PostgreSQL server), opened once and shared by everything that reads or writes records.
// Every failure is a StoreError carrying the database's own description, in plain words where
// the database's own are not. A server connection that was lost is made again by the next
// statement outside a transaction.
#pragma once

#include "store/Dialect.h"
#include "store/Location.h"

#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;

namespace store {

// The fields of one result row by position (from 0), each read as what the caller takes it for.
// Each reading is that of the field's QVariant as Qt SQL gives it; a row read straight from the
// SQLite file (Connection::eachRow) makes the QVariant only for a field that holds something
// other than what is asked for. A position out of range throws StoreError.
class Fields {
public:
    // The field as Qt SQL gives it; a null field is a null QVariant.
    virtual QVariant field(int position) const = 0;
    // An identifier; throws StoreError when the field holds no number.
    virtual qint64 identifier(int position) const;
    // The field's value where it is stored as an integer; nullopt for anything else (null, text, a
    // number with a fraction or a blob).
    virtual std::optional<qint64> storedInteger(int position) const;
    // The field as text.
    virtual QString text(int position) const;
    // A stored time of day as timeFromStored (TimeText.h) reads it: null or empty is an invalid
    // QTime, and a text that is no 'HH:MM:SS' throws StoreError naming it.
    virtual QTime storedTime(int position) const;

protected:
    Fields() = default;
    Fields(const Fields&) = default;
    Fields& operator=(const Fields&) = default;
    ~Fields() = default;
    [[noreturn]] static void noSuchColumn(int position);
};

// One result row read through Qt SQL; values by position (from 0) or by column name, the name
// matched without regard to case as the database matches identifiers. A null field is a null
// QVariant.
class Row final : public Fields {
public:
    Row(std::shared_ptr<const QStringList> columns, QVariantList values);

    int size() const { return static_cast<int>(values_.size()); }
    const QVariant& value(int position) const;          // throws StoreError when out of range
    const QVariant& value(const QString& column) const; // throws StoreError for an unknown column
    const QStringList& columns() const { return *columns_; }
    QVariant field(int position) const override { return value(position); }

private:
    std::shared_ptr<const QStringList> columns_;
    QVariantList values_;
};

using Rows = std::vector<Row>;

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

    // Opens the roster's database; an open connection is closed first. Refuses, with a StoreError
    // and nothing changed, a database without our tables and views.
    // A file must exist: it is never created, overwritten or changed by opening, and a missing
    // or unreadable file (for reading and writing also a read-only file or folder), or one that
    // is not an SQLite database, is refused and left as found. The one thing opening a file for
    // writing may add is the index on each weekday table's employee column, to a database made
    // before the template had it: in a transaction of its own, once; a database that cannot take
    // it just goes on without it.
    // A server is reached as the URI says; a read-only connection refuses every change.
    void open(const Location& location);
    void open(const QString& databasePath, Access access = Access::ReadWrite);
    // Opens a server's database that need not hold the roster yet, to set it up.
    void openForSetup(const Location& location);
    void close();
    bool isOpen() const;
    Engine engine() const { return location_.engine(); }
    const Location& location() const { return location_; }
    // The SQLite file's path; empty for a server or when closed.
    QString databasePath() const;
    QString connectionName() const { return name_; }

    // Runs one statement that returns no rows.
    void execute(const QString& sql);
    // Runs one insert into the table and returns the identifier the new row was given. A table
    // that has given out its largest identifier says so rather than blaming the disk.
    qint64 insert(const QString& sql, const QString& table);
    // Runs one statement and reads its rows from first to last.
    Rows query(const QString& sql);
    // Runs one statement and hands its rows to `each` from first to last, keeping none of them.
    // Fails as query() does; what `each` throws comes once the rows have been read, and only when
    // reading them did not fail, as it would after query(). On the SQLite file the rows come
    // straight from SQLite (LibSqlite.h).
    void eachRow(const QString& sql, const std::function<void(const Fields&)>& each);
    // Prepares a statement with "?" placeholders for values.
    PreparedQuery prepare(const QString& sql);

    // A transaction that only reads: everything read in it comes from one state of the database.
    void beginReading();
    // A transaction for a rule that reads and then writes (see Dialect.h for what each store
    // locks). A statement that fails inside it leaves the others usable on either store.
    void beginWriting(WriteRule rule, std::optional<qint64> employeeId = std::nullopt);
    void commit();
    // Never fails: a transaction that cannot be rolled back is gone already.
    void rollback() noexcept;
    bool inTransaction() const { return transaction_ != TransactionState::None; }
    bool isWriting() const { return transaction_ == TransactionState::Writing; }
    // Whether a server connection is known to be gone (nothing is asked to tell).
    bool isLost() const { return open_ && lost(); }
    // Whether the server announced a change by another session since the last call (Dialect.h).
    bool takeAnnouncements() const;
    // How often the connection has been made again after it was lost.
    int reconnections() const { return reconnections_; }
    // What the last failed statement ran into.
    FailureKind lastFailure() const { return lastFailure_; }

    // A change inside the open write transaction, with its rule's locks: kept or dropped on its
    // own, and stored only when the enclosing transaction is kept. Parts nest.
    void beginPart(WriteRule rule, std::optional<qint64> employeeId = std::nullopt);
    void keepPart();
    void dropPart() noexcept;

    // Called each time a transaction ends (kept, dropped, or the connection closed), once.
    void whenTransactionEnds(std::function<void()> call) { transactionEnds_ = std::move(call); }

    // While set, every statement fails with this description: a change whose transaction could
    // not begin must not run unguarded.
    void refuseStatements(const QString& reason) { refusal_ = reason; }
    void acceptStatements() { refusal_.clear(); }

private:
    friend class PreparedQuery;
    enum class TransactionState { None, Reading, Writing };

    QSqlDatabase database() const;
    void openFile();
    // Opens the file as its location says and checks that it is a roster; throws StoreError.
    void openCheckedFile();
    // Undoes a change a killed writer left in the file's journal, through a connection of its own
    // that may write the file.
    void recoverInterruptedChange(const QString& path);
    void openServer(bool requireRoster);
    void prepareServerSession();
    void checkRosterObjects();
    void requireUsable();
    void reconnectIfLost();
    [[noreturn]] void fail(const QSqlError& error, const QString& table = QString());
    [[noreturn]] void failLost(const QString& detail) const;
    bool lost() const;
    bool identifiersUsedUp(const QString& table);
    template <class Work>
    auto runStatement(Work&& work);
    template <class Statement>
    auto againIfLost(Statement&& statement);
    Rows readRows(QSqlQuery& statement);
    void addMissingEmployeeIndexes();

    QString name_;
    Location location_ = Location::file(QString());
    bool open_ = false;
    TransactionState transaction_ = TransactionState::None;
    // Parts begun in the write transaction and not yet kept or dropped.
    int parts_ = 0;
    int reconnections_ = 0;
    std::function<void()> transactionEnds_;
    void transactionEnded() noexcept;
    QString refusal_;
    // The server ended the session; the connection may not know it yet.
    bool ended_ = false;
    // What the last failed statement ran into.
    FailureKind lastFailure_ = FailureKind::Other;
};

// The shared connection, named "rostelle", used by the whole program.
Connection& shared();
bool sharedIsOpen();

}  // namespace store
