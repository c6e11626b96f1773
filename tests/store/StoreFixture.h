// A fresh copy of the built template database in a per-test folder, opened on its own connection.
#pragma once

#include "store/Connection.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <memory>

namespace store_testing {

QString templatePath();
QByteArray fileBytes(const QString& path);

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Number of rows of a table or view.
    int rowCount(const QString& table);

    testing_support::TestEnvironment environment;
    QString databasePath;
    std::unique_ptr<store::Connection> db;
};

}  // namespace store_testing
