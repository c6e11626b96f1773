#include "tests/support/PostgresServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include <pwd.h>
#include <unistd.h>

namespace testing_support {

namespace {

constexpr const char* kServerUser = "postgres";
constexpr const char* kTestDatabase = "rostelle_tests";

// The newest installed server's programs (Debian keeps them per version).
QString serverBinaries()
{
    QDir versions(QStringLiteral("/usr/lib/postgresql"));
    QStringList found = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(found.begin(), found.end(), [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
    for (const QString& version : found) {
        const QString bin = versions.filePath(version + QStringLiteral("/bin"));
        if (QFile::exists(bin + QStringLiteral("/pg_ctl")) && QFile::exists(bin + QStringLiteral("/initdb")))
            return bin;
    }
    throw std::runtime_error("PostgreSQL is not installed (Debian package postgresql)");
}

bool runningAsRoot() { return geteuid() == 0; }

// Runs a server program, as the server's own user when we are root (the server refuses root).
void runServerProgram(const QString& program, const QStringList& arguments, const QString& folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (runningAsRoot())
        process.start(QStringLiteral("runuser"),
                      QStringList{QStringLiteral("-u"), QString::fromLatin1(kServerUser), QStringLiteral("--"), program} +
                          arguments);
    else
        process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw std::runtime_error((QFileInfo(program).fileName() + QStringLiteral(" failed: ") +
                                  QString::fromLocal8Bit(process.readAll()) + process.errorString())
                                     .toStdString());
}

QString stateFile() { return QStringLiteral(ROSTELLE_TEST_POSTGRES_STATE); }

bool serverAnswersIn(const QString& folder)
{
    return !folder.isEmpty() && QFile::exists(folder + QStringLiteral("/.s.PGSQL.5432"));
}

}  // namespace

QString PostgresServer::start()
{
    QByteArray pattern("/tmp/rostelle-pg-XXXXXX");
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a folder for the test server under /tmp");
    const QString folder = QString::fromLocal8Bit(pattern);
    try {
        if (runningAsRoot()) {
            const passwd* user = getpwnam(kServerUser);
            if (!user || chown(pattern.constData(), user->pw_uid, user->pw_gid) != 0)
                throw std::runtime_error("the server user \"postgres\" is missing");
        }
        const QString bin = serverBinaries();
        // A database default collation that is not byte order (ICU, English), so that the
        // store's own ordering is what the tests see.
        runServerProgram(bin + QStringLiteral("/initdb"),
                         {QStringLiteral("-D"), folder + QStringLiteral("/data"), QStringLiteral("-U"),
                          QString::fromLatin1(kServerUser), QStringLiteral("--auth=trust"), QStringLiteral("--no-sync"),
                          QStringLiteral("--encoding=UTF8"), QStringLiteral("--locale=C.UTF-8"),
                          QStringLiteral("--locale-provider=icu"), QStringLiteral("--icu-locale=en-US")},
                         folder);
        runServerProgram(bin + QStringLiteral("/pg_ctl"),
                         {QStringLiteral("-D"), folder + QStringLiteral("/data"), QStringLiteral("-l"),
                          folder + QStringLiteral("/server.log"), QStringLiteral("-w"), QStringLiteral("-t"),
                          QStringLiteral("60"), QStringLiteral("-o"),
                          QStringLiteral("-k %1 -c listen_addresses='' -F -c max_connections=100").arg(folder),
                          QStringLiteral("start")},
                         folder);
        PostgresServer(folder).runIn("postgres", QStringLiteral("create database ") + QLatin1String(kTestDatabase));
    } catch (...) {
        QDir(folder).removeRecursively();
        throw;
    }
    return folder;
}

void PostgresServer::stop(const QString& folder)
{
    if (folder.isEmpty() || !QFile::exists(folder + QStringLiteral("/data")))
        return;
    try {
        runServerProgram(serverBinaries() + QStringLiteral("/pg_ctl"),
                         {QStringLiteral("-D"), folder + QStringLiteral("/data"), QStringLiteral("-m"),
                          QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop")},
                         folder);
    } catch (const std::runtime_error&) {
        // Not running any more: the folder goes all the same.
    }
    QDir(folder).removeRecursively();
}

PostgresServer* PostgresServer::shared(QString* whyNot)
{
    static std::unique_ptr<PostgresServer> server;
    static QString failure;
    static bool tried = false;
    if (!tried) {
        tried = true;
        QFile state(stateFile());
        QString folder;
        if (state.open(QIODevice::ReadOnly))
            folder = QString::fromLocal8Bit(state.readAll()).trimmed();
        if (serverAnswersIn(folder)) {
            server.reset(new PostgresServer(folder));
        } else {
            try {
                static QString own;
                own = start();
                server.reset(new PostgresServer(own));
                std::atexit([] { stop(own); });
            } catch (const std::runtime_error& e) {
                failure = QString::fromStdString(e.what());
            }
        }
    }
    if (!server && whyNot)
        *whyNot = failure;
    return server.get();
}

QString PostgresServer::uri(const QString& schema) const
{
    // "=" inside a URI parameter's value is written %3D.
    return QStringLiteral("postgresql:///") + QLatin1String(kTestDatabase) + QStringLiteral("?host=") + folder_ +
           QStringLiteral("&user=") + QLatin1String(kServerUser) + QStringLiteral("&options=-csearch_path%3D") +
           schema + QStringLiteral("&application_name=") + schema;
}

// One connection per server folder and database, so that a server that went away never leaves a
// connection to a stale one behind.
void PostgresServer::runIn(const char* database, const QString& statement)
{
    const QString name = QStringLiteral("rostelle-test %1 %2").arg(folder_, QLatin1String(database));
    if (!QSqlDatabase::contains(name)) {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        admin.setConnectOptions(QStringLiteral("host='%1' dbname='%2' user='%3' options='-c client_min_messages=warning'")
                                    .arg(folder_, database, kServerUser));
    }
    QSqlDatabase admin = QSqlDatabase::database(name, false);
    if (!admin.isOpen() && !admin.open())
        throw std::runtime_error("cannot reach the test server: " + admin.lastError().text().toStdString());
    QSqlQuery query(admin);
    if (!query.exec(statement))
        throw std::runtime_error(statement.toStdString() + ": " + query.lastError().text().toStdString());
}

QString PostgresServer::createSchema()
{
    static int made = 0;
    const QString name = QStringLiteral("roster_%1_%2").arg(getpid()).arg(++made);
    runIn(kTestDatabase, QStringLiteral("create schema ") + name);
    return name;
}

void PostgresServer::dropSchema(const QString& schema)
{
    endSessions(schema);
    runIn(kTestDatabase, QStringLiteral("drop schema if exists %1 cascade").arg(schema));
}

void PostgresServer::endSessions(const QString& schema)
{
    runIn("postgres", QStringLiteral("select pg_terminate_backend(pid) from pg_stat_activity where application_name='%1'")
                   .arg(schema));
}

ServerSchema::~ServerSchema()
{
    if (server_ && !name_.isEmpty())
        server_->dropSchema(name_);
}

bool ServerSchema::make(QString* whyNot)
{
    server_ = PostgresServer::shared(whyNot);
    if (server_)
        name_ = server_->createSchema();
    return server_ != nullptr;
}

}  // namespace testing_support
