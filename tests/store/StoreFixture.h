// The roster's store on each of its engines: a fresh copy of the built template (SQLite) or a new
// database on the tests' PostgreSQL server set up as --init-database does, opened on its own
// connection. Tests of what both stores must do are TEST_P on StoreTest (or a fixture derived
// from it, instantiated with ON_BOTH_STORES); tests of the SQLite file itself use SqliteStoreTest.
#pragma once

#include "store/Connection.h"
#include "tests/support/PostgresServer.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <memory>

namespace store_testing {

enum class Backend { SQLite, PostgreSQL };

QString templatePath();
QByteArray fileBytes(const QString& path);

class StoreTest : public ::testing::TestWithParam<Backend> {
protected:
    virtual Backend backend() const { return GetParam(); }
    void SetUp() override;
    void TearDown() override;

    // Number of rows of a table or view.
    int rowCount(const QString& table);
    // Another connection to the same database, as another planner's program would have.
    std::unique_ptr<store::Connection> otherConnection(const QString& name);
    // Makes the table's next insert find its identifiers used up.
    void useUpIdentifiers(const QString& table);
    // Makes a connection give up after a short wait for a lock another connection holds.
    void shortenLockWaits(store::Connection& connection);

    testing_support::TestEnvironment environment;
    store::Location location = store::Location::file(QString());
    QString databasePath;  // the SQLite file; empty on the server
    QString serverSchema;  // the roster's place on the server; empty for the file
    testing_support::PostgresServer* server = nullptr;
    std::unique_ptr<store::Connection> db;
};

// The store tests that concern the SQLite file itself.
class SqliteStoreTest : public StoreTest {
protected:
    Backend backend() const override { return Backend::SQLite; }
};

std::string backendName(const ::testing::TestParamInfo<Backend>& info);

}  // namespace store_testing

#define ON_BOTH_STORES(Fixture)                                                                               \
    INSTANTIATE_TEST_SUITE_P(Stores, Fixture,                                                                 \
                             ::testing::Values(store_testing::Backend::SQLite, store_testing::Backend::PostgreSQL), \
                             store_testing::backendName)
