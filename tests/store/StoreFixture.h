// The roster's store on each of its engines: a fresh copy of the built template (SQLite) or a new
// database on the tests' PostgreSQL server set up as --init-database does, opened on its own
// connection. Each test file of what both stores must do derives its own suite from StoreTest and
// instantiates it with ON_BOTH_STORES; tests of the SQLite file itself use SqliteStoreTest.
#pragma once

#include "store/Connection.h"
#include "store/Weekday.h"
#include "tests/support/PostgresServer.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace store_testing {

enum class Backend { SQLite, PostgreSQL };

QString templatePath();

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
    // Makes every delete from the table fail, as a damaged or locked table would.
    void refuseDeletesFrom(const QString& table);

    testing_support::TestEnvironment environment;
    store::Location location = store::Location::file(QString());
    QString databasePath;  // the SQLite file; empty on the server
    testing_support::ServerSchema serverSchema;  // the roster's place on the server
    testing_support::PostgresServer* server = nullptr;
    std::unique_ptr<store::Connection> db;
};

// The store tests that concern the SQLite file itself.
class SqliteStoreTest : public StoreTest {
protected:
    Backend backend() const override { return Backend::SQLite; }
};

std::string backendName(const ::testing::TestParamInfo<Backend>& info);

// The description of the StoreError the step throws; empty when it throws none.
QString failureOf(const std::function<void()>& step);

// Stores the sample set the way the program does, each rule in its write transaction: find or
// add each employee, then each shift unless it collides. Returns the (employee, weekday) pairs
// that were added.
std::vector<std::pair<int, store::Weekday>> storeSample(store::Connection& db, int step);

}  // namespace store_testing

#define ON_BOTH_STORES(Fixture)                                                                               \
    INSTANTIATE_TEST_SUITE_P(Stores, Fixture,                                                                 \
                             ::testing::Values(store_testing::Backend::SQLite, store_testing::Backend::PostgreSQL), \
                             store_testing::backendName)
