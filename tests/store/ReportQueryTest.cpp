// What the schedule sheet reads: weekday spans, the employees, and each one's shifts.
#include "tests/store/StoreFixture.h"

#include "store/Employees.h"
#include "store/ReportQueries.h"
#include "store/Shifts.h"

#include <algorithm>

using namespace store;
using store_testing::StoreTest;

TEST_F(StoreTest, WeekdaySpanRunsFromEarliestInToLatestOut)
{
    const qint64 ann = insertEmployee(*db, "Ann", "Cook");
    const qint64 bob = insertEmployee(*db, "Bob", "Waiter");
    insertShift(*db, Weekday::Saturday, ann, "10:00:00 AM", "02:00:00 PM");
    insertShift(*db, Weekday::Saturday, bob, "08:15:00 AM", "11:00:00 AM");
    insertShift(*db, Weekday::Saturday, bob, "03:00:00 PM", "09:45:00 PM");
    insertShift(*db, Weekday::Sunday, ann, "06:00:00 AM", "11:00:00 PM");

    EXPECT_EQ(dayStart(*db, Weekday::Saturday), QTime(8, 15));
    EXPECT_EQ(dayEnd(*db, Weekday::Saturday), QTime(21, 45));
    EXPECT_FALSE(dayStart(*db, Weekday::Friday).has_value());
    EXPECT_FALSE(dayEnd(*db, Weekday::Friday).has_value());
}

TEST_F(StoreTest, EmployeeShiftsCarryTheEmployeesPosition)
{
    const qint64 ann = insertEmployee(*db, "Ann", "Chef's Assistant");
    const qint64 bob = insertEmployee(*db, "Bob", "Waiter");
    insertShift(*db, Weekday::Monday, ann, "09:00:00 AM", "11:00:00 AM");
    insertShift(*db, Weekday::Monday, ann, "01:00:00 PM", "03:30:00 PM");
    insertShift(*db, Weekday::Monday, bob, "09:00:00 AM", "05:00:00 PM");
    insertShift(*db, Weekday::Tuesday, ann, "07:00:00 AM", "08:00:00 AM");

    auto shifts = reportEmployeeShifts(*db, Weekday::Monday, ann);
    ASSERT_EQ(shifts.size(), 2u);
    std::sort(shifts.begin(), shifts.end(), [](const auto& a, const auto& b) { return a.timeIn < b.timeIn; });
    EXPECT_EQ(shifts[0].timeIn, QTime(9, 0));
    EXPECT_EQ(shifts[0].timeOut, QTime(11, 0));
    EXPECT_EQ(shifts[1].timeIn, QTime(13, 0));
    EXPECT_EQ(shifts[1].timeOut, QTime(15, 30));
    for (const auto& shift : shifts)
        EXPECT_EQ(shift.position, "Chef's Assistant");

    const auto employees = reportEmployees(*db);
    ASSERT_EQ(employees.size(), 2u);
    EXPECT_EQ(employees[0].id, ann);
    EXPECT_EQ(employees[1].id, bob);
    EXPECT_TRUE(reportEmployeeShifts(*db, Weekday::Wednesday, ann).empty());
}
