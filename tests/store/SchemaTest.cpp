// The roster's tables on both stores: names in any case, the collation, the time order and the
// identifiers.
#include "tests/store/StoreFixture.h"

#include "store/Employees.h"
#include "store/ReportQueries.h"
#include "store/Shifts.h"

using namespace store;

namespace {

class SchemaTest : public store_testing::StoreTest {};
ON_BOTH_STORES(SchemaTest);

}  // namespace

TEST_P(SchemaTest, MixedCaseTableAndColumnNamesReachTheSameObjects)
{
    db->execute("INSERT INTO TBLEMPLOYEE (FLDNAME,FLDPOSITION) VALUES ('Ann','Cook')");
    db->execute("insert into tblshiftmonday (FldEmpId,FLDTIMEIN,fldtimeout) values ('1','09:00:00','10:00:00')");

    const Rows employees = db->query("select FLDID, fldName, FldPosition from tblemployee");
    ASSERT_EQ(employees.size(), 1u);
    EXPECT_EQ(employees[0].value("fldname").toString(), "Ann");
    EXPECT_EQ(employees[0].value("FLDPOSITION").toString(), "Cook");

    const Rows shifts = db->query("select * from QRYMONDAY where FLDEMPID=1");
    ASSERT_EQ(shifts.size(), 1u);
    EXPECT_EQ(shifts[0].value("fldTimeIn").toString(), "09:00:00");
    EXPECT_EQ(shifts[0].value("FLDTIMEOUT").toString(), "10:00:00");
    EXPECT_EQ(shifts[0].value("fldposition").toString(), "Cook");
    EXPECT_EQ(rowCount("tblShiftMonday"), 1);
}

TEST_P(SchemaTest, NamesAreOrderedWithoutRegardToCase)
{
    // ASCII letters fold to lower case and then every character counts by its code, whatever
    // order the server's language would give punctuation and letters beyond ASCII.
    const QString umlaut = QString::fromUtf8("\xc3\xa4") + "b";
    for (const QString& name : {"carol", "Bob", "alice", "Dave", "a{b", "a_b", "A-b", "ab1", "AB", "Zed", "z0"})
        insertEmployee(*db, name, "Staff");
    insertEmployee(*db, umlaut, "Staff");
    const QStringList expected{"A-b", "a_b", "AB", "ab1", "alice", "a{b", "Bob", "carol", "Dave", "z0", "Zed", umlaut};
    QStringList names;
    for (const EmployeeEntry& e : listEmployees(*db))
        names.append(e.name);
    EXPECT_EQ(names, expected);

    names.clear();
    for (const ReportEmployee& e : reportEmployees(*db))
        names.append(e.name);
    EXPECT_EQ(names, expected);
}

TEST_P(SchemaTest, MidnightSortsFirstAndNoonAfterTheMorning)
{
    const qint64 ann = insertEmployee(*db, "Ann", "Cook");
    insertShift(*db, Weekday::Friday, ann, "11:00:00 PM", "11:30:00 PM");
    insertShift(*db, Weekday::Friday, ann, "01:00:00 AM", "02:00:00 AM");
    insertShift(*db, Weekday::Friday, ann, "12:00:00 PM", "01:00:00 PM");
    insertShift(*db, Weekday::Friday, ann, "12:00:00 AM", "12:30:00 AM");

    QStringList order;
    for (const ShiftListEntry& shift : listShifts(*db, Weekday::Friday))
        order.append(shift.timeIn);
    EXPECT_EQ(order, (QStringList{"12:00:00 AM", "1:00:00 AM", "12:00:00 PM", "11:00:00 PM"}));
    EXPECT_EQ(dayStart(*db, Weekday::Friday), QTime(0, 0));
    EXPECT_EQ(dayEnd(*db, Weekday::Friday), QTime(23, 30));
}

TEST_P(SchemaTest, IdentifiersAreNeverReusedAfterDelete)
{
    const qint64 first = insertEmployee(*db, "A", "x");
    const qint64 second = insertEmployee(*db, "B", "x");
    EXPECT_GT(second, first);
    deleteEmployee(*db, second);
    const qint64 third = insertEmployee(*db, "C", "x");
    EXPECT_GT(third, second);

    const qint64 shift = insertShift(*db, Weekday::Sunday, first, "09:00:00 AM", "10:00:00 AM");
    deleteShift(*db, Weekday::Sunday, shift);
    EXPECT_GT(insertShift(*db, Weekday::Sunday, first, "09:00:00 AM", "10:00:00 AM"), shift);

    // The identifiers the inserts report are those the list reads back.
    std::vector<qint64> listed;
    for (const EmployeeEntry& e : listEmployees(*db))
        listed.push_back(e.id);
    EXPECT_EQ(listed, (std::vector<qint64>{first, third}));
}
