// A connection to the PostgreSQL server that is lost: a statement outside a change connects again
// and runs once more, a change cut off half-way says so and leaves nothing, and the next action
// works.
#include "tests/store/StoreFixture.h"

#include "store/Employees.h"
#include "store/ReportQueries.h"
#include "store/Shifts.h"
#include "store/WriteTransaction.h"

using namespace store;
using store_testing::Backend;
using store_testing::failureOf;

namespace {

class LostConnectionTest : public store_testing::StoreTest {
protected:
    Backend backend() const override { return Backend::PostgreSQL; }
    void loseConnection() { server->endSessions(serverSchema.name()); }
};

}  // namespace

TEST_F(LostConnectionTest, AStatementOutsideAChangeRunsAgainOnceOnANewConnection)
{
    insertEmployee(*db, "Ann", "Cook");
    loseConnection();
    // Idle when the server ended the session: the first statement after it finds out, connects
    // again and runs once more, so the action works the first time.
    EXPECT_EQ(listEmployees(*db).size(), 1u);
    EXPECT_EQ(db->reconnections(), 1);
    loseConnection();
    insertEmployee(*db, "Cid", "Cook");
    EXPECT_EQ(rowCount("tblEmployee"), 2);
    EXPECT_EQ(db->reconnections(), 2);
}

TEST_F(LostConnectionTest, AChangeCutOffHalfWayLeavesNothingAndTheNextActionWorks)
{
    const qint64 ann = insertEmployee(*db, "Ann", "Cook");
    for (Weekday day : allWeekdays)
        insertShift(*db, day, ann, "09:00:00 AM", "10:00:00 AM");
    {
        WriteTransaction removal(*db, WriteRule::DeleteEmployee, ann);
        deleteEmployee(*db, ann);
        deleteEmployeeShifts(*db, Weekday::Monday, ann);
        loseConnection();
        EXPECT_FALSE(failureOf([&] { deleteEmployeeShifts(*db, Weekday::Tuesday, ann); }).isEmpty());
        // Nothing after the loss runs on a new connection as if it were part of the change.
        EXPECT_FALSE(failureOf([&] { deleteEmployeeShifts(*db, Weekday::Wednesday, ann); }).isEmpty());
        EXPECT_FALSE(failureOf([&] { removal.commit(); }).isEmpty());
    }
    EXPECT_EQ(listEmployees(*db).size(), 1u);
    for (Weekday day : allWeekdays)
        EXPECT_EQ(listShifts(*db, day).size(), 1u) << weekdayCaption(day).toStdString();
}

TEST_F(LostConnectionTest, AReadingGoesOnAfterTheFailedRead)
{
    const qint64 ann = insertEmployee(*db, "Ann", "Cook");
    insertShift(*db, Weekday::Monday, ann, "09:00:00 AM", "10:00:00 AM");
    ReportReading reading(*db);
    EXPECT_EQ(reportEmployees(reading).size(), 1u);
    loseConnection();
    EXPECT_FALSE(failureOf([&] { reportEmployeeShifts(reading, Weekday::Monday, ann); }).isEmpty());
    EXPECT_EQ(reportEmployeeShifts(reading, Weekday::Monday, ann).size(), 1u);
    EXPECT_EQ(dayStart(reading, Weekday::Monday), QTime(9, 0));
}
