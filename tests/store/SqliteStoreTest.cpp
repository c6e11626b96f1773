// What only the SQLite file does: the fresh template's objects, one statement a call, a file
// another connection has locked, a full disk, and rows read straight from SQLite.
#include "tests/store/StoreFixture.h"

#include "store/Employees.h"
#include "store/LibSqlite.h"
#include "store/ReportQueries.h"
#include "store/Shifts.h"
#include "store/StoreError.h"

#include <QSqlDatabase>

#include <functional>

using namespace store;
using store_testing::SqliteStoreTest;

namespace {

// Every field of the row read in each way, a failure as its description.
QStringList readings(const Fields& row, int count)
{
    const auto reading = [](const std::function<QString()>& read) {
        try {
            return read();
        } catch (const StoreError& e) {
            return "fails: " + e.description();
        }
    };
    QStringList read;
    for (int i = 0; i < count; ++i) {
        const QVariant field = row.field(i);
        read.append(QString("%1 %2 %3").arg(field.typeName()).arg(field.isNull()).arg(field.toString()));
        read.append(reading([&] { return QString::number(row.identifier(i)); }));
        read.append(reading([&] { return row.storedTime(i).toString("HH:mm:ss"); }));
        read.append(row.text(i));
        const auto integer = row.storedInteger(i);
        read.append(integer ? QString::number(*integer) : "none");
    }
    return read;
}

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

TEST_F(SqliteStoreTest, RowsReadStraightFromTheFileReadAsThroughQtSql)
{
    ASSERT_TRUE(libsqlite::Handle::of(QSqlDatabase::database(db->connectionName(), false)).has_value())
        << "the rows would come through Qt SQL";
    db->execute("create table tblOdd (fldValue)");
    for (const char* value :
         {"7", "-3", "9223372036854775807", "2.5", "1e30", "'12'", "' 12 '", "'x'", "''", "null", "x'3132'", "x''",
          "'08:30:00'", "'08:30:00' || char(10)", "'8:30:00'", "'24:00:00'", "'Zoë'", "'０9:00:00'",
          "'08:30' || char(0) || ':00'", "cast('23:59:59' as blob)", "'23:59:59'"})
        db->execute(QString("insert into tblOdd values (%1)").arg(value));

    const QString read = "select fldValue, 'Ann' from tblOdd order by rowid";
    QList<QStringList> straight;
    db->eachRow(read, [&](const Fields& row) { straight.append(readings(row, 2)); });
    QList<QStringList> throughQtSql;
    for (const Row& row : db->query(read))
        throughQtSql.append(readings(row, 2));
    EXPECT_EQ(straight, throughQtSql);
    ASSERT_EQ(straight.size(), 21);
    EXPECT_EQ(straight[0][1], "7");
    EXPECT_EQ(straight[12][2], "08:30:00");

    EXPECT_EQ(store_testing::failureOf([&] { db->eachRow("select fldNothing from tblOdd", [](const Fields&) {}); }),
              "no such column: fldNothing");
    // What the row's reader throws ends the calls, and comes once the statement is done.
    int rows = 0;
    EXPECT_EQ(store_testing::failureOf([&] {
                  db->eachRow(read, [&](const Fields& row) {
                      ++rows;
                      row.identifier(5);
                  });
              }),
              "The result has no column 6.");
    EXPECT_EQ(rows, 1);
}
