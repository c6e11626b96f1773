// Choosing the store for this run.
#include "app/StoreChoice.h"

#include "app/Helpers.h"
#include "app/Paths.h"
#include "app/Settings.h"
#include "app/Trap.h"

#include "store/StoreError.h"

namespace app {
namespace {

QString& commandLineDatabase()
{
    static QString uri;
    return uri;
}

}  // namespace

QCommandLineOption databaseOption()
{
    return QCommandLineOption(QStringLiteral("database"),
                              QStringLiteral("Use the shared roster in this PostgreSQL database (a connection URI, "
                                             "postgresql://user@host:port/dbname) instead of the working file."),
                              QStringLiteral("uri"));
}

QString databaseUriRefusal(const QString& uri)
{
    const store::Location location = store::Location::server(uri);
    if (location.carriesPassword())
        return QStringLiteral("The connection URI holds a password, so it was not used: a password on the command "
                              "line shows in the list of processes; put it in ~/.pgpass or in PGPASSWORD.");
    try {
        location.serverParameters();
        return QString();
    } catch (const store::StoreError& e) {
        return e.description();
    }
}

void chooseDatabase(const QString& uri) { commandLineDatabase() = uri.trimmed(); }

store::Location chosenStore(store::Access access)
{
    if (!commandLineDatabase().isEmpty())
        return store::Location::server(commandLineDatabase(), access);
    const QString setting = Settings::database();
    if (setting.isEmpty())
        return store::Location::file(paths::workingDatabase(), access);
    const store::Location server = store::Location::server(setting, access);
    if (server.carriesPassword())
        throw Failure(QStringLiteral("The setting \"Database\" holds a password, so it was not used: a password "
                                     "belongs in ~/.pgpass or in PGPASSWORD, never in the settings file."));
    return server;
}

bool usesWorkingFile()
{
    return commandLineDatabase().isEmpty() && Settings::database().isEmpty();
}

bool isChosenStore(const store::Location& location)
{
    try {
        const store::Location chosen = chosenStore(location.access());
        return chosen.engine() == location.engine() && chosen.text() == location.text();
    } catch (const std::exception&) {
        return false;
    }
}

QString windowTitle(const store::Location& open)
{
    const QString product = QString::fromUtf8(kProductName);
    if (open.engine() == store::Engine::SQLite)
        return product;
    return product + QStringLiteral(" - ") + open.displayName();
}

}  // namespace app
