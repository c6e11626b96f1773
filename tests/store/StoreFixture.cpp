#include "tests/store/StoreFixture.h"

#include "store/ServerSetup.h"

#include <QFile>

#include <limits>

namespace store_testing {

QString templatePath()
{
    return QStringLiteral(ROSTELLE_TEMPLATE_DATABASE);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

std::string backendName(const ::testing::TestParamInfo<Backend>& info)
{
    return info.param == Backend::SQLite ? "SQLite" : "PostgreSQL";
}

void StoreTest::SetUp()
{
    if (backend() == Backend::SQLite) {
        databasePath = environment.dataHome() + "/dbData.sqlite";
        ASSERT_TRUE(QFile::copy(templatePath(), databasePath)) << "template missing: " << templatePath().toStdString();
        QFile::setPermissions(databasePath, QFile::ReadOwner | QFile::WriteOwner);
        location = store::Location::file(databasePath);
    } else {
        QString whyNot;
        server = testing_support::PostgresServer::shared(&whyNot);
        ASSERT_NE(server, nullptr) << "no PostgreSQL test server: " << whyNot.toStdString();
        serverSchema = server->createSchema();
        location = store::Location::server(server->uri(serverSchema));
        store::setUpServerDatabase(location);
    }
    db = std::make_unique<store::Connection>(QStringLiteral("store-test"));
    db->open(location);
}

void StoreTest::TearDown()
{
    db.reset();
    if (server && !serverSchema.isEmpty())
        server->dropSchema(serverSchema);
}

int StoreTest::rowCount(const QString& table)
{
    return db->query("select count(*) from " + table).front().value(0).toInt();
}

std::unique_ptr<store::Connection> StoreTest::otherConnection(const QString& name)
{
    auto other = std::make_unique<store::Connection>(name);
    other->open(location);
    return other;
}

void StoreTest::useUpIdentifiers(const QString& table)
{
    const QString largest = QString::number(std::numeric_limits<qint64>::max());
    if (backend() == Backend::SQLite)
        db->execute("update sqlite_sequence set seq=" + largest + " where name='" + table + "'");
    else
        db->query("select setval(pg_get_serial_sequence('" + table.toLower() + "','fldid'), " + largest + ")");
}

void StoreTest::shortenLockWaits(store::Connection& connection)
{
    if (backend() == Backend::SQLite)
        connection.execute("pragma busy_timeout=50");
    else
        connection.execute("set lock_timeout='50ms'");
}

ON_BOTH_STORES(StoreTest);

}  // namespace store_testing
