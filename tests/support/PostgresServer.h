// A PostgreSQL server of the tests' own: initdb into a new folder under /tmp, started by pg_ctl
// with its Unix socket in that folder and no TCP listener, run by the unprivileged "postgres"
// user when the tests run as root. One server serves a whole test run: ctest starts it before
// the tests that need it and stops it after them (postgres_test_server); a test program run on
// its own starts one for itself and stops it when it ends.
#pragma once

#include <QString>

namespace testing_support {

class PostgresServer {
public:
    // Makes and starts a server in a new folder and returns the folder; throws std::runtime_error
    // with the tools' own words when it cannot.
    static QString start();
    // Stops the server of that folder at once and removes the folder.
    static void stop(const QString& folder);

    // The server of this test run; nullptr, with the reason, when there is none to be had.
    static PostgresServer* shared(QString* whyNot);

    const QString& folder() const { return folder_; }

    // A place of a test's own for a roster: a new, empty schema of the server's test database.
    // Its URI makes the schema the current one, as the superuser "postgres", and names the
    // sessions after it, so that tests running at once never see each other's rows or sessions.
    QString createSchema();
    QString uri(const QString& schema) const;
    void dropSchema(const QString& schema);
    // Ends every session on that schema's URI, as a restart of the server would.
    void endSessions(const QString& schema);

private:
    explicit PostgresServer(QString folder) : folder_(std::move(folder)) {}
    void runIn(const char* database, const QString& statement);

    QString folder_;
};

// A schema of the test run's server for one test, dropped with its sessions when the test ends.
class ServerSchema {
public:
    ServerSchema() = default;
    ~ServerSchema();
    ServerSchema(const ServerSchema&) = delete;
    ServerSchema& operator=(const ServerSchema&) = delete;

    // Makes the schema; false, with the reason, when there is no server to be had.
    bool make(QString* whyNot);
    PostgresServer* server() const { return server_; }
    const QString& name() const { return name_; }
    QString uri() const { return server_ ? server_->uri(name_) : QString(); }

private:
    PostgresServer* server_ = nullptr;
    QString name_;
};

}  // namespace testing_support
