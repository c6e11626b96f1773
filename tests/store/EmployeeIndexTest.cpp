// The index on each weekday table's employee column: in the template, and added once to a
// working database made before it, with nothing else changed; a database that cannot take it
// is still opened and used.
#include "tests/store/StoreFixture.h"

#include "store/Employees.h"
#include "store/ReportQueries.h"
#include "store/Shifts.h"

#include <QFile>

using namespace store;
using testing_support::fileBytes;
using store_testing::SqliteStoreTest;

namespace {

// The definitions of the indexes we made (SQLite's own have no text), by name.
QStringList indexDefinitions(Connection& db)
{
    QStringList definitions;
    for (const Row& row : db.query("select name, tbl_name, sql from sqlite_master where type='index' and sql is not "
                                   "null order by name"))
        definitions.append(row.value(0).toString() + " on " + row.value(1).toString() + ": " +
                           row.value(2).toString());
    return definitions;
}

// Every row of every table and view, and every schema object but the indexes.
QStringList everythingButIndexes(Connection& db)
{
    QStringList content;
    for (const Row& object : db.query("select type, name, sql from sqlite_master where type<>'index' order by name")) {
        content.append(object.value(0).toString() + " " + object.value(1).toString() + ": " +
                       object.value(2).toString());
        for (const Row& row : db.query("select * from " + object.value(1).toString() + " order by 1, 2")) {
            QStringList values;
            for (int i = 0; i < row.size(); ++i)
                values.append(row.value(i).toString());
            content.append("  " + values.join('|'));
        }
    }
    content.append("user_version " + db.query("pragma user_version").front().value(0).toString());
    return content;
}

class EmployeeIndexTest : public SqliteStoreTest {
protected:
    // Turns the working database into one made before the indexes, with a roster in it.
    void makeOldDatabase()
    {
        const qint64 ann = insertEmployee(*db, "Ann", "Cook");
        const qint64 bob = insertEmployee(*db, "Bob", "Waiter");
        for (Weekday day : allWeekdays) {
            insertShift(*db, day, ann, "09:00:00 AM", "01:00:00 PM");
            insertShift(*db, day, bob, "12:00:00 PM", "05:00:00 PM");
            db->execute("drop index idxShift" + weekdayCaption(day) + "Employee");
        }
        db->close();
    }
    QStringList inspect(QStringList (*what)(Connection&))
    {
        Connection look("inspect");
        look.open(databasePath, Access::ReadOnly);
        return what(look);
    }
};

}  // namespace

TEST_F(EmployeeIndexTest, TemplateIndexesEveryWeekdayTableOnItsEmployeeColumn)
{
    QStringList expected;
    for (Weekday day : allWeekdays) {
        const QString table = shiftTableName(day);
        expected.append("idxShift" + weekdayCaption(day) + "Employee on " + table + ": CREATE INDEX idxShift" +
                        weekdayCaption(day) + "Employee ON " + table + " (fldEmpID)");
        const Rows plan = db->query("explain query plan select * from " + weekdayQueryName(day) + " where fldempid=1");
        ASSERT_FALSE(plan.empty());
        EXPECT_TRUE(plan.back().value("detail").toString().contains("USING INDEX"))
            << plan.back().value("detail").toString().toStdString();
    }
    expected.sort();
    EXPECT_EQ(indexDefinitions(*db), expected);
}

TEST_F(EmployeeIndexTest, AnOldDatabaseGetsTheTemplatesIndexesOnceAndNothingElseChanges)
{
    const QStringList templateIndexes = indexDefinitions(*db);
    makeOldDatabase();
    ASSERT_TRUE(inspect(indexDefinitions).isEmpty());
    const QStringList before = inspect(everythingButIndexes);

    db->open(databasePath);
    EXPECT_EQ(indexDefinitions(*db), templateIndexes);
    EXPECT_EQ(everythingButIndexes(*db), before);
    EXPECT_FALSE(db->inTransaction());
    EXPECT_EQ(reportEmployeeShifts(*db, Weekday::Sunday, 2).size(), 1u);
    db->close();

    // Once there, opening again writes nothing.
    const QByteArray made = fileBytes(databasePath);
    db->open(databasePath);
    db->close();
    EXPECT_EQ(fileBytes(databasePath), made);
}

TEST_F(EmployeeIndexTest, ADatabaseThatCannotTakeTheIndexIsStillOpenedAndUsed)
{
    makeOldDatabase();
    const QByteArray old = fileBytes(databasePath);

    // Read-only: never written.
    db->open(databasePath, Access::ReadOnly);
    EXPECT_EQ(reportEmployees(*db).size(), 2u);
    db->close();
    EXPECT_EQ(fileBytes(databasePath), old);

    // Another connection is reading, so no change can be committed: opened without the index,
    // which comes with a later open.
    Connection other("reader");
    other.open(databasePath, Access::ReadOnly);
    other.beginReading();
    other.query("select count(*) from tblEmployee");
    db->open(databasePath);
    EXPECT_TRUE(indexDefinitions(*db).isEmpty());
    EXPECT_EQ(reportEmployeeShifts(*db, Weekday::Monday, 1).size(), 1u);
    EXPECT_FALSE(db->inTransaction());
    other.commit();
    EXPECT_NO_THROW(insertEmployee(*db, "Cid", "Cook"));
    db->close();
    db->open(databasePath);
    EXPECT_EQ(indexDefinitions(*db).size(), 7);
    EXPECT_EQ(listEmployees(*db).size(), 3u);
}
