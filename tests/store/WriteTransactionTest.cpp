// Write transactions on both stores: a failed statement leaves the rest of the change usable and
// the change is kept or dropped whole; a transaction that cannot begin lets none of its steps run.
#include "tests/store/StoreFixture.h"

#include "store/Employees.h"
#include "store/Shifts.h"
#include "store/StoreError.h"
#include "store/WriteTransaction.h"

#include <functional>

using namespace store;

namespace {

class WriteTransactionTest : public store_testing::StoreTest {
protected:
    // An employee with a shift on every weekday, whose Thursday shift cannot be deleted, as in a
    // damaged or locked table.
    qint64 employeeWithAStuckShift()
    {
        const qint64 employee = insertEmployee(*db, "Gone", "Cook");
        for (Weekday day : allWeekdays)
            insertShift(*db, day, employee, "09:00:00 AM", "10:00:00 AM");
        refuseDeletesFrom("tblShiftThursday");
        return employee;
    }
    // The delete cascade as the window runs it: every statement, whatever the one before did.
    int cascade(qint64 employee)
    {
        int failures = 0;
        const auto step = [&](const std::function<void()>& statement) {
            try {
                statement();
            } catch (const StoreError&) {
                ++failures;
            }
        };
        step([&] { deleteEmployee(*db, employee); });
        for (Weekday day : allWeekdays)
            step([&] { deleteEmployeeShifts(*db, day, employee); });
        return failures;
    }
    int shiftsLeft()
    {
        int left = 0;
        for (Weekday day : allWeekdays)
            left += rowCount(shiftTableName(day));
        return left;
    }
};

ON_BOTH_STORES(WriteTransactionTest);

}  // namespace

TEST_P(WriteTransactionTest, OneFailedStatementLeavesTheOthersWorkingAndTheChangeIsDroppedWhole)
{
    const qint64 gone = employeeWithAStuckShift();
    {
        WriteTransaction removal(*db, WriteRule::DeleteEmployee, gone);
        EXPECT_EQ(cascade(gone), 1);
        // Inside the change the statements after the failed one did their part.
        EXPECT_EQ(rowCount("tblEmployee"), 0);
        EXPECT_EQ(shiftsLeft(), 1);
        removal.rollback();
    }
    EXPECT_EQ(listEmployees(*db).size(), 1u);
    EXPECT_EQ(shiftsLeft(), 7);
}

TEST_P(WriteTransactionTest, AChangeThatIsNeitherKeptNorDroppedIsDroppedWhenItEnds)
{
    const qint64 gone = employeeWithAStuckShift();
    {
        WriteTransaction removal(*db, WriteRule::DeleteEmployee, gone);
        cascade(gone);
    }
    EXPECT_EQ(listEmployees(*db).size(), 1u);
    EXPECT_EQ(shiftsLeft(), 7);
    EXPECT_FALSE(db->inTransaction());
}

TEST_P(WriteTransactionTest, AKeptChangeKeepsWhatWorked)
{
    const qint64 gone = employeeWithAStuckShift();
    {
        WriteTransaction removal(*db, WriteRule::DeleteEmployee, gone);
        cascade(gone);
        removal.commit();
    }
    EXPECT_TRUE(listEmployees(*db).empty());
    EXPECT_EQ(shiftsLeft(), 1);
}

TEST_P(WriteTransactionTest, AChangeThatCannotBeginLetsNoneOfItsStepsRunUntilItEnds)
{
    const qint64 ann = insertEmployee(*db, "Ann", "Cook");
    const auto other = otherConnection("other-planner");
    shortenLockWaits(*db);
    {
        WriteTransaction holding(*other, WriteRule::AddShift, ann);
        insertShift(*other, Weekday::Monday, ann, "09:00:00 AM", "10:00:00 AM");
        {
            WriteTransaction adding(*db, WriteRule::AddShift, ann);
            try {
                shiftOverlaps(*db, Weekday::Monday, ann, "11:00:00 AM", "12:00:00 PM");
                ADD_FAILURE() << "read while another planner held the employee";
            } catch (const StoreError& e) {
                EXPECT_TRUE(QString(e.what()).contains("lock")) << e.what();
            }
            EXPECT_THROW(insertShift(*db, Weekday::Monday, ann, "11:00:00 AM", "12:00:00 PM"), StoreError);
            EXPECT_NO_THROW(adding.commit());
        }
        holding.commit();
    }
    EXPECT_EQ(listShifts(*db, Weekday::Monday).size(), 1u);
    EXPECT_FALSE(shiftOverlaps(*db, Weekday::Monday, ann, "11:00:00 AM", "12:00:00 PM"));
    insertShift(*db, Weekday::Monday, ann, "11:00:00 AM", "12:00:00 PM");
    EXPECT_EQ(listShifts(*db, Weekday::Monday).size(), 2u);
}

TEST_P(WriteTransactionTest, APartIsKeptOrDroppedOnItsOwnAndStoredOnlyWithTheWholeChange)
{
    {
        WriteTransaction whole(*db, WriteRule::LoadSample);
        {
            WriteTransaction kept(*db, WriteRule::AddEmployee);
            insertEmployee(*db, "Kept", "Cook");
            kept.commit();
        }
        {
            WriteTransaction dropped(*db, WriteRule::AddEmployee);
            insertEmployee(*db, "Dropped", "Cook");
        }
        const qint64 kept = findEmployee(*db, "Kept", "Cook").value();
        {
            // A part with a failed statement inside: the statement alone is undone, as in a change.
            WriteTransaction shift(*db, WriteRule::AddShift, kept);
            insertShift(*db, Weekday::Monday, kept, "09:00:00 AM", "10:00:00 AM");
            EXPECT_THROW(db->execute("insert into tblNowhere values (1)"), StoreError);
            shift.commit();
        }
        EXPECT_EQ(rowCount("tblEmployee"), 1);
        EXPECT_EQ(rowCount("tblShiftMonday"), 1);
        EXPECT_FALSE(findEmployee(*db, "Dropped", "Cook").has_value());
        // Not kept: nothing of its parts stays.
    }
    EXPECT_EQ(rowCount("tblEmployee"), 0);
    EXPECT_EQ(rowCount("tblShiftMonday"), 0);

    WriteTransaction whole(*db, WriteRule::LoadSample);
    {
        WriteTransaction part(*db, WriteRule::AddEmployee);
        insertEmployee(*db, "Kept", "Cook");
        part.commit();
    }
    whole.commit();
    EXPECT_EQ(rowCount("tblEmployee"), 1);
}
