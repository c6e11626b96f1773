// Where the roster is kept: the SQLite working file (the default), or a PostgreSQL database that
// several planners share, named by a libpq connection URI
// (postgresql://user@host:port/dbname, a Unix socket folder as ?host=/path).
#pragma once

#include "store/Dialect.h"

#include <QString>
#include <QStringList>

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
    // The file's path or the URI, as given; never for a message (see shownText()).
    const QString& text() const { return text_; }
    // The text as messages quote it: any password in it replaced by "***".
    QString shownText() const;
    // A message about this store with every password in it replaced by "***": those in connection
    // texts it quotes, and libpq's own quotes of this store's fields that hold one (a password
    // read as the port, say).
    QString withoutPassword(const QString& message) const;
    Location withAccess(Access access) const;

    // What the user calls this store: the file's path, or "dbname on host"; never a password.
    QString displayName() const;

    // The URI's keywords and values as libpq reads them; throws StoreError for a text that is not
    // a PostgreSQL connection URI.
    std::vector<std::pair<QString, QString>> serverParameters() const;
    // Whether a server's text holds a password, as libpq reads it or, for a text libpq cannot
    // read, as it looks: such a text is refused wherever it would be kept or shown to others.
    bool carriesPassword() const;

private:
    Location(Engine engine, QString text, Access access);
    // The passwords (and parts of one) this text holds, as they appear in it and as libpq reads them.
    QStringList secrets() const;

    Engine engine_;
    QString text_;
    Access access_;
};

// Any connection text, or a message quoting one, with every password in it replaced by "***": a
// URI's user:password@, password=... in any case (also percent-encoded) in a query or in libpq's
// keyword form, and a password that a ";" in the settings file cut to look like a port.
QString withoutPassword(const QString& text);

}  // namespace store
