// Shift records: the overlap rule, the list of a weekday, and deleting one shift.
#include "tests/store/StoreFixture.h"

#include "store/Employees.h"
#include "store/Shifts.h"
#include "store/StoreError.h"

using namespace store;

namespace {

// Two employees of the same position, so that the rules must tell them apart.
class ShiftTest : public store_testing::StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        ann = insertEmployee(*db, "Ann", "Cook");
        bob = insertEmployee(*db, "Bob", "Cook");
    }

    // Stores the shift unless it collides, as adding a shift does; true when stored.
    bool add(qint64 employee, Weekday day, const QString& in, const QString& out)
    {
        if (shiftOverlaps(*db, day, employee, in, out))
            return false;
        insertShift(*db, day, employee, in, out);
        return true;
    }

    qint64 ann = 0;
    qint64 bob = 0;
};

ON_BOTH_STORES(ShiftTest);

}  // namespace

TEST_P(ShiftTest, TouchingInsideAroundAndEarlierShiftsAreRefused)
{
    ASSERT_TRUE(add(ann, Weekday::Monday, "09:00:00 AM", "05:00:00 PM"));
    EXPECT_FALSE(add(ann, Weekday::Monday, "05:00:00 PM", "09:00:00 PM"));  // starts when the other ends
    EXPECT_TRUE(add(ann, Weekday::Monday, "06:00:00 PM", "10:00:00 PM"));
    EXPECT_FALSE(add(ann, Weekday::Monday, "07:00:00 AM", "09:00:00 AM"));  // ends when the other starts
    EXPECT_FALSE(add(ann, Weekday::Monday, "10:00:00 AM", "11:00:00 AM"));  // inside
    EXPECT_FALSE(add(ann, Weekday::Monday, "07:00:00 AM", "07:00:00 PM"));  // around
    EXPECT_TRUE(add(ann, Weekday::Monday, "07:00:00 AM", "08:00:00 AM"));
    EXPECT_EQ(rowCount("tblShiftMonday"), 3);
}

TEST_P(ShiftTest, OtherEmployeesAndOtherWeekdaysNeverCollide)
{
    ASSERT_TRUE(add(ann, Weekday::Monday, "09:00:00 AM", "05:00:00 PM"));
    EXPECT_TRUE(add(bob, Weekday::Monday, "09:00:00 AM", "05:00:00 PM"));
    EXPECT_TRUE(add(ann, Weekday::Tuesday, "09:00:00 AM", "05:00:00 PM"));
    EXPECT_TRUE(add(ann, Weekday::Sunday, "10:00:00 AM", "11:00:00 AM"));
    EXPECT_EQ(rowCount("tblShiftMonday"), 2);
}

TEST_P(ShiftTest, OvernightShiftIsStoredAndNothingWrapsAroundMidnight)
{
    ASSERT_TRUE(add(ann, Weekday::Wednesday, "10:00:00 PM", "06:00:00 AM"));
    const Rows stored = db->query("select fldtimein, fldtimeout from tblShiftWednesday");
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].value(0).toString(), "22:00:00");
    EXPECT_EQ(stored[0].value(1).toString(), "06:00:00");
    EXPECT_TRUE(add(ann, Weekday::Wednesday, "11:00:00 PM", "11:30:00 PM"));
}

TEST_P(ShiftTest, SecondClauseComparesTheStoredEndWithTheNewStart)
{
    // Reversed new shift 8 PM..10 AM against 9 AM..5 PM: the stored shift starts before the new
    // end (10 AM) but ends before the new start (8 PM), so nothing collides.
    ASSERT_TRUE(add(ann, Weekday::Monday, "09:00:00 AM", "05:00:00 PM"));
    EXPECT_TRUE(add(ann, Weekday::Monday, "08:00:00 PM", "10:00:00 AM"));
}

