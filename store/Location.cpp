// Reading a store's location; libpq itself reads the connection URIs, so every form it accepts
// (percent-encoded parts, several hosts, parameters after "?") means what it means to libpq.
#include "store/Location.h"

#include "store/StoreError.h"

#include <libpq-fe.h>

#include <memory>

namespace store {

Location::Location(Engine engine, QString text, Access access)
    : engine_(engine), text_(std::move(text)), access_(access)
{
}

Location Location::file(const QString& path, Access access) { return Location(Engine::SQLite, path, access); }

Location Location::server(const QString& uri, Access access) { return Location(Engine::PostgreSQL, uri, access); }

Location Location::withAccess(Access access) const { return Location(engine_, text_, access); }

std::vector<std::pair<QString, QString>> Location::serverParameters() const
{
    const QString trimmed = text_.trimmed();
    if (!trimmed.startsWith(QLatin1String("postgresql://")) && !trimmed.startsWith(QLatin1String("postgres://")))
        throw StoreError(QStringLiteral("\"%1\" is not a PostgreSQL connection URI "
                                        "(postgresql://user@host:port/database).")
                             .arg(text_));
    char* error = nullptr;
    const std::unique_ptr<PQconninfoOption, void (*)(PQconninfoOption*)> options(
        PQconninfoParse(trimmed.toUtf8().constData(), &error), PQconninfoFree);
    if (!options) {
        const QString reason = error ? QString::fromUtf8(error).trimmed() : QStringLiteral("it cannot be read");
        PQfreemem(error);
        throw StoreError(QStringLiteral("The connection URI \"%1\" cannot be used: %2").arg(text_, reason));
    }
    std::vector<std::pair<QString, QString>> given;
    for (const PQconninfoOption* option = options.get(); option->keyword; ++option) {
        if (option->val)
            given.emplace_back(QString::fromUtf8(option->keyword), QString::fromUtf8(option->val));
    }
    return given;
}

bool Location::carriesPassword() const
{
    if (engine_ != Engine::PostgreSQL)
        return false;
    for (const auto& [keyword, value] : serverParameters()) {
        if (keyword == QLatin1String("password") && !value.isEmpty())
            return true;
    }
    return false;
}

QString Location::displayName() const
{
    if (engine_ == Engine::SQLite)
        return text_;
    QString database;
    QString host;
    QString user;
    try {
        for (const auto& [keyword, value] : serverParameters()) {
            if (keyword == QLatin1String("dbname"))
                database = value;
            else if (keyword == QLatin1String("host"))
                host = value;
            else if (keyword == QLatin1String("user"))
                user = value;
        }
    } catch (const StoreError&) {
        return text_;
    }
    // libpq's defaults: the database named after the user, the server on this computer.
    if (database.isEmpty())
        database = user.isEmpty() ? QStringLiteral("the default database") : user;
    if (host.isEmpty() || host.startsWith(QLatin1Char('/')) || host.startsWith(QLatin1Char('@')))
        return database + QStringLiteral(" on this computer");
    return database + QStringLiteral(" on ") + host;
}

}  // namespace store
