// What only the SQLite file does: the fresh template's objects, one statement a call, a file
// another connection has locked, and a full disk.
#include "tests/store/StoreFixture.h"

#include "store/Employees.h"
#include "store/ReportQueries.h"
#include "store/Shifts.h"
#include "store/StoreError.h"

using namespace store;
using store_testing::SqliteStoreTest;

namespace {

QStringList objectNames(Connection& db, const QString& type)
{
    QStringList names;
    for (const Row& row : db.query("select name from sqlite_master where type='" + type +
                                   "' and name not like 'sqlite%' order by name"))
        names.append(row.value(0).toString());
    return names;
}

}  // namespace

TEST_F(SqliteStoreTest, FreshTemplateHoldsEightTablesSevenViewsAndNoRows)
{
    QStringList tables{"tblEmployee"};
    QStringList views;
    for (Weekday day : allWeekdays) {
        tables.append(shiftTableName(day));
        views.append(weekdayQueryName(day));
    }
    tables.sort();
    views.sort();
    EXPECT_EQ(objectNames(*db, "table"), tables);
    EXPECT_EQ(objectNames(*db, "view"), views);

    for (const QString& object : tables + views)
        EXPECT_EQ(rowCount(object), 0) << object.toStdString();
    EXPECT_TRUE(listEmployees(*db).empty());
    EXPECT_TRUE(reportEmployees(*db).empty());
    for (Weekday day : allWeekdays) {
        EXPECT_TRUE(listShifts(*db, day).empty());
        EXPECT_FALSE(dayStart(*db, day).has_value());
        EXPECT_FALSE(dayEnd(*db, day).has_value());
    }
}

TEST_F(SqliteStoreTest, OnlyOneStatementRunsPerCall)
{
    insertEmployee(*db, "Ann", "Cook");
    EXPECT_THROW(db->execute("insert into tblEmployee (fldName) values ('x'); delete from tblEmployee"), StoreError);
    EXPECT_EQ(rowCount("tblEmployee"), 1);
}

TEST_F(SqliteStoreTest, ALockedDatabaseIsBusyAndMayBeTriedAgain)
{
    Connection other("locker");
    other.open(databasePath);
    other.execute("begin exclusive");
    try {
        insertEmployee(*db, "Ann", "Cook");
        ADD_FAILURE() << "wrote to a locked database";
    } catch (const StoreError& e) {
        EXPECT_TRUE(e.description().contains("is busy")) << e.what();
        EXPECT_TRUE(e.description().contains("try again")) << e.what();
        EXPECT_TRUE(e.description().contains("database is locked")) << e.what();
    }
    other.execute("rollback");
    insertEmployee(*db, "Ann", "Cook");
    EXPECT_EQ(rowCount("tblEmployee"), 1);
}

TEST_F(SqliteStoreTest, AFullDiskIsNamedInPlainWordsAndNothingIsStored)
{
    insertEmployee(*db, "Ann", "Cook");
    // The database may not grow by a page: to SQLite that is a full disk.
    const int pages = db->query("pragma page_count").front().value(0).toInt();
    db->query("pragma max_page_count=" + QString::number(pages));
    try {
        insertEmployee(*db, QString(200000, 'x'), "Cook");
        ADD_FAILURE() << "stored on a full disk";
    } catch (const StoreError& e) {
        EXPECT_TRUE(e.description().contains("the disk is full")) << e.what();
        EXPECT_TRUE(e.description().contains(databasePath)) << e.what();
        EXPECT_FALSE(e.description().contains("identifiers")) << e.what();
    }
    EXPECT_EQ(rowCount("tblEmployee"), 1);
}
