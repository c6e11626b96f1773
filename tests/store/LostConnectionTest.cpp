// A connection to the PostgreSQL server that is lost: the step says so, a change cut off half-way
// leaves nothing, and the next action connects again.
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

TEST_F(LostConnectionTest, TheStepSaysSoAndTheNextOneConnectsAgain)
{
    insertEmployee(*db, "Ann", "Cook");
    loseConnection();
    const QString failure = failureOf([&] { insertEmployee(*db, "Bob", "Cook"); });
    EXPECT_TRUE(failure.contains("was lost")) << failure.toStdString();
    EXPECT_TRUE(failure.contains("The next action connects again")) << failure.toStdString();

    EXPECT_EQ(listEmployees(*db).size(), 1u);
    insertEmployee(*db, "Cid", "Cook");
    EXPECT_EQ(rowCount("tblEmployee"), 2);
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
