// Reading the SQLite file's rows straight through the connection's own SQLite handle, without the
// QVariant Qt SQL makes of every value (and the UTF-16 copy of every text it asks SQLite for):
// what the schedule reads is thousands of rows. Only reads go this way; everything else runs
// through Qt SQL.
// The SQLite functions are those Qt's SQLite driver itself calls, found through the driver's own
// library: a driver that brings a copy of SQLite the store cannot reach gives no handle, and its
// rows are read through Qt SQL.
#pragma once

#include "store/Connection.h"

#include <QSqlError>

#include <functional>
#include <optional>

class QSqlDatabase;
struct sqlite3;

namespace store::libsqlite {

struct Api;

// The open file connection's SQLite handle with the functions that reach it.
class Handle {
public:
    // Empty where the connection is not one of Qt's SQLite driver, or its SQLite cannot be reached.
    static std::optional<Handle> of(const QSqlDatabase& database);

    // Runs one statement and hands each row to `each`, from first to last. Each field reads as
    // the value Qt's SQLite driver would have made of it. A failure is returned as the driver
    // reports it, for the connection to report in its own way; whatever `each` throws goes on at
    // once.
    std::optional<QSqlError> eachRow(const QString& sql, const std::function<void(const Fields&)>& each) const;

private:
    Handle(const Api& api, sqlite3* handle) : api_(&api), handle_(handle) {}

    const Api* api_;
    sqlite3* handle_;
};

}  // namespace store::libsqlite
