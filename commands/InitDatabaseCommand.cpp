// Setting a shared roster up from the command line.
#include "commands/InitDatabaseCommand.h"

#include "app/StoreChoice.h"
#include "app/VisibleText.h"

#include "store/ServerSetup.h"
#include "store/StoreError.h"

#include <cstdio>

namespace commands {

using app::visibleText;
using app::databaseUriRefusal;
namespace {

void say(std::FILE* stream, const QString& text) { std::fprintf(stream, "%s\n", qUtf8Printable(visibleText(text))); }

}  // namespace

int runInitDatabase(const QString& uri)
{
    if (const QString refusal = databaseUriRefusal(uri); !refusal.isEmpty()) {
        say(stderr, refusal);
        return 2;
    }
    const store::Location location = store::Location::server(uri);
    try {
        switch (store::setUpServerDatabase(location)) {
        case store::SetupOutcome::Created:
            say(stdout, QStringLiteral("The roster's tables and views were made in %1.").arg(location.displayName()));
            break;
        case store::SetupOutcome::Completed:
            say(stdout, QStringLiteral("The tables and views the roster lacked were added in %1.")
                            .arg(location.displayName()));
            break;
        case store::SetupOutcome::AlreadyThere:
            say(stdout, QStringLiteral("%1 holds the roster already; nothing was changed.").arg(location.displayName()));
            break;
        }
        return 0;
    } catch (const store::StoreError& e) {
        say(stderr, e.description());
        return 1;
    }
}

HeadlessCommand initDatabaseCommand()
{
    const QCommandLineOption trigger(
        QStringLiteral("init-database"),
        QStringLiteral("Set up a shared roster: make the roster's tables and views in this PostgreSQL database "
                       "(a connection URI), without a window."),
        QStringLiteral("uri"));
    HeadlessCommand command{trigger, {}, {}, {}};
    command.run = [trigger](const QCommandLineParser& parser) {
        // The database to set up is named once.
        if (parser.isSet(QStringLiteral("database"))) {
            say(stderr, QStringLiteral("--init-database names the database to set up; leave --database out."));
            return 2;
        }
        return runInitDatabase(parser.value(trigger));
    };
    return command;
}

}  // namespace commands
