// Where the roster is kept: the SQLite working file (the default), or a PostgreSQL database that
// several planners share, named by a libpq connection URI
// (postgresql://user@host:port/dbname, a Unix socket folder as ?host=/path).
#pragma once

#include "store/Dialect.h"

#include <QString>

#include <utility>
#include <vector>

namespace store {

// How a connection may use its database: commands that only read open it read-only, so that they
// also work on a file or folder the user may not write.
enum class Access { ReadWrite, ReadOnly };

class Location {
public:
    static Location file(const QString& path, Access access = Access::ReadWrite);
    // Not checked here: a URI that libpq cannot read fails when opened (or when asked below).
    static Location server(const QString& uri, Access access = Access::ReadWrite);

    Engine engine() const { return engine_; }
    Access access() const { return access_; }
    // The file's path or the URI, as given.
    const QString& text() const { return text_; }
    Location withAccess(Access access) const;

    // What the user calls this store: the file's path, or "dbname on host".
    QString displayName() const;

    // The URI's keywords and values as libpq reads them; throws StoreError for a text that is not
    // a PostgreSQL connection URI.
    std::vector<std::pair<QString, QString>> serverParameters() const;
    bool carriesPassword() const;

private:
    Location(Engine engine, QString text, Access access);

    Engine engine_;
    QString text_;
    Access access_;
};

}  // namespace store