TEST_P(ShiftTest, ZeroLengthShiftRefusesEveryShiftCoveringItsInstant)
{
    ASSERT_TRUE(add(ann, Weekday::Thursday, "12:00:00 PM", "12:00:00 PM"));
    EXPECT_FALSE(add(ann, Weekday::Thursday, "11:00:00 AM", "01:00:00 PM"));
    EXPECT_FALSE(add(ann, Weekday::Thursday, "12:00:00 PM", "01:00:00 PM"));
    EXPECT_FALSE(add(ann, Weekday::Thursday, "11:00:00 AM", "12:00:00 PM"));
    EXPECT_FALSE(add(ann, Weekday::Thursday, "12:00:00 PM", "12:00:00 PM"));
    EXPECT_TRUE(add(ann, Weekday::Thursday, "12:15:00 PM", "01:00:00 PM"));
    EXPECT_TRUE(add(ann, Weekday::Thursday, "10:00:00 AM", "11:45:00 AM"));
}

TEST_P(ShiftTest, MalformedTimeIsRefusedBeforeAnyStatementRuns)
{
    EXPECT_THROW(insertShift(*db, Weekday::Monday, ann, "9:00 AM", "05:00:00 PM"), StoreError);
    EXPECT_THROW(insertShift(*db, Weekday::Monday, ann, "09:00:00 AM", "05:00:00 PM'); delete from tblEmployee; --"),
                 StoreError);
    EXPECT_THROW(shiftOverlaps(*db, Weekday::Monday, ann, "", "05:00:00 PM"), StoreError);
    EXPECT_EQ(rowCount("tblShiftMonday"), 0);
    EXPECT_EQ(rowCount("tblEmployee"), 2);
}

TEST_P(ShiftTest, ShiftListShowsTheWeekdaysShiftsWithNamesAndDisplayTimes)
{
    const qint64 late = insertShift(*db, Weekday::Tuesday, ann, "02:30:00 PM", "06:00:00 PM");
    const qint64 early = insertShift(*db, Weekday::Tuesday, bob, "08:30:00 AM", "12:00:00 PM");
    insertShift(*db, Weekday::Wednesday, ann, "07:00:00 AM", "08:00:00 AM");
    db->execute("insert into tblShiftTuesday (fldempid,fldtimein,fldtimeout) values ('" + QString::number(bob) +
                "','11:00:00',null)");

    const auto shifts = listShifts(*db, Weekday::Tuesday);
    ASSERT_EQ(shifts.size(), 3u);
    EXPECT_EQ(shifts[0].id, early);
    EXPECT_EQ(shifts[0].employeeName, "Bob");
    EXPECT_EQ(shifts[0].timeIn, "8:30:00 AM");
    EXPECT_EQ(shifts[0].timeOut, "12:00:00 PM");
    EXPECT_EQ(shifts[1].timeIn, "11:00:00 AM");
    EXPECT_EQ(shifts[1].timeOut, "");
    EXPECT_EQ(shifts[2].id, late);
    EXPECT_EQ(shifts[2].employeeName, "Ann");
    EXPECT_EQ(shifts[2].timeIn, "2:30:00 PM");
    EXPECT_EQ(shifts[2].timeOut, "6:00:00 PM");
}

TEST_P(ShiftTest, DeleteShiftRemovesOnlyThatRowOfThatWeekday)
{
    const qint64 monday = insertShift(*db, Weekday::Monday, ann, "09:00:00 AM", "10:00:00 AM");
    const qint64 tuesday = insertShift(*db, Weekday::Tuesday, ann, "09:00:00 AM", "10:00:00 AM");
    insertShift(*db, Weekday::Monday, ann, "11:00:00 AM", "12:00:00 PM");
    ASSERT_EQ(monday, tuesday);  // each weekday numbers its own shifts

    deleteShift(*db, Weekday::Monday, monday);
    const auto left = listShifts(*db, Weekday::Monday);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].timeIn, "11:00:00 AM");
    EXPECT_EQ(listShifts(*db, Weekday::Tuesday).size(), 1u);
}
