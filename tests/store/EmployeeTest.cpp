// Employee records: text stored exactly as typed, the look-up, and the delete cascade.
#include "tests/store/StoreFixture.h"

#include "store/Employees.h"
#include "store/ReportQueries.h"
#include "store/Shifts.h"
#include "store/StoreError.h"

using namespace store;

namespace {

class EmployeeTest : public store_testing::StoreTest {};
ON_BOTH_STORES(EmployeeTest);

}  // namespace

TEST_P(EmployeeTest, ApostrophesUnicodeAndStatementTextAreStoredAsTyped)
{
    const std::vector<std::pair<QString, QString>> typed{
        {"O'Brien", "Chef's Assistant"},
        {QString::fromUtf8("Zoë Ångström-Łukasz 李小龍"), QString::fromUtf8("Küchenhilfe ☕")},
        {"x'); delete from tblEmployee; --", "''"},
        {"  ", "\"quoted\" \\ back"},
        // A backslash before the apostrophe must not turn the doubled apostrophe into an escape.
        {"back\\'); delete from tblEmployee; --", "\\"},
    };
    for (const auto& [name, position] : typed)
        insertEmployee(*db, name, position);

    ASSERT_EQ(rowCount("tblEmployee"), static_cast<int>(typed.size()));
    for (const auto& [name, position] : typed) {
        const auto id = findEmployee(*db, name, position);
        ASSERT_TRUE(id.has_value()) << name.toStdString();
        const Rows row = db->query("select fldName, fldPosition from tblEmployee where fldID=" + QString::number(*id));
        ASSERT_EQ(row.size(), 1u);
        EXPECT_EQ(row[0].value(0).toString(), name);
        EXPECT_EQ(row[0].value(1).toString(), position);
    }

    QStringList listed;
    for (const EmployeeEntry& e : listEmployees(*db))
        listed.append(e.name);
    EXPECT_TRUE(listed.contains("O'Brien"));
    EXPECT_TRUE(listed.contains(QString::fromUtf8("Zoë Ångström-Łukasz 李小龍")));
}

TEST_P(EmployeeTest, LookupMatchesNameAndPositionTogether)
{
    const qint64 ann = insertEmployee(*db, "Ann Lee", "Cook");
    insertEmployee(*db, "Ann Lee2", "Cook");
    EXPECT_EQ(findEmployee(*db, "Ann Lee", "Cook"), ann);
    EXPECT_EQ(findEmployee(*db, "ann lee", "COOK"), ann);  // names compare without regard to case
    EXPECT_FALSE(findEmployee(*db, "Ann Lee", "Waiter").has_value());
    EXPECT_FALSE(findEmployee(*db, "Ann", "Cook").has_value());
    EXPECT_FALSE(findEmployee(*db, "Ann Lee' or '1'='1", "Cook").has_value());
}

TEST_P(EmployeeTest, DeleteCascadeRemovesOnlyThatEmployeesShiftsOnEveryWeekday)
{
    const qint64 gone = insertEmployee(*db, "Gone", "Cook");
    const qint64 kept = insertEmployee(*db, "Kept", "Cook");
    for (Weekday day : allWeekdays) {
        insertShift(*db, day, gone, "09:00:00 AM", "10:00:00 AM");
        insertShift(*db, day, gone, "01:00:00 PM", "02:00:00 PM");
        insertShift(*db, day, kept, "09:00:00 AM", "10:00:00 AM");
    }

    deleteEmployee(*db, gone);
    for (Weekday day : allWeekdays)
        deleteEmployeeShifts(*db, day, gone);

    const auto employees = listEmployees(*db);
    ASSERT_EQ(employees.size(), 1u);
    EXPECT_EQ(employees[0].id, kept);
    for (Weekday day : allWeekdays) {
        EXPECT_EQ(rowCount(shiftTableName(day)), 1) << weekdayCaption(day).toStdString();
        const auto shifts = listShifts(*db, day);
        ASSERT_EQ(shifts.size(), 1u);
        EXPECT_EQ(shifts[0].employeeName, "Kept");
    }
}

TEST_P(EmployeeTest, ShiftsOfADeletedEmployeeStayOutOfTheListsUntilTheirOwnDelete)
{
    // A cascade whose shift deletes failed leaves orphans behind; they must not show up
    // under anyone's name.
    const qint64 gone = insertEmployee(*db, "Gone", "Cook");
    insertShift(*db, Weekday::Monday, gone, "09:00:00 AM", "10:00:00 AM");
    deleteEmployee(*db, gone);
    EXPECT_TRUE(listShifts(*db, Weekday::Monday).empty());
    EXPECT_TRUE(reportEmployeeShifts(*db, Weekday::Monday, gone).empty());
    deleteEmployeeShifts(*db, Weekday::Monday, gone);
    EXPECT_EQ(rowCount("tblShiftMonday"), 0);
}
